#include "platform/control/socket_loop.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "platform/control/udp_socket.h"

namespace control {

SocketLoop::SocketLoop(int socketFd, Handlers handlers)
    : SocketLoop(std::vector<int>{socketFd}, std::move(handlers)) {}

SocketLoop::SocketLoop(std::vector<int> socketFds, Handlers handlers)
    : m_sockets(std::move(socketFds)),
      m_handlers(std::move(handlers)),
      m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (!m_wake.Valid()) {
        throw SocketError(std::string("cannot create a wake-up signal: ") + std::strerror(errno));
    }
    m_thread = std::thread([this] { Run(); });
}

SocketLoop::~SocketLoop() {
    Stop();
}

void SocketLoop::Stop() {
    m_stop = true;
    Wake();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SocketLoop::Wake() {
    const std::uint64_t one = 1;
    // A full counter already means "wake up", so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(m_wake.Get(), &one, sizeof one);
}

int SocketLoop::TimeoutMs() const {
    const auto due = m_handlers.nextDue ? m_handlers.nextDue() : std::nullopt;
    if (!due) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<long long>(left, INT_MAX));
}

void SocketLoop::Run() {
    std::vector<pollfd> fds;
    for (const int socket : m_sockets) {
        fds.push_back({socket, POLLIN, 0});
    }
    fds.push_back({m_wake.Get(), POLLIN, 0});
    while (!m_stop) {
        for (pollfd& fd : fds) {
            fd.revents = 0;
        }
        const int ready = ::poll(fds.data(), fds.size(), TimeoutMs());
        if (ready < 0 && errno != EINTR) {
            return;
        }
        if (ready > 0 && (fds.back().revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = ::read(m_wake.Get(), &count, sizeof count);
        }
        if (m_stop) {
            return;
        }
        for (std::size_t i = 0; ready > 0 && i < m_sockets.size(); ++i) {
            if ((fds[i].revents & (POLLIN | POLLERR)) != 0 && m_handlers.readable) {
                m_handlers.readable(i);
            }
        }
        if (m_handlers.nextDue && m_handlers.due) {
            const auto due = m_handlers.nextDue();
            if (due && *due <= Clock::now()) {
                m_handlers.due();
            }
        }
    }
}

}  // namespace control
