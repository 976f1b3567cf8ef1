// The System Definition row of the switcher and level chosen in the main dialog.
#include "app/text.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// A list's chosen text, as the dialog reads it (at most 31 characters).
std::string ChosenText(const fw::Control* list) {
    if (list == nullptr || list->GetCurSel() < 0) {
        return {};
    }
    return list->GetItemText(list->GetCurSel()).substr(0, 31);
}

}  // namespace

int CTavDlg::FindSysDefRow() const {
    if (!m_pSysDefTable) {
        return -1;
    }
    const std::string switcher = ChosenText(GetDlgItem(IDC_SWITCHER));
    const std::string level = ChosenText(GetDlgItem(IDC_LEVEL));
    for (std::size_t row = 0; row < m_pSysDefTable->size(); ++row) {
        const SysDefRecord& record = *(*m_pSysDefTable)[row];
        if (tav::EqualNoCase(record.m_strSwitcher, switcher) &&
            tav::EqualNoCase(record.m_strLevel, level)) {
            return static_cast<int>(row);
        }
    }
    return -1;
}
