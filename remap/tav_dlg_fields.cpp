// The main dialog's remap fields: the I/O type, the range mode, the original and new numbers and
// ranges, and the Remap button that follows them.
#include "platform/fw/app.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// The controls that the I/O type makes available, and those of each range mode.
constexpr int kSelectionControls[] = {IDC_SWITCHER_LABEL, IDC_LEVEL_LABEL, IDC_SWITCHER,
                                      IDC_LEVEL,          IDC_RANGE_LABEL, IDC_SINGLE,
                                      IDC_WHOLE_BOARD};
constexpr int kSingleControls[] = {IDC_ORIGINAL_NUMBER, IDC_NEW_NUMBER, IDC_ORIGINAL_LABEL,
                                   IDC_NEW_LABEL};
constexpr int kRangeControls[] = {IDC_ORIGINAL_RANGE_LABEL, IDC_NEW_RANGE_LABEL, IDC_ORIGINAL_RANGE,
                                  IDC_NEW_RANGE};

// "Single Output" becomes "Single Input" (and the other way round); a bare "Single " gets the
// word appended.
std::string WithIOWord(const std::string& text, const std::string& word,
                       const std::string& otherWord) {
    const auto at = text.find(otherWord);
    return at == std::string::npos ? text + word : text.substr(0, at) + word;
}

}  // namespace

void CTavDlg::OnInput() {
    ChooseIOType(IoType::Input);
}

void CTavDlg::OnOutput() {
    ChooseIOType(IoType::Output);
}

void CTavDlg::ChooseIOType(IoType io) {
    fw::Control* button = GetDlgItem(io == IoType::Input ? IDC_INPUT : IDC_OUTPUT);
    if (!m_pSysDefTable) {
        button->SetCheck(0);  // no remap without a System Definition Table
        return;
    }
    if (m_nIOType != io && button->GetCheck() != 0) {
        m_nIOType = io;
        const std::string input = fw::LoadString(IDS_INPUT);
        const std::string output = fw::LoadString(IDS_OUTPUT);
        const std::string& word = io == IoType::Input ? input : output;
        const std::string& otherWord = io == IoType::Input ? output : input;
        for (int id : {IDC_SINGLE, IDC_ORIGINAL_LABEL, IDC_NEW_LABEL}) {
            SetDlgItemText(id, WithIOWord(GetDlgItemText(id), word, otherWord));
        }
        SetDlgItemText(IDC_REMAP_GROUP,
                       io == IoType::Input ? "Select Remap Inputs" : "Select Remap Outputs");
    }
    UpdateTitle();
    UpdateControls();
}

void CTavDlg::UpdateControls() {
    const fw::BOOL typeChosen = m_nIOType != IoType::None ? fw::TRUE : fw::FALSE;
    for (int id : kSelectionControls) {
        GetDlgItem(id)->EnableWindow(typeChosen);
    }
    if (m_nRangeMode == 2) {
        for (int id : kRangeControls) {
            GetDlgItem(id)->EnableWindow(fw::FALSE);
        }
        for (int id : kSingleControls) {
            GetDlgItem(id)->EnableWindow(fw::FALSE);
        }
        return;
    }
    const bool single = m_nRangeMode == 0;
    for (int id : kSingleControls) {
        GetDlgItem(id)->EnableWindow(single ? fw::TRUE : fw::FALSE);
    }
    for (int id : kRangeControls) {
        GetDlgItem(id)->EnableWindow(single ? fw::FALSE : fw::TRUE);
    }
    GetDlgItem(IDC_COMMENT_GROUP)->EnableWindow(fw::TRUE);
    GetDlgItem(IDC_COMMENT)->EnableWindow(fw::TRUE);
    // Emptying the number runs its change handler, whose check turns the Remap button off.
    SetDlgItemText(IDC_ORIGINAL_NUMBER, {});
    FillNewNumberList();
    FillNewRangeList();
    FillOriginalRangeList();
}

void CTavDlg::OnSelchangeSwitcher() {
    FillLevelList();
    UpdateControls();
}

void CTavDlg::OnSelchangeLevel() {
    UpdateControls();
}

void CTavDlg::OnSingle() {
    if (GetDlgItem(IDC_SINGLE)->GetCheck() != 0) {
        m_nRangeMode = 0;
    }
    UpdateControls();
    GetDlgItem(IDC_ORIGINAL_NUMBER)->SetFocus();
}

void CTavDlg::OnWholeBoard() {
    if (GetDlgItem(IDC_WHOLE_BOARD)->GetCheck() != 0) {
        m_nRangeMode = 1;
    }
    UpdateControls();
}

void CTavDlg::OnChangeOriginalNumber() {
    if (m_bClearingOriginal) {
        m_bClearingOriginal = false;
        return;
    }
    // Ports count from 0, so the port count itself is already past the last port. The Remap
    // button goes off with the message: a number the level does not have must not be remapped.
    if (m_pSysDefRecord != nullptr && IsOriginalNumberOutOfRange()) {
        GetDlgItem(IDC_REMAP)->EnableWindow(fw::FALSE);
        // No board of the level holds the number: the one shown for the digits typed before
        // ("12" on the way to "128") must not stay beside it.
        GetDlgItem(IDC_ORIGINAL_RANGE)->SetCurSel(-1);
        MessageBox(fw::LoadString(IDS_INVALID_PORT), nullptr, fw::MB_OK | fw::MB_ICONSTOP);
        return;
    }
    FillOriginalRangeList();
    EnableRemapFromCheck();
}

void CTavDlg::OnSelchangeNewNumber() {
    FillNewRangeList();
    EnableRemapFromCheck();
}

void CTavDlg::OnSelchangeOriginalRange() {
    const int n = GetOriginalNumber();
    int first = 0;
    int last = 0;
    GetOriginalRange(first, last);
    if (n != 0 && (n < first || n > last)) {
        m_bClearingOriginal = true;
        SetDlgItemText(IDC_ORIGINAL_NUMBER, {});
    }
    EnableRemapFromCheck();
}

void CTavDlg::OnSelchangeNewRange() {
    const int m = GetNewNumber();
    int first = 0;
    int last = 0;
    GetNewRange(first, last);
    if (m != 0 && (m < first || m > last)) {
        GetDlgItem(IDC_NEW_NUMBER)->SetCurSel(-1);
    }
    EnableRemapFromCheck();
}

void CTavDlg::EnableRemapFromCheck() {
    GetDlgItem(IDC_REMAP)->EnableWindow(CheckRemapInput(false) ? fw::TRUE : fw::FALSE);
}

void CTavDlg::ResetRemapFields() {
    SetDlgItemText(IDC_ORIGINAL_NUMBER, {});
    for (int id : {IDC_NEW_NUMBER, IDC_ORIGINAL_RANGE, IDC_NEW_RANGE}) {
        GetDlgItem(id)->SetCurSel(-1);
    }
    SetDlgItemText(IDC_COMMENT, {});
    GetDlgItem(IDC_REMAP)->EnableWindow(fw::FALSE);
}
