// Waiting for datagrams on the loopback address within a bound, without sleeping.
#pragma once

#include <poll.h>

#include <chrono>
#include <optional>

#include "platform/control/udp_socket.h"

namespace control::testing {

// Long enough for a loaded machine, never reached when things work.
inline constexpr std::chrono::milliseconds kPatience{5000};

inline std::optional<Datagram> ReceiveWithin(const UdpSocket& socket,
                                             std::chrono::milliseconds timeout = kPatience) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto datagram = socket.TryReceive()) {
            return datagram;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd fd{socket.Fd(), POLLIN, 0};
        ::poll(&fd, 1, static_cast<int>(left.count()));
    }
}

}  // namespace control::testing
