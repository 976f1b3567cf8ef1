#include "platform/control/boards/board_status_hub.h"

#include "platform/fw/message_queue.h"

namespace control {

BoardStatusHub::BoardStatusHub(std::vector<BoardRecord> initial) {
    Resize(std::move(initial));
}

void BoardStatusHub::Resize(std::vector<BoardRecord> initial) {
    std::lock_guard lock(m_mutex);
    const std::size_t kept = std::min(m_boards.size(), initial.size());
    m_boards.resize(initial.size());
    for (std::size_t i = kept; i < initial.size(); ++i) {
        m_boards[i] = Status{initial[i], false, 0};
    }
}

std::size_t BoardStatusHub::BoardCount() const {
    std::lock_guard lock(m_mutex);
    return m_boards.size();
}

com::HRESULT BoardStatusHub::Advise(com::IUnknown* sink, std::int32_t board, std::int32_t types,
                                    std::uint32_t& cookie) {
    com::ComPtr<IBoardNotifySink> typed;
    if (FAILED(sink->QueryInterface(IBoardNotifySink::kIid, typed.ReleaseAndGetVoidAddressOf()))) {
        return com::CONNECT_E_CANNOTCONNECT;
    }
    std::lock_guard lock(m_mutex);
    cookie = m_nextCookie++;
    if (m_nextCookie == 0) {
        m_nextCookie = 1;
    }
    m_connections.emplace(cookie, Connection{std::move(typed), board, types});
    return com::S_OK;
}

com::HRESULT BoardStatusHub::Unadvise(std::uint16_t board, std::uint32_t cookie) {
    Connection gone;
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(cookie);
        if (found == m_connections.end() ||
            (board != kAllBoards16 && found->second.board != board)) {
            return com::CONNECT_E_NOCONNECTION;
        }
        gone = std::move(found->second);
        m_connections.erase(found);
    }
    return com::S_OK;
}

std::size_t BoardStatusHub::ConnectionCount() const {
    std::lock_guard lock(m_mutex);
    return m_connections.size();
}

void BoardStatusHub::ReleaseAll() {
    std::map<std::uint32_t, Connection> gone;
    std::lock_guard lock(m_mutex);
    gone.swap(m_connections);
    m_refresh = nullptr;
}

bool BoardStatusHub::Get(std::uint16_t board, Status& status) const {
    std::lock_guard lock(m_mutex);
    if (board >= m_boards.size()) {
        return false;
    }
    status = m_boards[board];
    return true;
}

void BoardStatusHub::AcceptBoardReport(std::uint16_t board, const BoardRecord& record) {
    {
        std::lock_guard lock(m_mutex);
        if (board >= m_boards.size()) {
            return;
        }
        Status& status = m_boards[board];
        status.record = record;
        status.reported = true;
        ++status.reportCount;
    }
    Post(board, record);
}

void BoardStatusHub::CountRefusedReport() {
    ++m_refused;
}

std::uint64_t BoardStatusHub::RefusedReportCount() const {
    return m_refused;
}

void BoardStatusHub::Retrieve(std::int32_t board) {
    RefreshHandler refresh;
    std::vector<std::pair<std::uint16_t, BoardRecord>> held;
    {
        std::lock_guard lock(m_mutex);
        refresh = m_refresh;
        if (!refresh) {
            for (std::size_t i = 0; i < m_boards.size(); ++i) {
                if (board == kAllBoards || static_cast<std::size_t>(board) == i) {
                    held.emplace_back(static_cast<std::uint16_t>(i), m_boards[i].record);
                }
            }
        }
    }
    if (refresh) {
        refresh(board);
        return;
    }
    for (const auto& [index, record] : held) {
        Post(index, record);
    }
}

void BoardStatusHub::SetRefreshHandler(RefreshHandler handler) {
    std::lock_guard lock(m_mutex);
    m_refresh = std::move(handler);
}

void BoardStatusHub::Post(std::uint16_t board, const BoardRecord& record) {
    fw::TheMessageQueue().PostCall([weak = weak_from_this(), board, record] {
        if (const auto self = weak.lock()) {
            self->Deliver(board, record);
        }
    });
}

void BoardStatusHub::Deliver(std::uint16_t board, const BoardRecord& record) {
    std::vector<std::pair<std::uint32_t, com::ComPtr<IBoardNotifySink>>> sinks;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [cookie, connection] : m_connections) {
            if ((connection.types & kNotifyRemapInfo) != 0 &&
                (connection.board == kAllBoards || connection.board == board)) {
                sinks.emplace_back(cookie, connection.sink);
            }
        }
    }
    for (const auto& [cookie, sink] : sinks) {
        sink->Notify(cookie, board, kNotifyRemapInfo, static_cast<std::int32_t>(record.size()),
                     record.data(), 0, 0, 0, 0);
    }
}

}  // namespace control
