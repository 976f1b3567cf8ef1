// The input check: are the numbers or ranges set up in the main dialog usable for a remap. Run
// quietly whenever they change, to switch the Remap button, and with messages by the Remap command.
#include "common/number.h"
#include "common/text.h"
#include "platform/fw/app.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// The text of a list's selected item; empty without a selection.
std::string SelectedText(const fw::Control* list) {
    return list->GetItemText(list->GetCurSel());
}

}  // namespace

bool CTavDlg::IsPastLevel(std::int64_t first, std::int64_t last) const {
    return m_pSysDefRecord == nullptr || first < 0 || last >= PortCount();
}

bool CTavDlg::IsOriginalNumberOutOfRange() const {
    const std::string text = GetDlgItemText(IDC_ORIGINAL_NUMBER);
    if (text.empty()) {
        return false;
    }
    // A whole number outside the int range is out of range whatever its sign; any other text is
    // read by the platform's rules, as far as they go.
    if (const auto number = tav::ReadWholeNumber(text); number && !tav::FitsInt(*number)) {
        return true;
    }
    return m_pSysDefRecord != nullptr && GetOriginalNumber() >= PortCount();
}

bool CTavDlg::CheckRemapInput(bool showMessages) {
    auto refuse = [&](fw::UINT message) {
        if (showMessages) {
            MessageBox(fw::LoadString(message), fw::LoadString(IDS_WARNING_CAPTION).c_str(),
                       fw::MB_OK | fw::MB_ICONSTOP);
        }
        return false;
    };
    // Ports count from 0: the level has the numbers 0 to its port count less one, and no other
    // reaches the boards or the table.
    if (m_nRangeMode != 0) {
        const fw::Control* original = GetDlgItem(IDC_ORIGINAL_RANGE);
        const fw::Control* replacement = GetDlgItem(IDC_NEW_RANGE);
        if (original->GetCurSel() < 0) {
            return refuse(IDS_INVALID_ORIGINAL_RANGE);
        }
        if (replacement->GetCurSel() < 0) {
            return refuse(IDS_INVALID_NEW_RANGE);
        }
        const std::string originalText = SelectedText(original);
        const std::string newText = SelectedText(replacement);
        if (originalText.empty() || newText.empty() || tav::EqualNoCase(originalText, newText)) {
            return false;
        }
        // A board is moved port by port onto the new range: a new range of another size would
        // send ports past the original board's end, or leave some of them behind (the last board
        // of a level may be shorter than the idle ranges offered for it).
        int originalFirst = 0;
        int originalLast = 0;
        int newFirst = 0;
        int newLast = 0;
        GetOriginalRange(originalFirst, originalLast);
        GetNewRange(newFirst, newLast);
        if (IsPastLevel(originalFirst, originalLast)) {
            return refuse(IDS_INVALID_ORIGINAL_RANGE);
        }
        if (originalLast - originalFirst != newLast - newFirst || IsPastLevel(newFirst, newLast)) {
            return refuse(IDS_INVALID_NEW_RANGE);
        }
        return true;
    }
    const std::string originalText = GetDlgItemText(IDC_ORIGINAL_NUMBER);
    if (originalText.empty()) {
        return false;
    }
    const auto original = tav::ReadWholeNumber(originalText);
    if (!original) {
        return refuse(IDS_INVALID_ORIGINAL_NUMBER);
    }
    if (tav::FitsInt(*original) && *original < 0) {
        return refuse(IDS_INVALID_ORIGINAL_NUMBER);
    }
    if (IsPastLevel(*original, *original)) {
        if (showMessages) {
            MessageBox(fw::LoadString(IDS_INVALID_PORT), nullptr, fw::MB_OK | fw::MB_ICONSTOP);
        }
        return false;
    }
    const std::string newText = GetDlgItemText(IDC_NEW_NUMBER);
    if (newText.empty()) {
        return false;
    }
    const auto replacement = tav::ReadWholeNumber(newText);
    if (!replacement || IsPastLevel(*replacement, *replacement)) {
        return refuse(IDS_INVALID_NEW_NUMBER);
    }
    return *original != *replacement;
}
