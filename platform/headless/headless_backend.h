// The headless back end: no window system. Every window exists as framework state; modal loops,
// message boxes and print dialogs are handed to a driver; a transcript records what a person would
// have seen; printed documents are kept for inspection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/fw/backend.h"
#include "platform/headless/driver.h"
#include "platform/headless/transcript.h"

namespace headless {

struct PrintedText {
    int x = 0;
    int y = 0;
    std::string text;
};

struct PrintedDocument {
    std::string name;
    fw::PrinterSettings printer;
    std::vector<std::vector<PrintedText>> pages;
    bool ended = false;
};

class HeadlessBackend final : public fw::Backend {
  public:
    explicit HeadlessBackend(Driver& driver);
    ~HeadlessBackend() override;

    std::unique_ptr<fw::WindowPeer> CreatePeer(fw::CWnd& window) override;
    void WaitForEvents(fw::CWnd& modalWindow) override;
    void ProcessPendingEvents() override {}
    void Wake() override {}
    int ShowMessageBox(const fw::MessageBoxRequest& request) override;
    int RunPrintDialog(fw::PrintDialogRequest& request) override;
    std::unique_ptr<fw::PrinterDevice> CreatePrinterDevice(
        const fw::PrinterSettings& settings) override;
    int GetSystemMetrics(int index) const override;
    fw::Size DialogBaseUnits(const fw::DialogTemplate& tmpl) const override;
    void SetWaitCursor(bool on) override;

    Transcript& GetTranscript() { return m_transcript; }
    const std::vector<PrintedDocument>& Documents() const { return *m_documents; }
    bool IsWaitCursorShown() const { return m_waitCursor; }
    void SetScreenSize(int cx, int cy) {
        m_screenCx = cx;
        m_screenCy = cy;
    }
    // Printer font height in device units, for tests of page layout.
    static constexpr int kPrinterLineHeight = 50;

  private:
    Driver& m_driver;
    Transcript m_transcript;
    std::shared_ptr<std::vector<PrintedDocument>> m_documents;
    bool m_waitCursor = false;
    int m_screenCx = 1024;
    int m_screenCy = 768;
};

// Describes a window for messages and transcripts: its template id (or 0) and its title.
std::string DescribeWindow(const fw::CWnd& window);

}  // namespace headless
