// The Remap command: the checks, the operator's confirmation, the conflict walk, the boards, and
// the remap recorded in the table and its file.
#include "app/tav_app.h"
#include "audit_events/audit_events.h"
#include "platform/fw/clock.h"
#include "platform/fw/dialog.h"
#include "remap/remap_line.h"
#include "remap/table_guard.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {
constexpr int kRemapLimit = 64;
}  // namespace

void CTavDlg::OnRemap() {
    CTableGuard guard(this, m_nIOType);
    if (!CheckRemapInput(true) || !guard.Refresh() || !CheckRemapLimit(m_nIOType, kRemapLimit)) {
        return;
    }
    // Before the boards hear of it: a remap the file could not record must not be put in force.
    if (!MayRewriteTable(m_nIOType)) {
        return;
    }
    fw::CDialog confirmation(IDD_REMAP_CONFIRM);
    if (confirmation.DoModal() != fw::IDOK) {
        return;
    }
    m_bReplacedInPlace = false;
    KeepTableBeforeChange(m_nIOType);
    if (CheckRemapConflicts()) {
        // The operator said No: nothing goes to the boards, so what the walk deleted or narrowed
        // after an earlier Yes is put back. The view and the file then still show what the boards
        // hold.
        UndoTableChange(m_nIOType, false);
        return;
    }
    if (!guard.Hold(CTableGuard::For::Remap)) {
        // Nothing goes to the boards. A table read again from its file stands as read; otherwise
        // (the wait for another workstation given up) the walk's changes are taken back.
        if (guard.WasReadAgain()) {
            m_arrTableBefore[IoSlot(m_nIOType)].reset();
        } else {
            UndoTableChange(m_nIOType, false);
        }
        return;
    }
    m_bBoardsResponded = fw::FALSE;
    const fw::BOOL notified = NotifyBoards(m_nIOType, m_bReplacedInPlace ? fw::TRUE : fw::FALSE);
    AuditChange change = RemapAuditChange();
    change.notification = &m_lastNotification;
    change.outcome = !notified            ? (m_lastNotification.aborted ? "aborted" : "not-sent")
                     : m_bReplacedInPlace ? "replaced"
                     : m_bBoardsResponded ? "recorded"
                                          : "no-board-confirmed";
    // The event is recorded before the file puts the remap in force (the appended line, the
    // rewrite): a program ended in between leaves an event the file does not bear out, never a
    // remap in force without its event. A write that then fails adds an event of its own.
    RecordAuditEvent(change);
    RecordRemap(notified, change);
}

void CTavDlg::RecordRemap(fw::BOOL notified, AuditChange& change) {
    const auto fileError = [&] {
        change.outcome = "file-error";
        RecordAuditEvent(change);
    };
    if (!notified && !m_bConfigChanging) {
        // Nothing reached the boards: the conflict walk's changes go too, the file is not
        // rewritten, and the fields stay for another try.
        UndoTableChange(m_nIOType, true);
        return;
    }
    m_arrTableBefore[IoSlot(m_nIOType)].reset();
    // A remap no board confirmed is not recorded; its time-stamped line would bring it back as
    // an entry at the next start if the program ended before the rewrite below.
    const bool unconfirmed = notified && !m_bReplacedInPlace && !m_bBoardsResponded;
    if (notified && !m_bReplacedInPlace) {
        if (GetTavApp()->GetFileAccess() == nullptr) {
            return fileError();
        }
        if (!unconfirmed) {
            if (!OpenRemapTableFile(m_nIOType, fw::FALSE, fw::TRUE, {})) {
                return fileError();
            }
            AppendRemapLine();
            const bool appended = GetRemapFile() != nullptr;
            CloseRemapTableFile();
            if (m_bConfigChanging) {
                // The program is about to end; the appended line is the record.
                if (!appended) {
                    fileError();
                }
                return;
            }
        }
    }
    if (m_bConfigChanging) {
        return;
    }
    if (m_bBoardsResponded && !m_bReplacedInPlace) {
        AddRemapEntry();
    }
    if (!OpenRemapTableFile(m_nIOType, fw::TRUE, fw::TRUE, {})) {
        return fileError();
    }
    WriteRemapTableFile(m_nIOType);
    const bool written = GetRemapFile() != nullptr;
    CloseRemapTableFile();
    if (!written) {
        fileError();
    }
    if (unconfirmed) {
        // The fields stay as typed, so that the remap can be tried again.
        MessageBox("No board confirmed this remap, so it was not recorded.", nullptr,
                   fw::MB_ICONHAND);
        return;
    }
    ResetRemapFields();
}

AuditChange CTavDlg::RemapAuditChange() {
    AuditChange change(AuditKind::Remap, m_nIOType);
    // The row the boards were told about; the one selected when no message went out.
    const int row = m_lastNotification.sent ? m_nSysDefRow : FindSysDefRow();
    if (m_pSysDefTable && row >= 0 && static_cast<std::size_t>(row) < m_pSysDefTable->size()) {
        const SysDefRecord& record = *(*m_pSysDefTable)[static_cast<std::size_t>(row)];
        change.switcher = record.m_strSwitcher;
        change.level = record.m_strLevel;
    }
    GetRemapNumbers(change.origFirst, change.origLast, change.newFirst, change.newLast);
    change.comment = GetComment();
    return change;
}

void CTavDlg::AddRemapEntry() {
    // The row the boards were just told about names the entry's switcher and level, so that the
    // entry can never be filed under a level chosen earlier.
    const SysDefRecord* record = m_pSysDefRecord;
    if (m_pSysDefTable && m_nSysDefRow >= 0 &&
        static_cast<std::size_t>(m_nSysDefRow) < m_pSysDefTable->size()) {
        record = (*m_pSysDefTable)[static_cast<std::size_t>(m_nSysDefRow)].get();
    }
    if (record == nullptr) {
        return;
    }
    std::unique_ptr<RemapTable>& table = Table(m_nIOType);
    if (!table) {
        table = std::make_unique<RemapTable>();
    }
    auto entry = std::make_unique<CRemapEntry>();
    const std::int64_t now = fw::GetClock().Now();
    entry->m_strTime = fw::FormatLocalTime(now, "%H:%M:%S");
    entry->m_strDate = fw::FormatLocalTime(now, "%B %d %Y");
    entry->m_strSwitcher = record->m_strSwitcher;
    entry->m_strLevel = record->m_strLevel;
    entry->m_nRow = m_nSysDefRow;
    GetRemapNumbers(entry->m_nOrigFirst, entry->m_nOrigLast, entry->m_nNewFirst, entry->m_nNewLast);
    entry->m_strComment = TableComment(GetComment());
    table->push_back(std::move(entry));
}
