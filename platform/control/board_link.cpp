#include "platform/control/board_link.h"

namespace control {

BoardLink::BoardLink(std::uint16_t statusPort, ReportHandler onReport)
    : m_socket(UdpSocket::BindLoopback(statusPort)),
      m_port(m_socket.LocalPort()),
      m_onReport(std::move(onReport)) {
    m_loop = std::make_unique<SocketLoop>(m_socket.Fd(),
                                          SocketLoop::Handlers{[this] { TakeWaiting(); }, {}, {}});
}

BoardLink::~BoardLink() {
    Stop();
}

void BoardLink::Stop() {
    if (m_loop) {
        m_loop->Stop();
    }
}

bool BoardLink::RequestRefresh(std::uint16_t boardsPort, std::int32_t board) {
    if (boardsPort == 0) {
        return false;
    }
    return m_socket.SendTo(LoopbackAddress(boardsPort), EncodeRefreshRequest(board));
}

void BoardLink::TakeWaiting() {
    while (const auto datagram = m_socket.TryReceive()) {
        // Anything else on the port is a stray sender's business, not a board's report.
        if (const auto report = DecodeBoardReport(datagram->bytes)) {
            ++m_reports;
            if (m_onReport) {
                m_onReport(*report);
            }
        } else {
            ++m_ignored;
        }
    }
}

}  // namespace control
