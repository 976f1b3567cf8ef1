#include "platform/control/udp_socket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace control {

namespace {

// Larger than any IPv4 UDP payload, so a datagram is never cut short when it is taken.
constexpr std::size_t kMaxDatagram = 65536;

UniqueFd NewSocket() {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        throw SocketError(std::string("cannot create a UDP socket: ") + std::strerror(errno));
    }
    return fd;
}

}  // namespace

sockaddr_in LoopbackAddress(std::uint16_t port) {
    return Ipv4Endpoint(kLoopbackIpv4, port);
}

sockaddr_in Ipv4Endpoint(Ipv4Address address, std::uint16_t port) {
    sockaddr_in endpoint{};
    endpoint.sin_family = AF_INET;
    endpoint.sin_port = htons(port);
    endpoint.sin_addr.s_addr = htonl(address);
    return endpoint;
}

Ipv4Address AddressOf(const sockaddr_in& endpoint) {
    return ntohl(endpoint.sin_addr.s_addr);
}

std::uint16_t PortOf(const sockaddr_in& endpoint) {
    return ntohs(endpoint.sin_port);
}

std::string EndpointText(const sockaddr_in& endpoint) {
    return Ipv4Text(AddressOf(endpoint)) + ":" + std::to_string(PortOf(endpoint));
}

UdpSocket UdpSocket::Bind(const BindOptions& options) {
    UniqueFd fd = NewSocket();
    const sockaddr_in address = Ipv4Endpoint(options.address, options.port);
    const std::string where = EndpointText(address);
    const int on = 1;
    if (options.broadcast &&
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        throw SocketError("cannot allow broadcasts from " + where + ": " + std::strerror(errno));
    }
    if (!options.interfaceName.empty() &&
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_BINDTODEVICE, options.interfaceName.c_str(),
                     static_cast<socklen_t>(options.interfaceName.size())) != 0) {
        throw SocketError("cannot bind to the interface " + options.interfaceName + ": " +
                          std::strerror(errno));
    }
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == EADDRINUSE) {
            throw SocketError(where + " is in use by another program");
        }
        throw SocketError("cannot listen on " + where + ": " + std::strerror(errno));
    }
    return UdpSocket(std::move(fd));
}

UdpSocket UdpSocket::BindLoopback(std::uint16_t port) {
    return Bind(BindOptions{kLoopbackIpv4, port, {}, false});
}

UdpSocket UdpSocket::ForSending() {
    return UdpSocket(NewSocket());
}

std::uint16_t UdpSocket::LocalPort() const {
    return PortOf(LocalEndpoint());
}

sockaddr_in UdpSocket::LocalEndpoint() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return sockaddr_in{};
    }
    return address;
}

bool UdpSocket::Connect(const sockaddr_in& to) {
    int result = 0;
    do {
        result = ::connect(m_fd.Get(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

namespace {

std::mutex g_sentMutex;
std::map<std::uint16_t, std::uint64_t> g_sentTo;

}  // namespace

bool UdpSocket::SendTo(const sockaddr_in& to, std::span<const std::uint8_t> bytes) const {
    ssize_t sent = 0;
    do {
        sent = ::sendto(m_fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (sent < 0 && errno == EINTR);
    const bool whole = sent == static_cast<ssize_t>(bytes.size());
    if (whole) {
        std::lock_guard lock(g_sentMutex);
        ++g_sentTo[ntohs(to.sin_port)];
    }
    return whole;
}

bool UdpSocket::Send(std::span<const std::uint8_t> bytes) const {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(m_fd.Get(), reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
        return false;
    }
    ssize_t sent = -1;
    for (int attempt = 0; attempt < 2 && sent < 0; ++attempt) {
        // An ICMP refusal of an earlier datagram waits on the socket as its error and would be
        // handed to this send.
        int pending = 0;
        socklen_t size = sizeof pending;
        ::getsockopt(m_fd.Get(), SOL_SOCKET, SO_ERROR, &pending, &size);
        do {
            sent = ::send(m_fd.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        if (sent < 0 && errno != ECONNREFUSED) {
            break;
        }
    }
    const bool whole = sent == static_cast<ssize_t>(bytes.size());
    if (whole) {
        std::lock_guard lock(g_sentMutex);
        ++g_sentTo[PortOf(peer)];
    }
    return whole;
}

std::uint64_t DatagramsSentTo(std::uint16_t port) {
    std::lock_guard lock(g_sentMutex);
    const auto found = g_sentTo.find(port);
    return found == g_sentTo.end() ? 0 : found->second;
}

std::optional<Datagram> UdpSocket::TryReceive() const {
    Datagram datagram;
    datagram.bytes.resize(kMaxDatagram);
    for (;;) {
        socklen_t length = sizeof datagram.from;
        const ssize_t got =
            ::recvfrom(m_fd.Get(), datagram.bytes.data(), datagram.bytes.size(), MSG_DONTWAIT,
                       reinterpret_cast<sockaddr*>(&datagram.from), &length);
        if (got >= 0) {
            datagram.bytes.resize(static_cast<std::size_t>(got));
            return datagram;
        }
        // A pending error (an earlier send's refusal) is taken by this call; look again.
        if (errno == EINTR || errno == ECONNREFUSED) {
            continue;
        }
        return std::nullopt;
    }
}

std::size_t UdpSocket::DiscardWaiting() const {
    std::size_t dropped = 0;
    while (TryReceive()) {
        ++dropped;
    }
    return dropped;
}

bool UdpSocket::HasWaiting() const {
    pollfd fd{m_fd.Get(), POLLIN, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN) != 0;
}

}  // namespace control
