// Board notification: the RE-MAP message goes to the router boards once, and for at most 30
// seconds the boards' reports are compared with what each was sent.
#include <algorithm>
#include <memory>

#include "app/tav_app.h"
#include "boards/board_choice.h"
#include "boards/compute_crc16.h"
#include "boards/send_remap_data_dlg.h"
#include "common/format.h"
#include "platform/fw/app.h"
#include "platform/fw/clock.h"
#include "platform/fw/message_queue.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

constexpr int kRemapLimit = 64;
constexpr std::int64_t kFirstRefresh = 2;
constexpr std::int64_t kRefreshEvery = 10;
constexpr std::int64_t kFirstCheck = 4;
constexpr std::int64_t kWaitLimit = 30;
constexpr unsigned kTurnSleepMs = 10;

}  // namespace

fw::BOOL CTavDlg::NotifyBoards(IoType nIOType, fw::BOOL bTableUpdated) {
    // A notification that fails before its send must not show the boards of the one before.
    m_lastNotification = {};
    if (!ReadRebootPort()) {
        return fw::FALSE;
    }
    return SendRemapData(nIOType, bTableUpdated) ? fw::TRUE : fw::FALSE;
}

fw::BOOL CTavDlg::ReadRebootPort() {
    CTavApp* app = GetTavApp();
    control::ICorvaneRegistry* registry = app->GetRegistry();
    const com::HRESULT hr =
        registry != nullptr ? registry->GetRebootPort(&m_wRebootPort) : com::E_POINTER;
    if (com::FAILED(hr)) {
        app->ReportError(hr, "TavDlg", __LINE__);
        return fw::FALSE;
    }
    return fw::TRUE;
}

std::optional<std::uint32_t> CTavDlg::RefusedReportCount() {
    CTavApp* app = GetTavApp();
    control::IBoardStatusEx* status = app->GetBoardStatusEx();
    std::uint32_t count = 0;
    const com::HRESULT hr =
        status != nullptr ? status->GetRefusedReportCount(&count) : com::E_POINTER;
    if (com::FAILED(hr)) {
        app->ReportError(hr, "TavDlg", __LINE__);
        return std::nullopt;
    }
    return count;
}

fw::BOOL CTavDlg::BuildNotifyRowList(IoType nIOType, fw::BOOL bTableUpdated) {
    m_nSysDefRow = FindSysDefRow();
    // A table already updated (a Restore, say) does not depend on the level the main dialog
    // happens to show; only a pending remap needs its row.
    if (!m_pSysDefTable || (m_nSysDefRow == -1 && !bTableUpdated)) {
        return fw::FALSE;
    }
    m_pNotifyRows =
        boards::NotifyRowsOf(Table(nIOType).get(), m_pSysDefTable->size(),
                             bTableUpdated ? -1 : m_nSysDefRow, m_arrRowsInForce[IoSlot(nIOType)]);
    return fw::TRUE;
}

fw::BOOL CTavDlg::BuildBoardList() {
    std::uint16_t networkBoards = 0;
    const bool chosen =
        boards::ChooseBoards(*GetTavApp(), m_pNotifyRows, m_arrNotifyBoards, networkBoards, *this);
    m_wNotifyBoards = static_cast<std::uint16_t>(m_arrNotifyBoards.size());
    return chosen ? fw::TRUE : fw::FALSE;
}

fw::BOOL CTavDlg::BuildRemapEntries(std::span<std::uint8_t> dest, IoType nIOType,
                                    fw::BOOL bTableUpdated) {
    m_nSysDefRow = FindSysDefRow();
    const bool withPending = !m_bReplacedInPlace && !bTableUpdated;
    if (!m_pSysDefTable || (m_nSysDefRow == -1 && withPending)) {
        return fw::FALSE;
    }
    boards::PendingRemap pending;
    if (withPending) {
        pending.row = m_nSysDefRow;
        GetRemapNumbers(pending.origFirst, pending.origLast, pending.newFirst, pending.newLast);
    }
    const auto data = boards::RemapDataOf(Table(nIOType).get(), m_pSysDefTable->size(),
                                          withPending ? &pending : nullptr,
                                          dest.size() / boards::kRemapEntryBytes);
    // The message was sized from the port count; data of another length would leave bytes
    // unwritten or claim entries it does not hold.
    if (!data || data->size() != dest.size()) {
        return fw::FALSE;
    }
    std::copy(data->begin(), data->end(), dest.begin());
    return fw::TRUE;
}

fw::BOOL CTavDlg::BuildRemapHeader(IoType nIOType, std::uint8_t* pDest, std::uint16_t wCrc) {
    boards::WriteRemapHeader(pDest, m_arrNotifyBoards, m_nRemapCount, nIOType, wCrc);
    return fw::TRUE;
}

fw::BOOL CTavDlg::SendRemapData(IoType nIOType, fw::BOOL bTableUpdated) {
    CTavApp* app = GetTavApp();
    if (bTableUpdated) {
        m_nRemapCount = CountRemappedPorts(nIOType);
    } else if (!CheckRemapLimit(nIOType, kRemapLimit)) {
        return fw::FALSE;
    }
    if (m_nRemapCount < 0 || m_nRemapCount > kRemapLimit) {
        return fw::FALSE;
    }
    if (!BuildNotifyRowList(nIOType, bTableUpdated) || !BuildBoardList()) {
        return fw::FALSE;
    }
    const std::size_t boardCount = m_wNotifyBoards;
    const auto remaps = static_cast<std::size_t>(m_nRemapCount);
    // The socket library takes the length as 16 bits: a longer message would go out cut short.
    if (boards::RemapMessageLength(boardCount, remaps) > 0xFFFF) {
        MessageBox(tav::Format("The remap data for %u boards does not fit in one message.\nRemap "
                               "abort!",
                               static_cast<unsigned>(boardCount)),
                   nullptr, fw::MB_ICONHAND);
        return fw::FALSE;
    }
    std::vector<std::uint8_t> message(boards::RemapMessageLength(boardCount, remaps), 0);
    std::uint16_t crc = 0;
    const std::size_t dataOffset = boards::RemapMessageLength(boardCount, 0);
    if (remaps > 0) {
        const std::span<std::uint8_t> data(message.data() + dataOffset,
                                           remaps * boards::kRemapEntryBytes);
        if (!BuildRemapEntries(data, nIOType, bTableUpdated)) {
            return fw::FALSE;
        }
        crc = ComputeCrc16(data.data(), static_cast<unsigned int>(data.size()));
    }
    BuildRemapHeader(nIOType, message.data(), crc);

    auto progress = std::make_unique<CSendRemapDataDlg>();
    progress->Create(IDD_SEND_REMAP_DATA);
    progress->ShowWindow(fw::SW_SHOW);
    progress->Invalidate();
    progress->UpdateWindow();
    EnableWindow(fw::FALSE);
    progress->EnableWindow(fw::TRUE);
    for (const auto& board : m_arrNotifyBoards) {
        progress->AddSentBoard(board.name);
        progress->IncrementSentTotal();
    }

    // What each chosen board holds now, and what it must report to confirm.
    std::vector<BoardInfo> before(app->GetBoardCount());
    for (std::uint16_t b = 0; b < before.size(); ++b) {
        before[b] = *app->GetBoardInfo(b);
    }
    std::vector<BoardInfo> expected = before;
    const std::uint8_t flag = remaps > 0 ? 1 : 0;
    for (const auto& board : m_arrNotifyBoards) {
        BoardInfo& record = expected[board.number];
        record[nIOType == IoType::Input ? 0 : 1] = flag;
        record[nIOType == IoType::Input ? 2 : 4] = static_cast<std::uint8_t>(crc & 0xFF);
        record[nIOType == IoType::Input ? 3 : 5] = static_cast<std::uint8_t>(crc >> 8);
        record[nIOType == IoType::Input ? 6 : 7] = 0;
    }

    m_lastNotification = {};
    // Whoever else speaks at the status port meanwhile is refused there; how often goes into the
    // notification's record.
    const auto refusedBefore = RefusedReportCount();
    control::SocketThread* socket = app->GetSocketThread();
    const bool sent =
        socket != nullptr && socket->Send(m_wRebootPort, static_cast<std::uint16_t>(message.size()),
                                          message.data()) != 0;
    fw::Clock& clock = fw::GetClock();
    m_lastNotification.sent = sent;
    m_lastNotification.sentAt = clock.Now();
    std::vector<bool> confirmedMark(boardCount, false);
    std::size_t confirmed = 0;
    // Board by board, how the notification ended, also when a configuration change cut it short.
    auto judgeBoards = [&] {
        for (std::size_t i = 0; i < boardCount; ++i) {
            const std::uint16_t number = m_arrNotifyBoards[i].number;
            const BoardInfo* current = app->GetBoardInfo(number);
            auto outcome = confirmedMark[i]
                               ? boards::BoardOutcome::Confirmed
                               : boards::JudgeBoard(nIOType, before[number], expected[number],
                                                    current != nullptr ? *current : before[number]);
            // The wait counts such a board as answering; its record alone cannot prove it did.
            if (outcome == boards::BoardOutcome::Confirmed && before[number] == expected[number]) {
                outcome = boards::BoardOutcome::AlreadyHeld;
            }
            m_lastNotification.boards.push_back(
                {number, m_arrNotifyBoards[i].name, outcome, m_arrNotifyBoards[i].partnerOf});
        }
    };
    if (sent) {
        const std::int64_t t0 = m_lastNotification.sentAt;
        std::int64_t refresh = t0 + kFirstRefresh;
        std::int64_t check = t0 + kFirstCheck;
        const std::int64_t end = t0 + kWaitLimit;
        for (;;) {
            fw::PumpWaitingMessages();
            if (m_bConfigChanging) {
                progress->EnableOK(fw::TRUE);
                progress->ShowWindow(fw::SW_HIDE);
                progress->DestroyWindow();
                EnableWindow(fw::TRUE);
                progress.reset();
                m_lastNotification.aborted = true;
                judgeBoards();
                fw::PostQuitMessage(0);
                return fw::FALSE;
            }
            const std::int64_t now = clock.Now();
            if (now >= refresh) {
                control::IBoardStatusEx* status = app->GetBoardStatusEx();
                const com::HRESULT hr = status != nullptr
                                            ? status->RetrieveBoardRemapInfo(control::kAllBoards)
                                            : com::E_POINTER;
                if (com::FAILED(hr)) {
                    app->ReportError(hr, "TavDlg", __LINE__);
                }
                refresh += kRefreshEvery;
            }
            if (now >= check) {
                for (std::size_t i = 0; i < boardCount; ++i) {
                    const std::uint16_t number = m_arrNotifyBoards[i].number;
                    const BoardInfo* current = app->GetBoardInfo(number);
                    if (!confirmedMark[i] && current != nullptr && *current == expected[number]) {
                        ++confirmed;
                        progress->AddRespondingBoard(m_arrNotifyBoards[i].name);
                        progress->IncrementResponseTotal();
                        progress->UpdateWindow();
                        confirmedMark[i] = true;
                    }
                }
                if (confirmed == boardCount) {
                    break;
                }
                check += 1;
            }
            if (now >= end) {
                break;
            }
            clock.Sleep(kTurnSleepMs);
        }
    }
    judgeBoards();
    if (const auto refusedAfter = RefusedReportCount(); refusedBefore && refusedAfter) {
        m_lastNotification.reportsRefused = *refusedAfter - *refusedBefore;
    }
    if (sent) {
        // The boards that confirmed hold exactly the rows this message carried entries for; one
        // that did not may still hold what it had before.
        std::vector<unsigned>& inForce = m_arrRowsInForce[IoSlot(nIOType)];
        std::vector<unsigned> carried =
            boards::NotifyRowsOf(Table(nIOType).get(), m_pSysDefTable->size(),
                                 bTableUpdated || m_bReplacedInPlace ? -1 : m_nSysDefRow);
        if (confirmed != boardCount) {
            carried.insert(carried.end(), inForce.begin(), inForce.end());
            std::sort(carried.begin(), carried.end());
            carried.erase(std::unique(carried.begin(), carried.end()), carried.end());
        }
        inForce = std::move(carried);
    }

    if (confirmed == boardCount) {
        m_bBoardsResponded = fw::TRUE;
    } else {
        m_bBoardsResponded = confirmed > 0 ? fw::TRUE : fw::FALSE;
        // Two boards of a same-name pair show the same name: the board number and what it
        // reported tell the silent one apart, in the list and (with the pair) in the warning's
        // detail.
        for (std::size_t i = 0; i < boardCount; ++i) {
            if (!confirmedMark[i]) {
                const boards::BoardResult& board = m_lastNotification.boards[i];
                progress->MarkSentBoard(static_cast<int>(i),
                                        tav::Format("%s (board %u: %s)", board.name,
                                                    static_cast<unsigned>(board.number),
                                                    boards::OutcomeText(board.outcome)));
            }
        }
        MessageBox(fw::LoadString(IDS_BOARDS_NOT_RESPONDING), "Warning", fw::MB_ICONHAND,
                   boards::NotifyDetail(m_lastNotification));
    }
    progress->EnableOK(fw::TRUE);
    progress->RunModalLoop(fw::MLF_NOIDLEMSG);
    EnableWindow(fw::TRUE);
    progress->ShowWindow(fw::SW_HIDE);
    progress->DestroyWindow();
    return sent ? fw::TRUE : fw::FALSE;
}
