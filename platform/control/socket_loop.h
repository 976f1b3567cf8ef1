// A thread that sleeps until one of its sockets (or other descriptors) has data, a deadline passes
// or it is stopped: the receivers of the board network and the configuration watcher never spin,
// and stop at once when asked.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "platform/control/unique_fd.h"

namespace control {

class SocketLoop {
  public:
    using Clock = std::chrono::steady_clock;
    struct Handlers {
        // The socket at that place of the list given has data waiting.
        std::function<void(std::size_t socket)> readable;
        // Asked before every wait: when `due` must next run (nothing: no deadline).
        std::function<std::optional<Clock::time_point>()> nextDue;
        std::function<void()> due;
    };

    // Starts the thread. Throws SocketError when the wake-up signal cannot be had.
    SocketLoop(int socketFd, Handlers handlers);
    SocketLoop(std::vector<int> socketFds, Handlers handlers);
    ~SocketLoop();
    SocketLoop(const SocketLoop&) = delete;
    SocketLoop& operator=(const SocketLoop&) = delete;

    // Ends the thread and waits for it; never from the loop's own handlers.
    void Stop();
    // The next deadline may have changed; the thread asks again.
    void Wake();

  private:
    void Run();
    int TimeoutMs() const;

    std::vector<int> m_sockets;
    Handlers m_handlers;
    UniqueFd m_wake;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace control
