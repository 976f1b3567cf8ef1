#include "platform/fw/dialog.h"

#include <algorithm>

#include "platform/fw/app.h"
#include "platform/fw/backend.h"

namespace fw {

CDialog::CDialog(int templateId, CWnd* parent) : m_nTemplateId(templateId) {
    SetParentDirect(parent);
}

CDialog::~CDialog() {
    if (IsCreated()) {
        CDialog::DestroyWindow();
    }
}

Rect CDialog::MapDialogRect(const Rect& du) const {
    const Size base = m_pTemplate != nullptr ? GetBackend().DialogBaseUnits(*m_pTemplate) : Size{};
    auto x = [&](int v) { return v * base.cx / 4; };
    auto y = [&](int v) { return v * base.cy / 8; };
    return Rect{x(du.left), y(du.top), x(du.right), y(du.bottom)};
}

BOOL CDialog::CreateFromTemplate(CWnd* parent) {
    const ResourceSet* res = InstalledResources();
    m_pTemplate = res != nullptr ? res->FindDialog(m_nTemplateId) : nullptr;
    if (m_pTemplate == nullptr || IsCreated()) {
        return FALSE;
    }
    m_bEnded = false;
    m_nEndCode = 0;
    SetParentDirect(parent);
    SetTextDirect(m_pTemplate->title);
    SetVisibleDirect(false);
    SetEnabledDirect(true);
    AttachHandle(true);

    const Rect client = MapDialogRect(m_pTemplate->rect);
    Rect window{client.left, client.top, client.left + client.Width(),
                client.top + client.Height()};
    if ((m_pTemplate->style & kCentered) != 0) {
        const int x = (GetSystemMetrics(SM_CXSCREEN) - window.Width()) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - window.Height()) / 2;
        window = Rect{x, y, x + window.Width(), y + window.Height()};
    }
    SetRectDirect(window);
    if (m_pTemplate->menuId != 0 && res->FindMenu(m_pTemplate->menuId) != nullptr) {
        SetMenu(std::make_unique<Menu>(res->FindMenu(m_pTemplate->menuId)->items));
    }
    if ((m_pTemplate->style & kSysMenu) != 0) {
        CreateSystemMenu();
    }
    if (OnCreate() == -1) {
        DetachHandle();
        return FALSE;
    }
    for (const auto& c : m_pTemplate->controls) {
        m_controls.push_back(std::make_unique<Control>(*this, c, MapDialogRect(c.rect)));
    }
    SetPeer(GetBackend().CreatePeer(*this));
    OnInitDialog();
    if ((m_pTemplate->style & kVisible) != 0 && !m_bEnded) {
        ShowWindow(SW_SHOW);
    }
    return TRUE;
}

int CDialog::DoModal() {
    CWnd* parent = GetParent();
    if (!CreateFromTemplate(parent)) {
        return -1;
    }
    const bool disableParent = parent != nullptr && parent->IsWindowEnabled();
    if (disableParent) {
        parent->EnableWindow(FALSE);
    }
    int result = m_nEndCode;
    if (!m_bEnded) {
        ShowWindow(SW_SHOW);
        result = RunModalLoop();
    }
    if (m_bEnded) {
        result = m_nEndCode;
    }
    if (disableParent) {
        parent->EnableWindow(TRUE);
    }
    DestroyWindow();
    return result;
}

BOOL CDialog::Create(int templateId, CWnd* parent) {
    m_nTemplateId = templateId;
    return CreateFromTemplate(parent);
}

void CDialog::EndDialog(int result) {
    m_nEndCode = result;
    m_bEnded = true;
    if (IsInModalLoop()) {
        EndModalLoop(result);
    } else if (IsCreated()) {
        // A modeless dialog is only hidden; its owner destroys it.
        ShowWindow(SW_HIDE);
    }
}

Control* CDialog::GetDlgItem(int id) const {
    for (const auto& c : m_controls) {
        if (c->GetDlgCtrlID() == id) {
            return c.get();
        }
    }
    return nullptr;
}

Control* CDialog::InsertControl(std::unique_ptr<Control> control) {
    if (!control) {
        return nullptr;
    }
    Control* raw = control.get();
    auto place = std::find_if(m_controls.begin(), m_controls.end(), [raw](const auto& c) {
        return c->GetDlgCtrlID() == raw->GetDlgCtrlID() &&
               c->Kind() == ControlKind::GridPlaceholder;
    });
    Rect rect;
    raw->GetClientRect(&rect);
    Rect own;
    raw->GetWindowRect(&own);
    Rect origin;
    GetWindowRect(&origin);
    own = Rect{own.left - origin.left, own.top - origin.top, own.right - origin.left,
               own.bottom - origin.top};
    if (place != m_controls.end()) {
        Control* placeholder = place->get();
        if (rect.Width() <= 0 || rect.Height() <= 0) {
            placeholder->GetWindowRect(&own);
            own = Rect{own.left - origin.left, own.top - origin.top, own.right - origin.left,
                       own.bottom - origin.top};
        }
        placeholder->ShowWindow(SW_HIDE);
        m_controls.insert(place, std::move(control));
    } else {
        m_controls.push_back(std::move(control));
    }
    // The move is the first change the back end hears of: it builds the control's widget.
    raw->MoveWindow(own.left, own.top, own.Width(), own.Height());
    return raw;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    if (Control* c = GetDlgItem(id)) {
        c->SetWindowText(text);
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    const Control* c = GetDlgItem(id);
    return c != nullptr ? c->GetWindowText() : std::string();
}

BOOL CDialog::DestroyWindow() {
    if (!IsCreated()) {
        return FALSE;
    }
    const BOOL result = CWnd::DestroyWindow();
    m_controls.clear();
    return result;
}

BOOL CDialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (DispatchCommand(id, code)) {
        return TRUE;
    }
    if (code == BN_CLICKED && id == static_cast<UINT>(IDOK)) {
        OnOK();
        return TRUE;
    }
    if (code == BN_CLICKED && id == static_cast<UINT>(IDCANCEL)) {
        OnCancel();
        return TRUE;
    }
    return RouteCommandToApp(id, code);
}

void CDialog::OnClose() {
    // A dialog's close box is its Cancel command.
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(IDCANCEL), BN_CLICKED), 0);
}

void CDialog::DDX_Control(int id, Control*& member) {
    member = GetDlgItem(id);
}

void CDialog::UserPressEnter() {
    if (!IsWindowEnabled()) {
        return;
    }
    // The default push button, else IDOK, as the platform's dialog manager does.
    int id = IDOK;
    for (const auto& c : m_controls) {
        if (c->Kind() == ControlKind::DefPushButton) {
            id = c->GetDlgCtrlID();
            break;
        }
    }
    Control* button = GetDlgItem(id);
    if (button != nullptr && (!button->IsWindowEnabled() || !button->IsWindowVisible())) {
        return;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), BN_CLICKED), 0);
}

void CDialog::UserPressEscape() {
    if (!IsWindowEnabled()) {
        return;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(IDCANCEL), BN_CLICKED), 0);
}

}  // namespace fw
