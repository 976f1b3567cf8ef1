// The Board Status Server's end of the board network: a UDP socket at this workstation's address
// on the board network where the boards' reports arrive (taken on a thread of its own), and the
// refresh requests it sends to the boards. The boards may live in another process (tav-boards),
// in a test, or on a real network. A report is believed only from the endpoint of the board it
// names; every other datagram is refused and counted.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/control/boards/board_wire.h"
#include "platform/control/configuration/config.h"
#include "platform/control/socket_loop.h"
#include "platform/control/udp_socket.h"

namespace control {

class BoardLink {
  public:
    struct Handlers {
        // Whether the report comes from the endpoint of the board it names.
        std::function<bool(const BoardReport& report, const sockaddr_in& from)> fromItsBoard;
        // Called on the link's thread for every report believed.
        std::function<void(const BoardReport& report)> report;
        // Called on the link's thread for every datagram refused.
        std::function<void()> refused;
    };

    // Listens at LocalAddressOf(network):statusPort (0: a port the system chooses). Throws
    // SocketError; a port held by another program is said so.
    BoardLink(const BoardNetworkConfig& network, std::uint16_t statusPort, Handlers handlers);
    ~BoardLink();
    BoardLink(const BoardLink&) = delete;
    BoardLink& operator=(const BoardLink&) = delete;

    std::uint16_t Port() const { return m_port; }
    sockaddr_in LocalEndpoint() const { return m_socket.LocalEndpoint(); }
    // Asks the boards listening at the destination's boardsPort to report (board, or -1 for
    // all). The request comes from the status socket, so the boards also learn where to report.
    // False when it did not go out.
    bool RequestRefresh(std::uint16_t boardsPort, std::int32_t board);
    // Reports believed, and datagrams refused (not a report, or not from the board it names).
    std::uint64_t ReportsReceived() const { return m_reports; }
    std::uint64_t DatagramsRefused() const { return m_refused; }

    void Stop();

  private:
    void TakeWaiting();

    UdpSocket m_socket;
    std::uint16_t m_port;
    Ipv4Address m_destination;
    Handlers m_handlers;
    std::atomic<std::uint64_t> m_reports{0};
    std::atomic<std::uint64_t> m_refused{0};
    std::unique_ptr<SocketLoop> m_loop;  // last: its thread uses the members above
};

}  // namespace control
