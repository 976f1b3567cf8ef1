// The Board Status Server's end of the board network: reports taken from the status socket
// become the server's reports when they come from the board they name, and
// RetrieveBoardRemapInfo becomes a refresh request to the boards at the reboot port.
#include "platform/control/system.h"

namespace control {

namespace {

// Read at each report, so that a reloaded configuration's board addresses apply at once.
bool FromItsBoard(const Config& config, const BoardReport& report, const sockaddr_in& from) {
    const auto endpoint = ReportEndpointOf(config, report.board);
    return endpoint && AddressOf(from) == endpoint->address &&
           (endpoint->port == 0 || PortOf(from) == endpoint->port);
}

}  // namespace

std::uint16_t System::ConnectBoardNetwork(std::string* error) {
    std::shared_ptr<BoardStatusHub> hub;
    std::shared_ptr<const Config> config;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) {
            if (error != nullptr) {
                *error = "the simulated control system is not running";
            }
            return 0;
        }
        hub = m_boards;
        config = m_config;
    }
    const std::weak_ptr<BoardStatusHub> weakHub = hub;
    BoardLink::Handlers handlers;
    handlers.fromItsBoard = [this](const BoardReport& report, const sockaddr_in& from) {
        const auto current = Snapshot().config;
        return current && FromItsBoard(*current, report, from);
    };
    handlers.report = [weakHub](const BoardReport& report) {
        if (const auto alive = weakHub.lock()) {
            alive->AcceptBoardReport(report.board, report.record);
        }
    };
    handlers.refused = [weakHub] {
        if (const auto alive = weakHub.lock()) {
            alive->CountRefusedReport();
        }
    };
    std::shared_ptr<BoardLink> link;
    try {
        // A port someone else holds is not given up for another: boards report to the
        // configured one, so the server would never hear them (the caller tells the operator).
        link = std::make_shared<BoardLink>(config->boardNetwork, config->statusPort,
                                           std::move(handlers));
    } catch (const SocketError& e) {
        if (error != nullptr) {
            *error = e.what();
        }
        return 0;
    }
    hub->SetRefreshHandler([this, weak = std::weak_ptr<BoardLink>(link)](std::int32_t board) {
        const auto alive = weak.lock();
        const auto current = Snapshot().config;
        // Read each time: a reloaded configuration may name another reboot port.
        if (alive && current) {
            alive->RequestRefresh(current->rebootPort, board);
        }
    });
    std::shared_ptr<BoardLink> replaced;
    {
        std::lock_guard lock(m_mutex);
        replaced = std::exchange(m_link, link);
    }
    if (replaced) {
        replaced->Stop();
    }
    return link->Port();
}

std::uint16_t System::BoardStatusPort() const {
    std::lock_guard lock(m_mutex);
    return m_link ? m_link->Port() : 0;
}

std::string System::BoardStatusEndpoint() const {
    std::lock_guard lock(m_mutex);
    return m_link ? EndpointText(m_link->LocalEndpoint()) : std::string();
}

}  // namespace control
