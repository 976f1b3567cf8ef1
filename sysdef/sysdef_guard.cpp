#include "sysdef/sysdef_guard.h"

#include "app/tav_app.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/sysdef_format.h"

namespace {

constexpr char kSaveCaption[] = "Save System Definition File";

}  // namespace

CSysDefGuard::CSysDefGuard(CTavDlg& dlg)
    : m_dlg(dlg), m_file(dlg.KnownFiles(), sysdef::kSysDefFileName, &dlg) {}

std::optional<std::string> CSysDefGuard::HeldBytes() const {
    const SysDefTable* table = m_dlg.GetSysDefTable();
    if (table == nullptr || table->empty() || !sysdef::FindUnfitValue(*table).empty()) {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t i = 0; i < table->size(); ++i) {
        bytes += sysdef::FormatSysDefLine(*(*table)[i], i) + "\n";
    }
    return bytes;
}

void CSysDefGuard::Refresh() {
    const CSharedFileGuard::State state = m_file.TakeAndCheck(HeldBytes());
    m_file.Unlock();
    if (state == CSharedFileGuard::State::Changed) {
        ReadAgain();
        m_dlg.MessageBox(std::string(sysdef::kSysDefFileName) +
                             " was changed at another workstation; Tavora has read it again.",
                         nullptr, fw::MB_ICONEXCLAMATION);
    }
}

bool CSysDefGuard::Hold() {
    for (;;) {
        switch (m_file.TakeAndCheck(HeldBytes())) {
            case CSharedFileGuard::State::NotTaken:
                return false;
            case CSharedFileGuard::State::Unchanged:
                return true;
            case CSharedFileGuard::State::Changed:
                break;
        }
        m_file.Unlock();
        const int answer = m_dlg.MessageBox(
            std::string(sysdef::kSysDefFileName) +
                " was changed at another workstation since Tavora read it.\nReplace it with the "
                "table edited here? No keeps it and reads it again.",
            kSaveCaption, fw::MB_YESNO | fw::MB_ICONQUESTION);
        if (answer != fw::IDYES) {
            ReadAgain();
            m_kept = true;
            return false;
        }
        // What the operator agreed to replace; a change made while the question was open is
        // asked about again.
        m_file.AdoptChecked();
    }
}

// As at start: a table that no longer matches the configuration is not kept.
void CSysDefGuard::ReadAgain() {
    if (m_dlg.LoadSysDefTable() == 1 && !m_dlg.IsSysDefTableCurrent()) {
        m_dlg.SetSysDefTable(nullptr);
        m_dlg.MessageBox(fw::LoadString(IDS_SYSDEF_CHANGED), nullptr, fw::MB_ICONHAND);
    }
    m_file.AdoptChecked();
    m_dlg.RefillIdleLists();
}
