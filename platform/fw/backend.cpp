#include "platform/fw/backend.h"

#include <atomic>
#include <stdexcept>

#include "platform/fw/message_queue.h"

namespace fw {

namespace {
std::atomic<Backend*> g_backend{nullptr};
}  // namespace

Backend& GetBackend() {
    Backend* backend = g_backend;
    if (backend == nullptr) {
        throw std::logic_error("no back end installed");
    }
    return *backend;
}

bool HasBackend() {
    return g_backend.load() != nullptr;
}

void InstallBackend(Backend* backend) {
    g_backend = backend;
    if (backend != nullptr) {
        TheMessageQueue().SetWakeHandler([backend] { backend->Wake(); });
    } else {
        TheMessageQueue().SetWakeHandler({});
    }
}

int GetSystemMetrics(int index) {
    return GetBackend().GetSystemMetrics(index);
}

}  // namespace fw
