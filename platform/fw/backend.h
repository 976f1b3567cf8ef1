// What a back end provides to the framework. The headless back end answers modal dialogs and
// message boxes through a driver; the Qt back end shows real windows.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/printing.h"
#include "platform/fw/resources.h"
#include "platform/fw/types.h"
#include "platform/fw/window.h"

namespace fw {

// A back end's mirror of one top-level window and its controls.
class WindowPeer {
  public:
    virtual ~WindowPeer() = default;
    // The state of source (the window itself or one of its controls) changed from code.
    virtual void Changed(CWnd& source, Change what) = 0;
};

enum class MessageBoxKind {
    Framework,  // the framework's standard box: application title, exclamation by default
    Window,     // a window's own box, or one without owner: exactly the caption and icon given
};

struct MessageBoxRequest {
    const CWnd* owner = nullptr;
    MessageBoxKind kind = MessageBoxKind::Window;
    std::string caption;
    std::string text;
    UINT type = MB_OK;   // buttons and icon as resolved by the framework
    std::string detail;  // shown on request under the text; empty for none
};

struct PrintDialogRequest {
    PRINTDLG* pd = nullptr;
    bool setupOnly = false;
};

class Backend {
  public:
    virtual ~Backend() = default;

    virtual std::unique_ptr<WindowPeer> CreatePeer(CWnd& window) = 0;
    // Inside a modal loop with nothing queued: wait for (or, headless, perform) the next user
    // action or posted message.
    virtual void WaitForEvents(CWnd& modalWindow) = 0;
    // Inside a polling loop with nothing queued: wait at most `milliseconds` for the next user
    // action or posted message. Headless, the driver acts, as in a modal loop.
    virtual void WaitForEventsFor(CWnd& window, unsigned milliseconds) {
        static_cast<void>(milliseconds);
        WaitForEvents(window);
    }
    // Lets the back end handle its own waiting events without blocking.
    virtual void ProcessPendingEvents() = 0;
    // Thread-safe: something was posted to the queue.
    virtual void Wake() = 0;

    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    virtual int RunPrintDialog(PrintDialogRequest& request) = 0;
    virtual std::unique_ptr<PrinterDevice> CreatePrinterDevice(const PrinterSettings& settings) = 0;

    virtual int GetSystemMetrics(int index) const = 0;
    // Pixels per 4 horizontal and per 8 vertical dialog units for a template's font.
    virtual Size DialogBaseUnits(const DialogTemplate& tmpl) const = 0;
    virtual void SetWaitCursor(bool on) = 0;
    // The width in pixels of a one-line text in a font; by default the headless back end's
    // average character width of 6 pixels per character.
    virtual int TextWidth(const std::string& text, const std::string& /*fontFace*/,
                          int /*points*/) const {
        return static_cast<int>(text.size()) * 6;
    }
};

// The back end in use. Installing one also hooks the message queue's wake-up to it.
Backend& GetBackend();
bool HasBackend();
void InstallBackend(Backend* backend);

int GetSystemMetrics(int index);

}  // namespace fw
