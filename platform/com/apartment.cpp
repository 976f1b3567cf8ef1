#include "platform/com/runtime_state.h"

namespace com {

namespace detail {

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

int& ThreadInitCount() {
    thread_local int count = 0;
    return count;
}

}  // namespace detail

HRESULT CoInitialize(void* /*reserved*/) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    if (state.initFailure) {
        return *state.initFailure;
    }
    int& count = detail::ThreadInitCount();
    if (count++ > 0) {
        return S_FALSE;
    }
    ++state.initialisedThreads;
    return S_OK;
}

void CoUninitialize() {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    int& count = detail::ThreadInitCount();
    if (count == 0) {
        return;
    }
    if (--count == 0 && --state.initialisedThreads == 0) {
        // The library is fully shut down, so a later start may choose its security again.
        state.securitySet = false;
    }
}

HRESULT CoInitializeSecurity(void* /*securityDescriptor*/, std::int32_t authServiceCount,
                             void* authServices, void* /*reserved1*/, std::uint32_t authnLevel,
                             std::uint32_t impLevel, void* /*authList*/,
                             std::uint32_t /*capabilities*/, void* /*reserved3*/) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    if (state.securityFailure) {
        return *state.securityFailure;
    }
    if (detail::ThreadInitCount() == 0) {
        return CO_E_NOTINITIALIZED;
    }
    if (state.securitySet) {
        return RPC_E_TOO_LATE;
    }
    if (authnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || impLevel > RPC_C_IMP_LEVEL_DELEGATE ||
        authServiceCount < -1 || (authServiceCount > 0 && authServices == nullptr)) {
        return E_INVALIDARG;
    }
    state.securitySet = true;
    return S_OK;
}

}  // namespace com
