// The Qt mirror of one framework top-level window: a top-level widget, a client area holding one
// widget per control, the menu bar and the status bar. Changes from the program arrive through
// Changed; the user's actions go back through the framework's User* calls.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/fw/backend.h"
#include "platform/qt/widgets.h"

class QMenuBar;
class QObject;
class QStatusBar;

namespace fwqt {

class QtBackend;
class StatusBarMirror;

class QtWindowPeer final : public fw::WindowPeer {
  public:
    QtWindowPeer(QtBackend& backend, fw::CWnd& window);
    ~QtWindowPeer() override;
    QtWindowPeer(const QtWindowPeer&) = delete;
    QtWindowPeer& operator=(const QtWindowPeer&) = delete;

    void Changed(fw::CWnd& source, fw::Change what) override;

    fw::CWnd& Window() const { return m_window; }
    QWidget* TopWidget() const { return m_top.data(); }
    QWidget* ClientWidget() const { return m_client; }
    QWidget* ControlWidget(const fw::CWnd& control) const;
    QMenuBar* MenuBar() const { return m_menuBar; }
    QStatusBar* StatusBar() const;

    // The title bar's close box.
    void OnCloseBox();
    // Enter or Esc pressed while focus is on the widget; true when the window took the key.
    bool OnDialogKey(QWidget* focus, int key);
    // An arrow key on a radio button moves to the next radio button of its group and clicks it,
    // as the platform's dialog manager does; false when focus is no radio button.
    bool OnRadioArrow(QWidget* focus, int key);
    // Gives the Qt focus to the control the program last gave the focus to, when that changed.
    void SyncFocus();
    // The user moved the focus to this widget: the framework's focus follows.
    void OnFocusMoved(QWidget* widget);

  private:
    struct Entry {
        fw::Control* control;
        QWidget* widget;
    };

    void AddControl(fw::Control& control);
    void PlaceInTabOrder(const Entry& entry);
    void Connect(const Entry& entry);
    void ConnectComboBox(const Entry& entry);
    void ConnectGrid(const Entry& entry);
    void AssignBuddies();
    // The name a screen reader gives a control that has no label just before it.
    void NameForReaders(const Entry& entry);
    void LayOut();
    void UpdateMenu();
    void UpdateStatusBar();
    void UpdateVisible();
    // Runs one user action in the framework, then brings the widgets in line with the framework's
    // state (the action may have been refused, or may have destroyed the window).
    void RunUser(const std::function<void()>& action);
    Entry* Find(const fw::CWnd* control);
    const Entry* FindByWidget(const QWidget* widget) const;

    QtBackend& m_backend;
    fw::CWnd& m_window;
    QPointer<PeerWindow> m_top;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    std::unique_ptr<StatusBarMirror> m_status;
    // The receiver of every signal connection, so that they all end with the peer.
    std::unique_ptr<QObject> m_context;
    std::vector<Entry> m_entries;
    std::shared_ptr<int> m_alive;
    fw::HWND m_lastFocus = fw::kNoWindow;
};

}  // namespace fwqt
