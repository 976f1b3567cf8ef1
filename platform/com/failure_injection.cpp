#include "platform/com/runtime_state.h"

namespace com {

namespace {

std::optional<HRESULT> AsFailure(HRESULT hr) {
    return FAILED(hr) ? std::optional<HRESULT>(hr) : std::nullopt;
}

}  // namespace

void SetCoInitializeFailure(HRESULT hr) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.initFailure = AsFailure(hr);
}

void SetCoInitializeSecurityFailure(HRESULT hr) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.securityFailure = AsFailure(hr);
}

void SetCreateInstanceFailure(const CLSID& clsid, HRESULT hr) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    if (FAILED(hr)) {
        state.createFailures[clsid] = hr;
    } else {
        state.createFailures.erase(clsid);
    }
}

void ClearInjectedFailures() {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.initFailure.reset();
    state.securityFailure.reset();
    state.createFailures.clear();
}

void ResetForTests() {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.classes.clear();
    state.initFailure.reset();
    state.securityFailure.reset();
    state.createFailures.clear();
    state.securitySet = false;
    state.initialisedThreads = 0;
    detail::ThreadInitCount() = 0;
}

}  // namespace com
