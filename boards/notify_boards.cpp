// Board notification: the RE-MAP message goes to the router boards once, and for at most 30
// seconds the boards' reports are compared with what each was sent.
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

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

namespace {

using Boards = std::vector<boards::NotifyBoard>;

// What each board holds before the send, and what a chosen board must report to confirm it.
struct BoardRecords {
    std::vector<BoardInfo> before;
    std::vector<BoardInfo> expected;
};

// The boards' confirmations as they arrive, one mark per chosen board.
struct Confirmations {
    explicit Confirmations(std::size_t boards) : marks(boards, false) {}
    bool All() const { return count == marks.size(); }
    std::vector<bool> marks;
    std::size_t count = 0;
};

// The RE-MAP message naming the chosen boards and carrying the remaps counted, crc set to the
// checksum of its entries; nothing when the entries cannot be built.
std::optional<std::vector<std::uint8_t>> RemapMessage(CTavDlg& dlg, IoType nIOType,
                                                      fw::BOOL bTableUpdated,
                                                      std::size_t boardCount, std::size_t remaps,
                                                      std::uint16_t& crc) {
    std::vector<std::uint8_t> message(boards::RemapMessageLength(boardCount, remaps), 0);
    const std::size_t dataOffset = boards::RemapMessageLength(boardCount, 0);
    if (remaps > 0) {
        const std::span<std::uint8_t> data(message.data() + dataOffset,
                                           remaps * boards::kRemapEntryBytes);
        if (!dlg.BuildRemapEntries(data, nIOType, bTableUpdated)) {
            return std::nullopt;
        }
        crc = ComputeCrc16(data.data(), static_cast<unsigned int>(data.size()));
    }
    dlg.BuildRemapHeader(nIOType, message.data(), crc);
    return message;
}

std::unique_ptr<CSendRemapDataDlg> OpenProgress(fw::CWnd& owner, const Boards& chosen) {
    auto progress = std::make_unique<CSendRemapDataDlg>();
    progress->Create(IDD_SEND_REMAP_DATA);
    progress->ShowWindow(fw::SW_SHOW);
    progress->Invalidate();
    progress->UpdateWindow();
    owner.EnableWindow(fw::FALSE);
    progress->EnableWindow(fw::TRUE);
    for (const auto& board : chosen) {
        progress->AddSentBoard(board.name);
        progress->IncrementSentTotal();
    }
    return progress;
}

BoardRecords RecordsToConfirm(CTavApp& app, const Boards& chosen, IoType nIOType, bool withRemaps,
                              std::uint16_t crc) {
    BoardRecords records;
    records.before.resize(app.GetBoardCount());
    for (std::uint16_t b = 0; b < records.before.size(); ++b) {
        records.before[b] = *app.GetBoardInfo(b);
    }
    records.expected = records.before;
    const std::uint8_t flag = withRemaps ? 1 : 0;
    for (const auto& board : chosen) {
        BoardInfo& record = records.expected[board.number];
        record[nIOType == IoType::Input ? 0 : 1] = flag;
        record[nIOType == IoType::Input ? 2 : 4] = static_cast<std::uint8_t>(crc & 0xFF);
        record[nIOType == IoType::Input ? 3 : 5] = static_cast<std::uint8_t>(crc >> 8);
        record[nIOType == IoType::Input ? 6 : 7] = 0;
    }
    return records;
}

void RefreshBoardReports(CTavApp& app) {
    control::IBoardStatusEx* status = app.GetBoardStatusEx();
    const com::HRESULT hr =
        status != nullptr ? status->RetrieveBoardRemapInfo(control::kAllBoards) : com::E_POINTER;
    if (com::FAILED(hr)) {
        app.ReportError(hr, "TavDlg", __LINE__);
    }
}

void MarkConfirmedBoards(CTavApp& app, const Boards& chosen, const BoardRecords& records,
                         Confirmations& confirmations, CSendRemapDataDlg& progress) {
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::uint16_t number = chosen[i].number;
        const BoardInfo* current = app.GetBoardInfo(number);
        if (!confirmations.marks[i] && current != nullptr && *current == records.expected[number]) {
            ++confirmations.count;
            progress.AddRespondingBoard(chosen[i].name);
            progress.IncrementResponseTotal();
            progress.UpdateWindow();
            confirmations.marks[i] = true;
        }
    }
}

enum class WaitEnd { Over, ConfigChanging };

// Until every board confirmed or the wait limit passed, asking the boards for their reports now
// and then; a configuration change ends the wait at once.
WaitEnd AwaitConfirmations(const CTavDlg& dlg, CTavApp& app, const Boards& chosen,
                           const BoardRecords& records, std::int64_t sentAt,
                           Confirmations& confirmations, CSendRemapDataDlg& progress) {
    fw::Clock& clock = fw::GetClock();
    std::int64_t refresh = sentAt + kFirstRefresh;
    std::int64_t check = sentAt + kFirstCheck;
    const std::int64_t end = sentAt + kWaitLimit;
    for (;;) {
        fw::PumpWaitingMessages();
        if (dlg.IsConfigChanging()) {
            return WaitEnd::ConfigChanging;
        }
        const std::int64_t now = clock.Now();
        if (now >= refresh) {
            RefreshBoardReports(app);
            refresh += kRefreshEvery;
        }
        if (now >= check) {
            MarkConfirmedBoards(app, chosen, records, confirmations, progress);
            if (confirmations.All()) {
                return WaitEnd::Over;
            }
            check += 1;
        }
        if (now >= end) {
            return WaitEnd::Over;
        }
        clock.Sleep(kTurnSleepMs);
    }
}

// Board by board, how the notification ended, also when a configuration change cut it short.
void JudgeBoards(CTavApp& app, const Boards& chosen, IoType nIOType, const BoardRecords& records,
                 const Confirmations& confirmations, std::vector<boards::BoardResult>& results) {
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::uint16_t number = chosen[i].number;
        const BoardInfo* before = &records.before[number];
        const BoardInfo* current = app.GetBoardInfo(number);
        auto outcome = confirmations.marks[i]
                           ? boards::BoardOutcome::Confirmed
                           : boards::JudgeBoard(nIOType, *before, records.expected[number],
                                                current != nullptr ? *current : *before);
        // The wait counts such a board as answering; its record alone cannot prove it did.
        if (outcome == boards::BoardOutcome::Confirmed && *before == records.expected[number]) {
            outcome = boards::BoardOutcome::AlreadyHeld;
        }
        results.push_back({number, chosen[i].name, outcome, chosen[i].partnerOf});
    }
}

// The boards that confirmed hold exactly the rows this message carried entries for; one that did
// not may still hold what it had before.
void KeepRowsInForce(std::vector<unsigned>& inForce, std::vector<unsigned> carried,
                     bool allConfirmed) {
    if (!allConfirmed) {
        carried.insert(carried.end(), inForce.begin(), inForce.end());
        std::sort(carried.begin(), carried.end());
        carried.erase(std::unique(carried.begin(), carried.end()), carried.end());
    }
    inForce = std::move(carried);
}

// Two boards of a same-name pair show the same name: the board number and what it reported tell
// the silent one apart, in the list and (with the pair) in the warning's detail.
void MarkSilentBoards(CSendRemapDataDlg& progress, const boards::NotifyResult& result,
                      const Confirmations& confirmations) {
    for (std::size_t i = 0; i < confirmations.marks.size(); ++i) {
        if (!confirmations.marks[i]) {
            const boards::BoardResult& board = result.boards[i];
            progress.MarkSentBoard(
                static_cast<int>(i),
                tav::Format("%s (board %u: %s)", board.name, static_cast<unsigned>(board.number),
                            boards::OutcomeText(board.outcome)));
        }
    }
}

void CloseProgress(fw::CWnd& owner, CSendRemapDataDlg& progress) {
    owner.EnableWindow(fw::TRUE);
    progress.ShowWindow(fw::SW_HIDE);
    progress.DestroyWindow();
}

}  // namespace

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
    std::uint16_t crc = 0;
    const auto message = RemapMessage(*this, nIOType, bTableUpdated, boardCount, remaps, crc);
    if (!message) {
        return fw::FALSE;
    }

    auto progress = OpenProgress(*this, m_arrNotifyBoards);
    const BoardRecords records =
        RecordsToConfirm(*app, m_arrNotifyBoards, nIOType, remaps > 0, crc);
    m_lastNotification = {};
    // Whoever else speaks at the status port meanwhile is refused there; how often goes into the
    // notification's record.
    const auto refusedBefore = RefusedReportCount();
    control::SocketThread* socket = app->GetSocketThread();
    const bool sent = socket != nullptr &&
                      socket->Send(m_wRebootPort, static_cast<std::uint16_t>(message->size()),
                                   message->data()) != 0;
    m_lastNotification.sent = sent;
    m_lastNotification.sentAt = fw::GetClock().Now();
    Confirmations confirmations(boardCount);
    if (sent &&
        AwaitConfirmations(*this, *app, m_arrNotifyBoards, records, m_lastNotification.sentAt,
                           confirmations, *progress) == WaitEnd::ConfigChanging) {
        progress->EnableOK(fw::TRUE);
        progress->ShowWindow(fw::SW_HIDE);
        progress->DestroyWindow();
        EnableWindow(fw::TRUE);
        progress.reset();
        m_lastNotification.aborted = true;
        JudgeBoards(*app, m_arrNotifyBoards, nIOType, records, confirmations,
                    m_lastNotification.boards);
        fw::PostQuitMessage(0);
        return fw::FALSE;
    }
    JudgeBoards(*app, m_arrNotifyBoards, nIOType, records, confirmations,
                m_lastNotification.boards);
    if (const auto refusedAfter = RefusedReportCount(); refusedBefore && refusedAfter) {
        m_lastNotification.reportsRefused = *refusedAfter - *refusedBefore;
    }
    if (sent) {
        KeepRowsInForce(
            m_arrRowsInForce[IoSlot(nIOType)],
            boards::NotifyRowsOf(Table(nIOType).get(), m_pSysDefTable->size(),
                                 bTableUpdated || m_bReplacedInPlace ? -1 : m_nSysDefRow),
            confirmations.All());
    }
    m_bBoardsResponded = confirmations.All() || confirmations.count > 0 ? fw::TRUE : fw::FALSE;
    if (!confirmations.All()) {
        MarkSilentBoards(*progress, m_lastNotification, confirmations);
        MessageBox(fw::LoadString(IDS_BOARDS_NOT_RESPONDING), "Warning", fw::MB_ICONHAND,
                   boards::NotifyDetail(m_lastNotification));
    }
    progress->EnableOK(fw::TRUE);
    progress->RunModalLoop(fw::MLF_NOIDLEMSG);
    CloseProgress(*this, *progress);
    return sent ? fw::TRUE : fw::FALSE;
}
