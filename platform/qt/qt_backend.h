// The Qt 6 Widgets back end: real windows for the framework's windows, QMessageBox, the print
// dialogs and printing through QPrinter, the wait cursor, and the framework's message pump on Qt's
// event loop. A QApplication must exist before the back end is created and outlive it.
#pragma once

#include <QPointer>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/fw/backend.h"

class QAbstractEventDispatcher;
class QObject;
class QWidget;

namespace fwqt {

class InputGate;
class QtWindowPeer;

class QtBackend final : public fw::Backend {
  public:
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    std::unique_ptr<fw::WindowPeer> CreatePeer(fw::CWnd& window) override;
    void WaitForEvents(fw::CWnd& modalWindow) override;
    void WaitForEventsFor(fw::CWnd& window, unsigned milliseconds) override;
    void ProcessPendingEvents() override;
    void Wake() override;

    int ShowMessageBox(const fw::MessageBoxRequest& request) override;
    int RunPrintDialog(fw::PrintDialogRequest& request) override;
    std::unique_ptr<fw::PrinterDevice> CreatePrinterDevice(
        const fw::PrinterSettings& settings) override;

    int GetSystemMetrics(int index) const override;
    fw::Size DialogBaseUnits(const fw::DialogTemplate& tmpl) const override;
    void SetWaitCursor(bool on) override;
    int TextWidth(const std::string& text, const std::string& fontFace, int points) const override;

    // The top-level widget of a window, or of the window a control belongs to; null when it has
    // no Qt peer.
    QWidget* PeerWidget(const fw::CWnd& window) const;
    // The widget of one control; null when it has none.
    QWidget* ControlWidget(const fw::CWnd& control) const;
    static QtWindowPeer* PeerOf(const fw::CWnd& window);

    // Whether a window takes the user's input now: enabled, and not below the innermost window
    // that runs a modal loop.
    bool AcceptsInput(const fw::CWnd& window) const;
    // Brings the window that runs the innermost modal loop to the front.
    void ActivateModalWindow() const;

    // Marks the time a user action is being handled by the framework, when the widget that sent
    // it may still be on the call stack.
    class UserCall {
      public:
        explicit UserCall(QtBackend& backend) : m_backend(backend) { ++m_backend.m_userCalls; }
        ~UserCall() { --m_backend.m_userCalls; }
        UserCall(const UserCall&) = delete;
        UserCall& operator=(const UserCall&) = delete;

      private:
        QtBackend& m_backend;
    };

    // Takes the widget of a destroyed window: deleted at once when no widget can be on the call
    // stack, else hidden and deleted the next time the pump is idle.
    void Retire(QWidget* top);

  private:
    void ReapIfIdle();
    void SyncFocus();
    // Runs a Qt modal dialog. Posted framework messages are delivered meanwhile, as the original
    // platform's message box and print dialog loops do.
    int RunNested(const std::function<int()>& exec);
    void PumpDuringNestedLoop();

    QAbstractEventDispatcher* m_dispatcher;
    std::unique_ptr<QObject> m_pumpTarget;
    std::unique_ptr<InputGate> m_gate;
    std::atomic<int> m_nestedLoops{0};
    int m_pumpingLevel = 0;
    bool m_quitInNested = false;
    int m_userCalls = 0;
    std::vector<QPointer<QWidget>> m_graveyard;
    bool m_waitCursor = false;
    bool m_iconSet = false;
    mutable std::map<std::pair<std::string, int>, fw::Size> m_baseUnits;
};

}  // namespace fwqt
