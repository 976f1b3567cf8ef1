// The scenario player's back end on Qt's offscreen platform: real Qt windows for every window,
// with the script still acting for the operator and the transcript still kept.
#pragma once

#include <memory>

#include "platform/fw/backend.h"
#include "platform/headless/headless_backend.h"

namespace fwqt {
class QtBackend;
}

class QtDrivenBackend final : public fw::Backend {
  public:
    // The headless back end answers for the operator (driver), records the transcript and the
    // printed documents; the Qt back end builds and mirrors the windows.
    QtDrivenBackend(headless::HeadlessBackend& driven, fwqt::QtBackend& qt);

    std::unique_ptr<fw::WindowPeer> CreatePeer(fw::CWnd& window) override;
    void WaitForEvents(fw::CWnd& modalWindow) override;
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

    // Hands the framework's focus on to the Qt windows.
    void SyncFocus();

  private:
    headless::HeadlessBackend& m_driven;
    fwqt::QtBackend& m_qt;
};
