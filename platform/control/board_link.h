// The Board Status Server's end of the board network: a UDP socket on the loopback address where
// the boards' reports arrive (taken on a thread of its own), and the refresh requests it sends to
// the boards. The boards may live in another process (tav-boards) or in a test.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/control/board_wire.h"
#include "platform/control/socket_loop.h"
#include "platform/control/udp_socket.h"

namespace control {

class BoardLink {
  public:
    // Called on the link's thread for every well-formed report.
    using ReportHandler = std::function<void(const BoardReport& report)>;

    // Listens on 127.0.0.1:statusPort (0: a port the system chooses). Throws SocketError.
    BoardLink(std::uint16_t statusPort, ReportHandler onReport);
    ~BoardLink();
    BoardLink(const BoardLink&) = delete;
    BoardLink& operator=(const BoardLink&) = delete;

    std::uint16_t Port() const { return m_port; }
    // Asks the boards listening at 127.0.0.1:boardsPort to report (board, or -1 for all). The
    // request comes from the status socket, so the boards also learn where to report. False when
    // it did not go out.
    bool RequestRefresh(std::uint16_t boardsPort, std::int32_t board);
    // Reports taken and datagrams ignored so far.
    std::uint64_t ReportsReceived() const { return m_reports; }
    std::uint64_t DatagramsIgnored() const { return m_ignored; }

    void Stop();

  private:
    void TakeWaiting();

    UdpSocket m_socket;
    std::uint16_t m_port;
    ReportHandler m_onReport;
    std::atomic<std::uint64_t> m_reports{0};
    std::atomic<std::uint64_t> m_ignored{0};
    std::unique_ptr<SocketLoop> m_loop;  // last: its thread uses the members above
};

}  // namespace control
