// The Board Status Server's end of the board network: reports taken from the status socket
// become the server's reports, and RetrieveBoardRemapInfo becomes a refresh request to the
// boards at the reboot port.
#include <cstdio>

#include "platform/control/system.h"

namespace control {

std::uint16_t System::ConnectBoardNetwork(std::string* error) {
    std::shared_ptr<BoardStatusHub> hub;
    std::uint16_t statusPort = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) {
            if (error != nullptr) {
                *error = "the simulated control system is not running";
            }
            return 0;
        }
        hub = m_boards;
        statusPort = m_config->statusPort;
    }
    auto onReport = [weak = std::weak_ptr<BoardStatusHub>(hub)](const BoardReport& report) {
        if (const auto alive = weak.lock()) {
            alive->AcceptBoardReport(report.board, report.record);
        }
    };
    std::shared_ptr<BoardLink> link;
    try {
        link = std::make_shared<BoardLink>(statusPort, onReport);
    } catch (const SocketError& e) {
        if (statusPort == 0) {
            if (error != nullptr) {
                *error = e.what();
            }
            return 0;
        }
        // Someone else holds the port (a second program, a stale run). The program keeps running
        // on a free port; boards that report to the configured port are not heard meanwhile.
        try {
            link = std::make_shared<BoardLink>(0, onReport);
        } catch (const SocketError& again) {
            if (error != nullptr) {
                *error = again.what();
            }
            return 0;
        }
        std::fprintf(stderr,
                     "tavora: %s; board reports are taken at 127.0.0.1:%u instead (boards that "
                     "report to the configured port are not heard)\n",
                     e.what(), static_cast<unsigned>(link->Port()));
    }
    hub->SetRefreshHandler([this, weak = std::weak_ptr<BoardLink>(link)](std::int32_t board) {
        const auto alive = weak.lock();
        const auto config = Snapshot().config;
        // Read each time: a reloaded configuration may name another reboot port.
        if (alive && config) {
            alive->RequestRefresh(config->rebootPort, board);
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

}  // namespace control
