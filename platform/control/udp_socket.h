// A UDP socket of the simulated board network. Everything stays on the loopback address, so
// nothing the simulation sends or listens for is reachable from another machine.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "platform/control/unique_fd.h"

namespace control {

class SocketError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Datagrams this process has sent whole to 127.0.0.1 at the port, by any socket: what a listener
// there will have received once it has caught up (the scenario player keeps step this way).
std::uint64_t DatagramsSentTo(std::uint16_t port);

// 127.0.0.1 at the port.
sockaddr_in LoopbackAddress(std::uint16_t port);

struct Datagram {
    std::vector<std::uint8_t> bytes;
    sockaddr_in from{};
};

class UdpSocket {
  public:
    // Listens on 127.0.0.1:port; port 0 lets the system choose one (see LocalPort). Throws
    // SocketError naming the port when it cannot.
    static UdpSocket BindLoopback(std::uint16_t port);
    // For sending only; the system gives it a port at the first send. Throws SocketError.
    static UdpSocket ForSending();

    int Fd() const { return m_fd.Get(); }
    std::uint16_t LocalPort() const;

    // The whole block as one datagram; false when it did not go out whole.
    bool SendTo(const sockaddr_in& to, std::span<const std::uint8_t> bytes) const;
    // Takes one waiting datagram without blocking; nothing when none waits.
    std::optional<Datagram> TryReceive() const;

  private:
    explicit UdpSocket(UniqueFd fd) : m_fd(std::move(fd)) {}
    UniqueFd m_fd;
};

}  // namespace control
