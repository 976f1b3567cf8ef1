#include <algorithm>
#include <cctype>

#include "platform/fw/dialog.h"
#include "platform/fw/window.h"

namespace fw {

namespace {

// List boxes and combo boxes sort without regard to case, as the platform's do.
bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

Control::Control(CWnd& parent, const ControlTemplate& tmpl, const Rect& pixelRect)
    : m_kind(tmpl.kind), m_style(tmpl.style) {
    SetParentDirect(&parent);
    SetIdDirect(tmpl.id);
    if (!IsList() && !IsCombo()) {
        SetTextDirect(tmpl.text);
    }
    SetEnabledDirect((tmpl.style & kDisabled) == 0);
    SetVisibleDirect((tmpl.style & kHidden) == 0);
    SetRectDirect(pixelRect);
    AttachHandle(false);
}

Control::~Control() = default;

bool Control::IsButtonLike() const {
    return m_kind == ControlKind::PushButton || m_kind == ControlKind::DefPushButton ||
           m_kind == ControlKind::RadioButton || m_kind == ControlKind::CheckBox;
}

void Control::Notify(UINT code) {
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(GetDlgCtrlID()), code),
                            static_cast<LPARAM>(GetSafeHwnd()));
    }
}

void Control::OnTextSet() {
    // Setting an edit's text from code is a change like any other: the platform notifies at once.
    if (IsEdit()) {
        Notify(EN_CHANGE);
    }
}

void Control::SetCheck(int check) {
    if (m_nCheck != check) {
        m_nCheck = check;
        NotifyChanged(Change::Check);
    }
}

int Control::AddString(const std::string& text) {
    int index = static_cast<int>(m_items.size());
    if ((m_style & kSorted) != 0) {
        auto it = std::upper_bound(m_items.begin(), m_items.end(), text, LessNoCase);
        index = static_cast<int>(it - m_items.begin());
    }
    return InsertString(index, text);
}

int Control::InsertString(int index, const std::string& text) {
    if (index < 0 || index > GetCount()) {
        index = GetCount();
    }
    m_items.insert(m_items.begin() + index, text);
    m_lastItemsEdit = {ItemsEdit::Kind::Insert, index};
    if (m_nCurSel >= index) {
        ++m_nCurSel;
    }
    NotifyChanged(Change::Items);
    return index;
}

int Control::DeleteString(int index) {
    if (index < 0 || index >= GetCount()) {
        return -1;
    }
    m_items.erase(m_items.begin() + index);
    m_lastItemsEdit = {ItemsEdit::Kind::Delete, index};
    if (m_nCurSel == index) {
        m_nCurSel = -1;
    } else if (m_nCurSel > index) {
        --m_nCurSel;
    }
    NotifyChanged(Change::Items);
    return GetCount();
}

void Control::ResetContent() {
    m_items.clear();
    m_lastItemsEdit = {ItemsEdit::Kind::Reset, 0};
    m_nCurSel = -1;
    if (IsCombo()) {
        SetTextDirect({});  // the edit part of a combo is emptied with its list
        NotifyChanged(Change::Text);
    }
    NotifyChanged(Change::Items);
}

int Control::SetCurSel(int index) {
    const bool valid = index >= 0 && index < GetCount();
    m_nCurSel = valid ? index : -1;
    if (IsCombo()) {
        // The combo's edit part (or face) shows the selected item, and is emptied with the
        // selection, typed text included; no notification is raised.
        SetTextDirect(valid ? m_items[static_cast<std::size_t>(index)] : std::string());
        NotifyChanged(Change::Text);
    }
    NotifyChanged(Change::Selection);
    return valid ? index : -1;
}

std::string Control::GetItemText(int index) const {
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return m_items[static_cast<std::size_t>(index)];
}

int Control::FindStringExact(int start, const std::string& text) const {
    const int count = GetCount();
    for (int n = 0; n < count; ++n) {
        const int i = (start + 1 + n) % count;
        const std::string& item = m_items[static_cast<std::size_t>(i)];
        if (item.size() == text.size() && !LessNoCase(item, text) && !LessNoCase(text, item)) {
            return i;
        }
    }
    return -1;
}

void Control::SetReadOnly(bool readOnly) {
    m_style = readOnly ? (m_style | kReadOnly) : (m_style & ~kReadOnly);
    NotifyChanged(Change::Enabled);
}

void Control::UncheckGroupSiblings() {
    auto* dialog = dynamic_cast<CDialog*>(GetParent());
    if (dialog == nullptr) {
        return;
    }
    const auto& controls = dialog->Controls();
    auto self = std::find_if(controls.begin(), controls.end(),
                             [this](const auto& c) { return c.get() == this; });
    if (self == controls.end()) {
        return;
    }
    // The group runs from the nearest control marked as a group start up to the next one.
    auto first = self;
    while (first != controls.begin() && ((*first)->Style() & kGroup) == 0) {
        --first;
    }
    auto last = self + 1;
    while (last != controls.end() && ((*last)->Style() & kGroup) == 0) {
        ++last;
    }
    for (auto it = first; it != last; ++it) {
        if (it->get() != this && (*it)->Kind() == ControlKind::RadioButton) {
            (*it)->SetCheck(0);
        }
    }
}

void Control::UserClick() {
    if (!IsWindowEnabled() || !IsWindowVisible()) {
        return;
    }
    if (m_kind == ControlKind::RadioButton) {
        SetCheck(1);
        UncheckGroupSiblings();
    } else if (m_kind == ControlKind::CheckBox) {
        SetCheck(m_nCheck == 0 ? 1 : 0);
    }
    SetFocus();
    Notify(BN_CLICKED);
}

void Control::UserType(const std::string& text) {
    if (!IsWindowEnabled() || IsReadOnly()) {
        return;
    }
    if (IsEdit()) {
        SetWindowText(text);  // raises EN_CHANGE through OnTextSet
    } else if (m_kind == ControlKind::DropDownCombo) {
        SetTextDirect(text);
        m_nCurSel = -1;
        NotifyChanged(Change::Text);
        Notify(CBN_EDITCHANGE);
    }
}

void Control::UserSelect(int index) {
    if (!IsWindowEnabled() || index < 0 || index >= GetCount()) {
        return;
    }
    SetCurSel(index);
    Notify(IsCombo() ? CBN_SELCHANGE : LBN_SELCHANGE);
}

void Control::UserDropDown() {
    if (IsWindowEnabled() && IsCombo()) {
        Notify(CBN_DROPDOWN);
    }
}

// ---- CStatusBar ----

CStatusBar::~CStatusBar() {
    if (m_pParent != nullptr) {
        m_pParent->m_pStatusBar = nullptr;
    }
}

BOOL CStatusBar::Create(CWnd* parent) {
    if (parent == nullptr) {
        return FALSE;
    }
    m_pParent = parent;
    parent->m_pStatusBar = this;
    parent->NotifyChanged(Change::StatusBar);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    if (count < 0 || (count > 0 && ids == nullptr)) {
        return FALSE;
    }
    m_ids.assign(ids, ids + count);
    m_texts.assign(m_ids.size(), {});
    if (m_pParent != nullptr) {
        m_pParent->NotifyChanged(Change::StatusBar);
    }
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(m_texts.size())) {
        return FALSE;
    }
    m_texts[static_cast<std::size_t>(index)] = text;
    if (m_pParent != nullptr) {
        m_pParent->NotifyChanged(Change::StatusBar);
    }
    return TRUE;
}

std::string CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= static_cast<int>(m_texts.size())) {
        return {};
    }
    return m_texts[static_cast<std::size_t>(index)];
}

}  // namespace fw
