#include "remap/table_guard.h"

#include "app/tav_app.h"
#include "common/format.h"
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"

namespace {

const char* DefaultFile(IoType io) {
    return io == IoType::Output ? "TAV.OXT" : "TAV.IXT";
}

}  // namespace

CTableGuard::CTableGuard(CTavDlg* dlg, IoType io, fw::CWnd* window) : m_dlg(dlg), m_io(io) {
    if (dlg != nullptr && io != IoType::None) {
        m_file = std::make_unique<CSharedFileGuard>(dlg->KnownFiles(), DefaultFile(io),
                                                    window != nullptr ? window : dlg);
    }
}

std::string CTableGuard::HeldBytes() const {
    std::string bytes = FormatCrcLine(GetTavApp()->GetActiveSetCrc()) + "\r\n";
    if (const auto& table = m_dlg->Table(m_io)) {
        for (const auto& entry : *table) {
            bytes += FormatRemapLine(*entry) + "\r\n";
        }
    }
    return bytes;
}

bool CTableGuard::Refresh() {
    if (!m_file) {
        return true;
    }
    switch (m_file->TakeAndCheck(HeldBytes())) {
        case CSharedFileGuard::State::NotTaken:
            return false;
        case CSharedFileGuard::State::Unchanged:
            m_file->Unlock();
            return true;
        case CSharedFileGuard::State::Changed:
            m_file->Unlock();
            ReadAgain(nullptr);
            return true;
    }
    return false;
}

bool CTableGuard::Hold(For purpose) {
    if (!m_file) {
        return true;
    }
    switch (m_file->TakeAndCheck(HeldBytes())) {
        case CSharedFileGuard::State::NotTaken:
            return false;
        case CSharedFileGuard::State::Unchanged:
            return true;
        case CSharedFileGuard::State::Changed:
            m_file->Unlock();
            ReadAgain(purpose == For::Remap
                          ? "Nothing was remapped: check the remap and press Remap again."
                          : "Nothing was restored: select the ports to restore again.");
            return false;
    }
    return false;
}

// Read as at start: a file that cannot be used is copied aside, and the operator told, before a
// rewrite could replace it.
void CTableGuard::ReadAgain(const char* consequence) {
    m_readAgain = true;
    CTavDlg& dlg = *m_dlg;
    const std::string name = m_file->Name();
    const std::string selected = dlg.TableFile(m_io) != name ? dlg.TableFile(m_io) : "";
    bool unusable = false;
    bool unreadable = false;
    if (dlg.OpenRemapTableFile(m_io, fw::FALSE, fw::TRUE, {})) {
        const bool loaded = dlg.LoadRemapTable(m_io);
        unreadable = !loaded && dlg.GetRemapFile()->m_nError != 0;
        if (!loaded || !dlg.VerifyRemapTable(m_io)) {
            dlg.ClearRemapTable(m_io);
            unusable = !unreadable;
        }
    } else {
        dlg.ClearRemapTable(m_io);
    }
    dlg.CloseRemapTableFile();
    m_file->AdoptChecked();
    dlg.UpdateTitle();
    std::string text =
        tav::Format("%s was changed at another workstation; Tavora has read it again.", name);
    if (!selected.empty()) {
        text += tav::Format("\nThe table taken from %s is no longer the working table.", selected);
    }
    if (consequence != nullptr) {
        text += std::string("\n") + consequence;
    }
    m_file->Window()->MessageBox(text, nullptr, fw::MB_ICONEXCLAMATION);
    if (unusable) {
        dlg.SetAsideUnusableTable(m_io);
    } else if (unreadable) {
        dlg.KeepUnreadableTable(m_io);
    }
}
