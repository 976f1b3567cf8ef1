// The sockets of the board network as the configuration sets them up: bound to this
// workstation's one address on that network (and to its interface when one is named), never to
// every address, and allowed to broadcast when the boards are reached by broadcast.
#pragma once

#include <cstdint>

#include "platform/control/configuration/config.h"
#include "platform/control/udp_socket.h"

namespace control {

// This workstation's address on the board network: the configured one; else the named
// interface's IPv4 address; else 127.0.0.1 for a loopback destination; else the address the
// system would send to the destination from. Throws SocketError when none can be had.
Ipv4Address LocalAddressOf(const BoardNetworkConfig& network);

// A socket at LocalAddressOf(network) and the port (0: one the system chooses). Throws
// SocketError.
UdpSocket OpenBoardNetworkSocket(const BoardNetworkConfig& network, std::uint16_t port);

}  // namespace control
