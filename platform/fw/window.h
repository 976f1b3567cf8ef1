// Windows and controls. The framework holds every window's state (text, enabled, visible, checked,
// items, selection, position); a back end mirrors it in a peer and turns the user's actions into
// the User* calls below, which raise the same notifications as the platform does.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fw/resources.h"
#include "platform/fw/types.h"

namespace fw {

class CWnd;
class CStatusBar;
class WindowPeer;

// A window's menu (the menu bar of a dialog, or its system menu).
class Menu {
  public:
    Menu() = default;
    explicit Menu(std::vector<MenuItem> items) : m_items(std::move(items)) {}
    const std::vector<MenuItem>& Items() const { return m_items; }
    void AppendSeparator();
    void AppendItem(UINT id, const std::string& text);
    // The item with this command id anywhere in the menu, or null.
    const MenuItem* FindItem(UINT id) const;

  private:
    std::vector<MenuItem> m_items;
};

// What changed, so that a peer refreshes only that.
enum class Change { Text, Enabled, Visible, Check, Items, Selection, Geometry, Menu, StatusBar };

class CWnd {
  public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    bool IsCreated() const { return m_hWnd != kNoWindow; }
    int GetDlgCtrlID() const { return m_nId; }
    CWnd* GetParent() const { return m_pParent; }
    // The top-level window this window belongs to (itself for a top-level window).
    CWnd* GetTopLevel();

    void SetWindowText(const std::string& text);
    std::string GetWindowText() const { return m_strText; }
    // Returns nonzero when the window was disabled before, as the platform does.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const { return m_bEnabled ? TRUE : FALSE; }
    BOOL ShowWindow(int cmd);
    BOOL IsWindowVisible() const { return m_bVisible ? TRUE : FALSE; }

    // Screen coordinates for top-level windows; a control's rectangle is reported in screen
    // coordinates too (its dialog's position added), as the platform does.
    void GetWindowRect(Rect* rect) const;
    void GetClientRect(Rect* rect) const;
    void MoveWindow(int x, int y, int cx, int cy);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Centres a top-level window on the screen.
    void CenterWindow();
    void SetFocus();
    bool HasFocus() const;
    void Invalidate() {}
    void UpdateWindow() {}
    void RedrawWindow() {}

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // A message box owned by this window: exactly the caption asked for (the application's
    // title when none) and exactly the icon asked for; detail, when not empty, is a longer
    // account the operator can open under the text.
    int MessageBox(const std::string& text, const char* caption = nullptr, UINT type = MB_OK,
                   const std::string& detail = {});

    // Menus of a top-level window.
    Menu* GetMenu() { return m_pMenu.get(); }
    void SetMenu(std::unique_ptr<Menu> menu);
    Menu* GetSystemMenu(BOOL revert);

    CStatusBar* GetStatusBar() const { return m_pStatusBar; }

    virtual BOOL DestroyWindow();

    // Modal loop on any top-level window (a dialog's DoModal, or a modeless window made modal).
    int RunModalLoop(DWORD flags = 0);
    void EndModalLoop(int result);
    bool IsInModalLoop() const { return m_bInModalLoop; }

    // The window procedure: dispatches through the message map, then the defaults.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The user's actions, called by back ends and drivers.
    void UserClose();              // the close box
    void UserCommand(UINT id);     // a menu item (ignored when the item is greyed)
    void UserSysCommand(UINT id);  // a system menu item

    // Peer of a top-level window; null in the headless back end before the peer exists.
    WindowPeer* GetPeer() const { return m_pPeer.get(); }
    bool IsTopLevel() const { return m_bTopLevel; }

    // Every live top-level window, oldest first (back ends and drivers look windows up here).
    static std::vector<CWnd*> TopLevelWindows();
    static CWnd* FromHandle(HWND hwnd);

  protected:
    // Message map: the handlers a window class registers in its constructor.
    using CommandHandler = std::function<void()>;
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    void MapCommand(UINT id, UINT code, CommandHandler handler);
    void MapMessage(UINT message, MessageHandler handler);
    template <class T>
    void MapClicked(UINT id, void (T::*fn)()) {
        MapCommand(id, BN_CLICKED, [this, fn] { (static_cast<T*>(this)->*fn)(); });
    }
    template <class T>
    void MapNotify(UINT id, UINT code, void (T::*fn)()) {
        MapCommand(id, code, [this, fn] { (static_cast<T*>(this)->*fn)(); });
    }
    template <class T>
    void MapMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
        MapMessage(message,
                   [this, fn](WPARAM w, LPARAM l) { return (static_cast<T*>(this)->*fn)(w, l); });
    }

    // Command routing: the window's own map first, then the defaults, then the application.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    bool DispatchCommand(UINT id, UINT code);
    BOOL RouteCommandToApp(UINT id, UINT code);
    void CreateSystemMenu();
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnClose();
    // Runs when the window is created, before its controls; -1 makes the creation fail.
    virtual int OnCreate() { return 0; }

    // For subclasses that create windows.
    void AttachHandle(bool topLevel);
    void DetachHandle();
    void SetPeer(std::unique_ptr<WindowPeer> peer);
    void NotifyChanged(Change change);
    void SetRectDirect(const Rect& rect) { m_rect = rect; }
    const Rect& RectDirect() const { return m_rect; }
    void SetTextDirect(std::string text) { m_strText = std::move(text); }
    void SetParentDirect(CWnd* parent) { m_pParent = parent; }
    void SetIdDirect(int id) { m_nId = id; }
    void SetVisibleDirect(bool visible) { m_bVisible = visible; }
    void SetEnabledDirect(bool enabled) { m_bEnabled = enabled; }
    virtual void OnTextSet() {}
    bool DispatchMapped(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  private:
    friend class CStatusBar;
    struct CommandEntry {
        UINT id;
        UINT code;
        CommandHandler handler;
    };
    struct MessageEntry {
        UINT message;
        MessageHandler handler;
    };

    HWND m_hWnd = kNoWindow;
    int m_nId = 0;
    CWnd* m_pParent = nullptr;
    std::string m_strText;
    bool m_bEnabled = true;
    bool m_bVisible = false;
    bool m_bTopLevel = false;
    Rect m_rect;  // screen rectangle for top-level windows, parent client rectangle for controls
    std::unique_ptr<Menu> m_pMenu;
    std::unique_ptr<Menu> m_pSystemMenu;
    CStatusBar* m_pStatusBar = nullptr;
    std::unique_ptr<WindowPeer> m_pPeer;
    std::vector<CommandEntry> m_commands;
    std::vector<MessageEntry> m_messages;
    bool m_bInModalLoop = false;
    bool m_bContinueModal = false;
    int m_nModalResult = 0;
};

// A child control created from a template.
class Control : public CWnd {
  public:
    Control(CWnd& parent, const ControlTemplate& tmpl, const Rect& pixelRect);
    ~Control() override;

    ControlKind Kind() const { return m_kind; }
    std::uint32_t Style() const { return m_style; }
    bool IsEdit() const {
        return m_kind == ControlKind::Edit || m_kind == ControlKind::MultiLineEdit;
    }
    bool IsList() const { return m_kind == ControlKind::ListBox; }
    bool IsCombo() const {
        return m_kind == ControlKind::DropDownList || m_kind == ControlKind::DropDownCombo;
    }
    bool IsButtonLike() const;

    // Buttons.
    void SetCheck(int check);  // raises nothing
    int GetCheck() const { return m_nCheck; }

    // Lists and combo boxes. Selecting from code raises nothing.
    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int SetCurSel(int index);  // -1 clears; returns the index, or -1 (CB_ERR) when out of range
    int GetCurSel() const { return m_nCurSel; }
    std::string GetItemText(int index) const;  // GetLBText / GetText
    int FindStringExact(int start, const std::string& text) const;
    const std::vector<std::string>& Items() const { return m_items; }
    // The latest change of the items, so that a back end can follow it without copying every
    // item again (a list filled item by item would otherwise cost quadratic time).
    struct ItemsEdit {
        enum class Kind { Reset, Insert, Delete } kind = Kind::Reset;
        int index = 0;
    };
    ItemsEdit LastItemsEdit() const { return m_lastItemsEdit; }

    // Edits.
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return (m_style & kReadOnly) != 0; }

    // The user's actions.
    void UserClick();                        // button, radio, check box
    void UserType(const std::string& text);  // edit or combo edit part: replaces the text
    void UserSelect(int index);              // list or combo: selects and notifies
    void UserDropDown();                     // combo: list dropped down

  protected:
    void OnTextSet() override;

  private:
    void Notify(UINT code);
    void UncheckGroupSiblings();

    ControlKind m_kind;
    std::uint32_t m_style;
    int m_nCheck = 0;
    std::vector<std::string> m_items;
    ItemsEdit m_lastItemsEdit;
    int m_nCurSel = -1;
};

// The status bar of a window: a text pane and key indicators.
class CStatusBar {
  public:
    CStatusBar() = default;
    ~CStatusBar();
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;

    BOOL Create(CWnd* parent);
    BOOL SetIndicators(const UINT* ids, int count);
    BOOL SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;
    const std::vector<UINT>& Indicators() const { return m_ids; }
    bool IsCreated() const { return m_pParent != nullptr; }

  private:
    friend class CWnd;
    CWnd* m_pParent = nullptr;
    std::vector<UINT> m_ids;
    std::vector<std::string> m_texts;
};

}  // namespace fw
