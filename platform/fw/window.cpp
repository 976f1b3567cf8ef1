#include "platform/fw/window.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/fw/app.h"
#include "platform/fw/backend.h"
#include "platform/fw/message_queue.h"

namespace fw {

namespace {

// Handles are handed out once and never reused, so a message posted to a window that has gone
// meanwhile finds nothing instead of a newer window.
struct HandleRegistry {
    std::mutex mutex;
    HWND next = 1;
    std::map<HWND, CWnd*> windows;
    std::vector<CWnd*> topLevel;
};

HandleRegistry& Registry() {
    static HandleRegistry registry;
    return registry;
}

HWND g_focus = kNoWindow;

const MenuItem* FindIn(const std::vector<MenuItem>& items, UINT id) {
    for (const auto& item : items) {
        if (!item.popup.empty()) {
            if (const MenuItem* found = FindIn(item.popup, id)) {
                return found;
            }
        } else if (!item.separator && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

}  // namespace

// ---- Menu ----

void Menu::AppendSeparator() {
    MenuItem item;
    item.separator = true;
    m_items.push_back(item);
}

void Menu::AppendItem(UINT id, const std::string& text) {
    MenuItem item;
    item.id = id;
    item.text = text;
    m_items.push_back(item);
}

const MenuItem* Menu::FindItem(UINT id) const {
    return FindIn(m_items, id);
}

// ---- CWnd ----

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_pStatusBar != nullptr) {
        m_pStatusBar->m_pParent = nullptr;
    }
    m_pPeer.reset();
    DetachHandle();
}

void CWnd::AttachHandle(bool topLevel) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    m_hWnd = reg.next++;
    m_bTopLevel = topLevel;
    reg.windows[m_hWnd] = this;
    if (topLevel) {
        reg.topLevel.push_back(this);
    }
}

void CWnd::DetachHandle() {
    if (m_hWnd == kNoWindow) {
        return;
    }
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    reg.windows.erase(m_hWnd);
    std::erase(reg.topLevel, this);
    if (g_focus == m_hWnd) {
        g_focus = kNoWindow;
    }
    m_hWnd = kNoWindow;
}

std::vector<CWnd*> CWnd::TopLevelWindows() {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    return reg.topLevel;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    auto& reg = Registry();
    std::lock_guard lock(reg.mutex);
    auto it = reg.windows.find(hwnd);
    return it == reg.windows.end() ? nullptr : it->second;
}

CWnd* CWnd::GetTopLevel() {
    CWnd* wnd = this;
    while (!wnd->m_bTopLevel && wnd->m_pParent != nullptr) {
        wnd = wnd->m_pParent;
    }
    return wnd;
}

void CWnd::SetPeer(std::unique_ptr<WindowPeer> peer) {
    m_pPeer = std::move(peer);
}

void CWnd::NotifyChanged(Change change) {
    CWnd* top = GetTopLevel();
    if (top != nullptr && top->m_pPeer) {
        top->m_pPeer->Changed(*this, change);
    }
}

void CWnd::SetWindowText(const std::string& text) {
    m_strText = text;
    NotifyChanged(Change::Text);
    OnTextSet();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    const bool wasDisabled = !m_bEnabled;
    const bool now = enable != FALSE;
    if (m_bEnabled != now) {
        m_bEnabled = now;
        NotifyChanged(Change::Enabled);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int cmd) {
    const bool wasVisible = m_bVisible;
    const bool now = cmd != SW_HIDE;
    if (m_bVisible != now) {
        m_bVisible = now;
        NotifyChanged(Change::Visible);
    }
    return wasVisible ? TRUE : FALSE;
}

void CWnd::GetWindowRect(Rect* rect) const {
    Rect r = m_rect;
    if (!m_bTopLevel && m_pParent != nullptr) {
        Rect parent;
        m_pParent->GetWindowRect(&parent);
        r.left += parent.left;
        r.right += parent.left;
        r.top += parent.top;
        r.bottom += parent.top;
    }
    *rect = r;
}

void CWnd::GetClientRect(Rect* rect) const {
    *rect = Rect{0, 0, m_rect.Width(), m_rect.Height()};
}

void CWnd::MoveWindow(int x, int y, int cx, int cy) {
    m_rect = Rect{x, y, x + cx, y + cy};
    NotifyChanged(Change::Geometry);
}

BOOL CWnd::SetWindowPos(HWND /*insertAfter*/, int x, int y, int cx, int cy, UINT flags) {
    Rect r = m_rect;
    if ((flags & SWP_NOMOVE) == 0) {
        r.right = x + r.Width();
        r.bottom = y + r.Height();
        r.left = x;
        r.top = y;
    }
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = r.left + cx;
        r.bottom = r.top + cy;
    }
    if (r != m_rect) {
        m_rect = r;
        NotifyChanged(Change::Geometry);
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        ShowWindow(SW_SHOW);
    }
    return TRUE;
}

void CWnd::CenterWindow() {
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(HWND_TOP, (cx - m_rect.Width()) / 2, (cy - m_rect.Height()) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

void CWnd::SetFocus() {
    g_focus = m_hWnd;
}

bool CWnd::HasFocus() const {
    return m_hWnd != kNoWindow && g_focus == m_hWnd;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return fw::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

int CWnd::MessageBox(const std::string& text, const char* caption, UINT type,
                     const std::string& detail) {
    std::string title;
    if (caption != nullptr) {
        title = caption;
    } else if (CWinApp* app = AfxGetApp()) {
        title = app->AppTitle();
    }
    return SystemMessageBox(this, text, title.c_str(), type, detail);
}

void CWnd::SetMenu(std::unique_ptr<Menu> menu) {
    m_pMenu = std::move(menu);
    NotifyChanged(Change::Menu);
}

void CWnd::CreateSystemMenu() {
    m_pSystemMenu = std::make_unique<Menu>();
    m_pSystemMenu->AppendItem(SC_CLOSE, "&Close");
}

Menu* CWnd::GetSystemMenu(BOOL /*revert*/) {
    return m_pSystemMenu.get();
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == kNoWindow) {
        return FALSE;
    }
    if (m_bInModalLoop) {
        EndModalLoop(IDABORT);
    }
    m_pPeer.reset();
    m_bVisible = false;
    DetachHandle();
    return TRUE;
}

int CWnd::RunModalLoop(DWORD /*flags*/) {
    m_bInModalLoop = true;
    m_bContinueModal = true;
    m_nModalResult = -1;
    if (!m_bVisible) {
        ShowWindow(SW_SHOW);
    }
    const HWND self = m_hWnd;
    while (m_bContinueModal) {
        Msg msg;
        if (PeekMessage(msg)) {
            if (!DispatchMessage(msg)) {
                // The quit stays posted so that every enclosing loop ends as well.
                PostQuitMessage(static_cast<int>(msg.wParam));
                m_nModalResult = -1;
                break;
            }
            continue;
        }
        if (FromHandle(self) != this) {
            break;
        }
        GetBackend().WaitForEvents(*this);
    }
    m_bInModalLoop = false;
    m_bContinueModal = false;
    return m_nModalResult;
}

void CWnd::EndModalLoop(int result) {
    m_nModalResult = result;
    m_bContinueModal = false;
}

void CWnd::MapCommand(UINT id, UINT code, CommandHandler handler) {
    m_commands.push_back(CommandEntry{id, code, std::move(handler)});
}

void CWnd::MapMessage(UINT message, MessageHandler handler) {
    m_messages.push_back(MessageEntry{message, std::move(handler)});
}

bool CWnd::DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const auto& entry : m_messages) {
        if (entry.message == message) {
            // Copy: the handler may destroy the window and with it this table.
            auto handler = entry.handler;
            result = handler(wParam, lParam);
            return true;
        }
    }
    return false;
}

bool CWnd::DispatchCommand(UINT id, UINT code) {
    for (const auto& entry : m_commands) {
        if (entry.id == id && entry.code == code) {
            auto handler = entry.handler;
            handler();
            return true;
        }
    }
    return false;
}

BOOL CWnd::RouteCommandToApp(UINT id, UINT code) {
    // Only menu and accelerator commands (code 0) reach the application, as in the framework.
    if (code == 0) {
        if (CWinApp* app = AfxGetApp(); app != nullptr && app->OnCmdMsg(id)) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (DispatchCommand(id, code)) {
        return TRUE;
    }
    return RouteCommandToApp(id, code);
}

void CWnd::OnSysCommand(UINT id, LPARAM /*lParam*/) {
    if ((id & 0xFFF0) == SC_CLOSE) {
        SendMessage(WM_CLOSE);
    }
}

void CWnd::OnClose() {
    DestroyWindow();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (DispatchMapped(message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_SYSCOMMAND:
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        default:
            return 0;
    }
}

void CWnd::UserClose() {
    if (m_pSystemMenu == nullptr || !m_bEnabled) {
        return;  // no close box on a window without a system menu, and none while disabled
    }
    SendMessage(WM_CLOSE);
}

void CWnd::UserCommand(UINT id) {
    if (m_pMenu == nullptr || !m_bEnabled) {
        return;
    }
    const MenuItem* item = m_pMenu->FindItem(id);
    if (item == nullptr || item->grayed) {
        return;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void CWnd::UserSysCommand(UINT id) {
    if (m_pSystemMenu == nullptr || !m_bEnabled || m_pSystemMenu->FindItem(id) == nullptr) {
        return;
    }
    SendMessage(WM_SYSCOMMAND, id, 0);
}

}  // namespace fw
