// A UDP socket of the board network. By default everything stays on the loopback address, so
// nothing the simulation sends or listens for is reachable from another machine; a configured
// board network binds each socket to the one address (and interface) it is told.
#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/control/configuration/config.h"

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
sockaddr_in Ipv4Endpoint(Ipv4Address address, std::uint16_t port);
Ipv4Address AddressOf(const sockaddr_in& endpoint);
std::uint16_t PortOf(const sockaddr_in& endpoint);
// "127.0.0.1:5151".
std::string EndpointText(const sockaddr_in& endpoint);

struct Datagram {
    std::vector<std::uint8_t> bytes;
    sockaddr_in from{};
};

struct BindOptions {
    Ipv4Address address = kLoopbackIpv4;
    std::uint16_t port = 0;     // 0: the system chooses one
    std::string interfaceName;  // bound to this interface only (SO_BINDTODEVICE); empty: none
    bool broadcast = false;     // may send to a broadcast address (SO_BROADCAST)
};

class UdpSocket {
  public:
    // Listens on the address and port (see LocalPort). Throws SocketError naming the endpoint
    // when it cannot; a port another socket holds is said to be in use by another program.
    static UdpSocket Bind(const BindOptions& options);
    // Listens on 127.0.0.1:port; port 0 lets the system choose one.
    static UdpSocket BindLoopback(std::uint16_t port);
    // For sending only; the system gives it a port at the first send. Throws SocketError.
    static UdpSocket ForSending();

    int Fd() const { return m_fd.Get(); }
    std::uint16_t LocalPort() const;
    sockaddr_in LocalEndpoint() const;

    // From now on sends go to `to` and only datagrams from `to` are taken in: the system drops
    // anything else that arrives. False (errno set) when it cannot.
    bool Connect(const sockaddr_in& to);
    // The whole block as one datagram; false when it did not go out whole.
    bool SendTo(const sockaddr_in& to, std::span<const std::uint8_t> bytes) const;
    // To the connected endpoint. A refusal reported for an earlier datagram (nobody listened)
    // is not this one's failure: it is cleared, and the send tried once more.
    bool Send(std::span<const std::uint8_t> bytes) const;
    // Takes one waiting datagram without blocking; nothing when none waits.
    std::optional<Datagram> TryReceive() const;
    // Takes and drops whatever waits; the number of datagrams dropped.
    std::size_t DiscardWaiting() const;
    bool HasWaiting() const;

  private:
    explicit UdpSocket(UniqueFd fd) : m_fd(std::move(fd)) {}
    UniqueFd m_fd;
};

}  // namespace control
