// The runtime's process-wide state, shared by the files that implement runtime.h.
#pragma once

#include <map>
#include <mutex>
#include <optional>

#include "platform/com/runtime.h"

namespace com::detail {

struct RuntimeState {
    std::mutex mutex;
    int initialisedThreads = 0;
    bool securitySet = false;
    std::map<CLSID, ClassFactory> classes;
    std::optional<HRESULT> initFailure;
    std::optional<HRESULT> securityFailure;
    std::map<CLSID, HRESULT> createFailures;
};

RuntimeState& State();

// The calling thread's count of successful CoInitialize calls not yet undone.
int& ThreadInitCount();

}  // namespace com::detail
