// The input check: are the numbers or ranges set up in the main dialog usable for a remap. Run
// quietly whenever they change, to switch the Remap button, and with messages by the Remap command.
#include <cctype>

#include "common/text.h"
#include "platform/fw/app.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"

namespace {

// The text of a list's selected item; empty without a selection.
std::string SelectedText(const fw::Control* list) {
    return list->GetItemText(list->GetCurSel());
}

// A decimal number and nothing else, blanks around it allowed. The number is read by the C
// library's rules, which take "abc" for 0 and "5x" for 5: such a text must not become a remap of
// a port the operator never named.
bool IsWholeNumber(const std::string& text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t digits = i;
    while (i < text.size() && digit(text[i])) {
        ++i;
    }
    if (i == digits) {
        return false;
    }
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    return i == text.size();
}

}  // namespace

bool CTavDlg::CheckRemapInput(bool showMessages) {
    auto refuse = [&](fw::UINT message) {
        if (showMessages) {
            MessageBox(fw::LoadString(message), fw::LoadString(IDS_WARNING_CAPTION).c_str(),
                       fw::MB_OK | fw::MB_ICONSTOP);
        }
        return false;
    };
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
        if (originalLast - originalFirst != newLast - newFirst) {
            return refuse(IDS_INVALID_NEW_RANGE);
        }
        return true;
    }
    if (GetDlgItemText(IDC_ORIGINAL_NUMBER).empty()) {
        return false;
    }
    if (!IsWholeNumber(GetDlgItemText(IDC_ORIGINAL_NUMBER)) || GetOriginalNumber() < 0) {
        return refuse(IDS_INVALID_ORIGINAL_NUMBER);
    }
    if (GetDlgItemText(IDC_NEW_NUMBER).empty()) {
        return false;
    }
    if (GetNewNumber() < 0) {
        return refuse(IDS_INVALID_NEW_NUMBER);
    }
    return GetOriginalNumber() != GetNewNumber();
}
