#include "platform/control/boards/board_network_socket.h"

#include <ifaddrs.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

namespace control {

namespace {

Ipv4Address InterfaceAddress(const std::string& name) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        throw SocketError("cannot list the network interfaces: " +
                          std::string(std::strerror(errno)));
    }
    const std::unique_ptr<ifaddrs, void (*)(ifaddrs*)> owned(list, ::freeifaddrs);
    bool known = false;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_name == nullptr || name != entry->ifa_name) {
            continue;
        }
        known = true;
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            return AddressOf(*reinterpret_cast<const sockaddr_in*>(entry->ifa_addr));
        }
    }
    throw SocketError(known ? "the interface " + name + " has no IPv4 address"
                            : "there is no network interface " + name);
}

// The source address the routing table picks for the destination: a socket connected to it
// (which sends nothing) is given that address.
Ipv4Address RoutedAddress(const BoardNetworkConfig& network) {
    UdpSocket probe = UdpSocket::ForSending();
    const int on = 1;
    ::setsockopt(probe.Fd(), SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    const sockaddr_in destination = Ipv4Endpoint(network.destination, 9);
    if (!probe.Connect(destination)) {
        throw SocketError("no route to the board network at " + Ipv4Text(network.destination) +
                          ": " + std::strerror(errno));
    }
    return AddressOf(probe.LocalEndpoint());
}

}  // namespace

Ipv4Address LocalAddressOf(const BoardNetworkConfig& network) {
    if (network.localAddress) {
        return *network.localAddress;
    }
    if (!network.interfaceName.empty()) {
        return InterfaceAddress(network.interfaceName);
    }
    if (IsLoopbackIpv4(network.destination)) {
        return kLoopbackIpv4;
    }
    return RoutedAddress(network);
}

UdpSocket OpenBoardNetworkSocket(const BoardNetworkConfig& network, std::uint16_t port) {
    return UdpSocket::Bind(
        BindOptions{LocalAddressOf(network), port, network.interfaceName, network.broadcast});
}

}  // namespace control
