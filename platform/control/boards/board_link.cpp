#include "platform/control/boards/board_link.h"

#include "platform/control/boards/board_network_socket.h"

namespace control {

BoardLink::BoardLink(const BoardNetworkConfig& network, std::uint16_t statusPort, Handlers handlers)
    : m_socket(OpenBoardNetworkSocket(network, statusPort)),
      m_port(m_socket.LocalPort()),
      m_destination(network.destination),
      m_handlers(std::move(handlers)) {
    m_loop = std::make_unique<SocketLoop>(
        m_socket.Fd(), SocketLoop::Handlers{[this](std::size_t) { TakeWaiting(); }, {}, {}});
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
    return m_socket.SendTo(Ipv4Endpoint(m_destination, boardsPort), EncodeRefreshRequest(board));
}

void BoardLink::TakeWaiting() {
    while (const auto datagram = m_socket.TryReceive()) {
        // Anyone on the machine (or the network) can send here: only a board speaks for itself.
        const auto report = DecodeBoardReport(datagram->bytes);
        if (report && m_handlers.fromItsBoard && m_handlers.fromItsBoard(*report, datagram->from)) {
            ++m_reports;
            if (m_handlers.report) {
                m_handlers.report(*report);
            }
            continue;
        }
        ++m_refused;
        if (m_handlers.refused) {
            m_handlers.refused();
        }
    }
}

}  // namespace control
