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
    int points = 0;  // the size of the font it was drawn in
};

struct PrintedDocument {
    std::string name;
    fw::PrinterSettings printer;
    std::vector<std::vector<PrintedText>> pages;
    bool ended = false;
    fw::Size area;  // the printable area
};

// The headless printer's page, so that tests know exactly where every line goes and what fits:
// 300 dots per inch; a page not set up is A4 portrait with margins of 10 points, as Qt's PDF
// printer has it; the fixed-pitch font of p points is 5p dots high (1.2 em) and 2.5p dots a
// character (0.6 em), a text's width rounded up to the dot. The font is 10 points until the
// program chooses another.
struct PrinterPageModel {
    static constexpr int kDpi = 300;
    static constexpr int kDefaultPoints = 10;
    static fw::Size PrintableArea(const fw::PageLayout& layout);
    static int LineHeight(int points) { return 5 * points; }
    // Characters, not bytes, count.
    static int TextWidth(int points, const std::string& text);
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
