#include "platform/com/runtime_state.h"

namespace com {

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, std::uint32_t clsctx, const IID& iid,
                         void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    ClassFactory factory;
    {
        auto& state = detail::State();
        std::lock_guard lock(state.mutex);
        if (detail::ThreadInitCount() == 0) {
            return CO_E_NOTINITIALIZED;
        }
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (const auto failure = state.createFailures.find(clsid);
            failure != state.createFailures.end()) {
            return failure->second;
        }
        const auto found = state.classes.find(clsid);
        if (found == state.classes.end() || (clsctx & CLSCTX_LOCAL_SERVER) == 0) {
            return REGDB_E_CLASSNOTREG;
        }
        factory = found->second;
    }
    // Outside the lock: a factory may itself create objects.
    const HRESULT hr = factory(iid, object);
    if (FAILED(hr)) {
        *object = nullptr;
    }
    return hr;
}

void RegisterClass(const CLSID& clsid, ClassFactory factory) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.classes[clsid] = std::move(factory);
}

bool RevokeClass(const CLSID& clsid) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    return state.classes.erase(clsid) > 0;
}

void RevokeAllClasses() {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    state.classes.clear();
}

bool IsClassRegistered(const CLSID& clsid) {
    auto& state = detail::State();
    std::lock_guard lock(state.mutex);
    return state.classes.contains(clsid);
}

}  // namespace com
