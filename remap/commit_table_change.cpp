// After a table changed: the boards are told, then the file is rewritten. A change the boards
// could not be told of is taken back, so that neither the table nor its file claims what the
// boards never got.
#include "platform/fw/dialog.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

void CTavDlg::KeepTableBeforeChange(IoType io) {
    auto copy = std::unique_ptr<RemapTable>();
    if (const RemapTable* table = Table(io).get()) {
        copy = std::make_unique<RemapTable>();
        for (const auto& entry : *table) {
            copy->push_back(std::make_unique<CRemapEntry>(*entry));
        }
    }
    m_arrTableBefore[IoSlot(io)] = std::move(copy);
}

void CTavDlg::UndoTableChange(IoType io, bool tell) {
    if (auto& before = m_arrTableBefore[IoSlot(io)]) {
        Table(io) = std::move(*before);
        before.reset();
    }
    if (tell) {
        MessageBox(
            "The boards were not told of this change and still hold their previous remap "
            "data.\nThe remap table is left as it was.",
            nullptr, fw::MB_ICONHAND);
    }
}

fw::BOOL CTavDlg::CommitTableChange(IoType io, fw::BOOL confirm, AuditChange* change) {
    if (confirm) {
        fw::CDialog question(IDD_RESTORE_CONFIRM);
        if (question.DoModal() != fw::IDOK) {
            UndoTableChange(io, false);
            return fw::FALSE;
        }
    }
    m_nRemapCount = CountRemappedPorts(io);
    const fw::BOOL notified = NotifyBoards(io, fw::TRUE);
    const auto record = [&](const char* outcome) {
        if (change != nullptr) {
            change->notification = &m_lastNotification;
            change->outcome = outcome;
            RecordAuditEvent(*change);
        }
    };
    if (!notified) {
        record(m_lastNotification.aborted ? "aborted" : "not-sent");
        // A configuration change ends the program at once; the boards may have the data.
        if (!m_bConfigChanging) {
            UndoTableChange(io, true);
        }
        return fw::FALSE;
    }
    m_arrTableBefore[IoSlot(io)].reset();
    // The event is recorded before the rewrite puts the change into the file: a program ended in
    // between leaves an event the file does not bear out, never a change without its event.
    record("recorded");
    if (!OpenRemapTableFile(io, fw::TRUE, fw::TRUE, {})) {
        record("file-error");
        return fw::FALSE;
    }
    WriteRemapTableFile(io);
    const bool written = GetRemapFile() != nullptr;
    CloseRemapTableFile();
    if (!written) {
        record("file-error");
    }
    return written ? fw::TRUE : fw::FALSE;
}
