// The numbers and ranges the operator has set up in the main dialog.
#include "remap/remap_line.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// "first-last" of the selected range item; -1 and -1 without a selection.
void SelectedRange(const fw::Control* list, int& first, int& last) {
    first = -1;
    last = -1;
    if (list == nullptr || list->GetCurSel() < 0) {
        return;
    }
    const std::string text = list->GetItemText(list->GetCurSel());
    const auto dash = text.find('-');
    first = AtoI(text.substr(0, dash));
    last = dash == std::string::npos ? 0 : AtoI(text.substr(dash + 1));
}

}  // namespace

int CTavDlg::GetOriginalNumber() const {
    return AtoI(GetDlgItemText(IDC_ORIGINAL_NUMBER));
}

int CTavDlg::GetNewNumber() const {
    return AtoI(GetDlgItemText(IDC_NEW_NUMBER));
}

void CTavDlg::GetOriginalRange(int& first, int& last) const {
    SelectedRange(GetDlgItem(IDC_ORIGINAL_RANGE), first, last);
}

void CTavDlg::GetNewRange(int& first, int& last) const {
    SelectedRange(GetDlgItem(IDC_NEW_RANGE), first, last);
}

void CTavDlg::GetRemapNumbers(int& origFirst, int& origLast, int& newFirst, int& newLast) {
    if (m_nRangeMode != 0) {
        GetOriginalRange(origFirst, origLast);
        GetNewRange(newFirst, newLast);
    } else {
        origFirst = origLast = GetOriginalNumber();
        newFirst = newLast = GetNewNumber();
    }
}

std::string CTavDlg::GetComment() const {
    return GetDlgItemText(IDC_COMMENT);
}
