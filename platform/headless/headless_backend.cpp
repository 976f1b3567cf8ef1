#include "platform/headless/headless_backend.h"

#include "platform/fw/dialog.h"
#include "platform/headless/transcript_peer.h"

namespace headless {

namespace {

class RecordingPrinter final : public fw::PrinterDevice {
  public:
    RecordingPrinter(std::shared_ptr<std::vector<PrintedDocument>> documents,
                     fw::PrinterSettings settings, Transcript& transcript)
        : m_documents(std::move(documents)),
          m_settings(std::move(settings)),
          m_transcript(transcript) {}

    int StartDoc(const std::string& docName) override {
        m_documents->push_back(PrintedDocument{
            docName, m_settings, {}, false, PrinterPageModel::PrintableArea(m_settings.layout)});
        m_doc = m_documents->size() - 1;
        m_open = true;
        return 1;
    }
    int StartPage() override {
        if (!m_open) {
            return -1;
        }
        Doc().pages.emplace_back();
        m_inPage = true;
        return 1;
    }
    bool TextOut(int x, int y, const std::string& text) override {
        if (!m_inPage) {
            return false;
        }
        Doc().pages.back().push_back(PrintedText{x, y, text, m_points});
        return true;
    }
    fw::TEXTMETRIC GetTextMetrics() override {
        fw::TEXTMETRIC tm;
        tm.tmHeight = PrinterPageModel::LineHeight(m_points);
        tm.tmAscent = 4 * m_points;
        tm.tmDescent = m_points;
        tm.tmAveCharWidth = PrinterPageModel::TextWidth(m_points, "0");
        return tm;
    }
    fw::Size PrintableArea() override { return PrinterPageModel::PrintableArea(m_settings.layout); }
    bool SelectFixedPitchFont(int points) override {
        if (points <= 0) {
            return false;
        }
        m_points = points;
        return true;
    }
    int TextWidth(const std::string& text) override {
        return PrinterPageModel::TextWidth(m_points, text);
    }
    int EndPage() override {
        m_inPage = false;
        return 1;
    }
    int EndDoc() override {
        if (!m_open) {
            return -1;
        }
        Doc().ended = true;
        m_open = false;
        m_transcript.Add("printed doc=" + Quote(Doc().name) +
                         " pages=" + std::to_string(Doc().pages.size()));
        return 1;
    }

  private:
    PrintedDocument& Doc() { return (*m_documents)[m_doc]; }

    std::shared_ptr<std::vector<PrintedDocument>> m_documents;
    fw::PrinterSettings m_settings;
    Transcript& m_transcript;
    std::size_t m_doc = 0;
    bool m_open = false;
    bool m_inPage = false;
    int m_points = PrinterPageModel::kDefaultPoints;
};

}  // namespace

fw::Size PrinterPageModel::PrintableArea(const fw::PageLayout& layout) {
    fw::PageLayout page = layout;
    if (!page.chosen || page.paperWidthMm <= 0 || page.paperHeightMm <= 0) {
        constexpr double kTenPointsMm = 10 * 25.4 / 72;
        page.landscape = false;
        page.paperWidthMm = 210;
        page.paperHeightMm = 297;
        page.marginLeftMm = page.marginTopMm = kTenPointsMm;
        page.marginRightMm = page.marginBottomMm = kTenPointsMm;
    }
    const double width = page.landscape ? page.paperHeightMm : page.paperWidthMm;
    const double height = page.landscape ? page.paperWidthMm : page.paperHeightMm;
    const auto dots = [](double mm) { return mm > 0 ? static_cast<int>(mm * kDpi / 25.4) : 0; };
    return fw::Size{dots(width - page.marginLeftMm - page.marginRightMm),
                    dots(height - page.marginTopMm - page.marginBottomMm)};
}

int PrinterPageModel::TextWidth(int points, const std::string& text) {
    int chars = 0;
    for (const char c : text) {
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return (5 * points * chars + 1) / 2;
}

std::string DescribeWindow(const fw::CWnd& window) {
    const auto* dialog = dynamic_cast<const fw::CDialog*>(&window);
    const int id = dialog != nullptr ? dialog->TemplateId() : 0;
    return std::to_string(id) + " " + Quote(window.GetWindowText());
}

HeadlessBackend::HeadlessBackend(Driver& driver)
    : m_driver(driver), m_documents(std::make_shared<std::vector<PrintedDocument>>()) {}

HeadlessBackend::~HeadlessBackend() = default;

std::unique_ptr<fw::WindowPeer> HeadlessBackend::CreatePeer(fw::CWnd& window) {
    return std::make_unique<TranscriptPeer>(window, m_transcript, nullptr);
}

void HeadlessBackend::WaitForEvents(fw::CWnd& modalWindow) {
    m_driver.Idle(modalWindow);
}

int HeadlessBackend::ShowMessageBox(const fw::MessageBoxRequest& request) {
    const std::string line = DescribeMessageBox(request);
    const int answer = m_driver.AnswerMessageBox(request);
    m_transcript.Add(line + " -> " + AnswerName(answer));
    return answer;
}

int HeadlessBackend::RunPrintDialog(fw::PrintDialogRequest& request) {
    const int answer = m_driver.AnswerPrintDialog(request);
    m_transcript.Add(std::string(request.setupOnly ? "print-setup" : "print-dialog") +
                     " pages=" + std::to_string(request.pd->nMinPage) + "-" +
                     std::to_string(request.pd->nMaxPage) + " -> " + AnswerName(answer));
    return answer;
}

std::unique_ptr<fw::PrinterDevice> HeadlessBackend::CreatePrinterDevice(
    const fw::PrinterSettings& settings) {
    return std::make_unique<RecordingPrinter>(m_documents, settings, m_transcript);
}

int HeadlessBackend::GetSystemMetrics(int index) const {
    switch (index) {
        case fw::SM_CXSCREEN:
            return m_screenCx;
        case fw::SM_CYSCREEN:
            return m_screenCy;
        case fw::SM_CXHTHUMB:
            return 17;
        default:
            return 0;
    }
}

fw::Size HeadlessBackend::DialogBaseUnits(const fw::DialogTemplate& /*tmpl*/) const {
    // The classic 8-point dialog font at 96 dots per inch.
    return fw::Size{6, 13};
}

void HeadlessBackend::SetWaitCursor(bool on) {
    m_waitCursor = on;
    m_transcript.Add(on ? "cursor wait" : "cursor normal");
}

}  // namespace headless
