#include "platform/com/task_memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace com {

namespace {

struct Tracker {
    std::mutex mutex;
    std::unordered_map<void*, std::size_t> live;
    std::size_t liveBytes = 0;
};

Tracker& TheTracker() {
    static Tracker tracker;
    return tracker;
}

}  // namespace

void* CoTaskMemAlloc(std::size_t bytes) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) {
        return nullptr;
    }
    auto& tracker = TheTracker();
    std::lock_guard lock(tracker.mutex);
    tracker.live.emplace(block, bytes);
    tracker.liveBytes += bytes;
    return block;
}

void CoTaskMemFree(void* block) {
    if (block == nullptr) {
        return;
    }
    {
        auto& tracker = TheTracker();
        std::lock_guard lock(tracker.mutex);
        const auto found = tracker.live.find(block);
        if (found == tracker.live.end()) {
            std::fprintf(stderr, "CoTaskMemFree: %p was not allocated by the task allocator\n",
                         block);
            std::abort();
        }
        tracker.liveBytes -= found->second;
        tracker.live.erase(found);
    }
    std::free(block);
}

char* TaskStrDup(std::string_view text) {
    auto* copy = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
    }
    return copy;
}

std::uint8_t* TaskMemDup(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return nullptr;
    }
    auto* copy = static_cast<std::uint8_t*>(CoTaskMemAlloc(bytes.size()));
    if (copy != nullptr) {
        std::memcpy(copy, bytes.data(), bytes.size());
    }
    return copy;
}

std::size_t TaskMemLiveBlocks() {
    auto& tracker = TheTracker();
    std::lock_guard lock(tracker.mutex);
    return tracker.live.size();
}

std::size_t TaskMemLiveBytes() {
    auto& tracker = TheTracker();
    std::lock_guard lock(tracker.mutex);
    return tracker.liveBytes;
}

}  // namespace com
