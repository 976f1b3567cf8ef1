// The Board Status Server's state: one remap-information record per board and the sinks advised
// of reports. Reports may arrive on any thread (the network side calls AcceptBoardReport); the
// sinks are always called on the user-interface thread through its message queue.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/control/interfaces.h"
#include "platform/control/sink_interfaces.h"

namespace control {

using BoardRecord = std::array<std::uint8_t, kBoardInfoSize>;

class BoardStatusHub : public std::enable_shared_from_this<BoardStatusHub> {
  public:
    // Asked to have boards report again (kAllBoards or one board). The network side installs it;
    // without one the hub reports the records it holds.
    using RefreshHandler = std::function<void(std::int32_t board)>;

    explicit BoardStatusHub(std::vector<BoardRecord> initial);

    // Keeps existing records when the board count changes with a new configuration.
    void Resize(std::vector<BoardRecord> initial);
    std::size_t BoardCount() const;

    // The sink must offer IBoardNotifySink (else CONNECT_E_CANNOTCONNECT).
    com::HRESULT Advise(com::IUnknown* sink, std::int32_t board, std::int32_t types,
                        std::uint32_t& cookie);
    // CONNECT_E_NOCONNECTION unless the cookie names a connection made for that board (or board
    // is kAllBoards16).
    com::HRESULT Unadvise(std::uint16_t board, std::uint32_t cookie);
    std::size_t ConnectionCount() const;
    void ReleaseAll();

    struct Status {
        BoardRecord record{};
        bool reported = false;
        std::uint32_t reportCount = 0;
    };
    // False when the board does not exist.
    bool Get(std::uint16_t board, Status& status) const;

    // Any thread: a board reports its record; every advised sink hears of it.
    void AcceptBoardReport(std::uint16_t board, const BoardRecord& record);
    // Any thread: a datagram at the status port was not believed (not a report, or not from the
    // board it names).
    void CountRefusedReport();
    std::uint64_t RefusedReportCount() const;
    // Has the board (or all) report again: through the refresh handler, or from the records held.
    void Retrieve(std::int32_t board);
    void SetRefreshHandler(RefreshHandler handler);

  private:
    struct Connection {
        com::ComPtr<IBoardNotifySink> sink;
        std::int32_t board;
        std::int32_t types;
    };
    void Post(std::uint16_t board, const BoardRecord& record);
    void Deliver(std::uint16_t board, const BoardRecord& record);

    mutable std::mutex m_mutex;
    std::vector<Status> m_boards;
    std::map<std::uint32_t, Connection> m_connections;
    std::uint32_t m_nextCookie = 1;
    RefreshHandler m_refresh;
    std::atomic<std::uint64_t> m_refused{0};
};

}  // namespace control
