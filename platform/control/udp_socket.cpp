#include "platform/control/udp_socket.h"

#include <arpa/inet.h>
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
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

UdpSocket UdpSocket::BindLoopback(std::uint16_t port) {
    UniqueFd fd = NewSocket();
    const sockaddr_in address = LoopbackAddress(port);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw SocketError("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                          std::strerror(errno));
    }
    return UdpSocket(std::move(fd));
}

UdpSocket UdpSocket::ForSending() {
    return UdpSocket(NewSocket());
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
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

}  // namespace control
