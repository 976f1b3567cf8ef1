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
        m_documents->push_back(PrintedDocument{docName, m_settings, {}, false});
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
        Doc().pages.back().push_back(PrintedText{x, y, text});
        return true;
    }
    fw::TEXTMETRIC GetTextMetrics() override {
        fw::TEXTMETRIC tm;
        tm.tmHeight = HeadlessBackend::kPrinterLineHeight;
        tm.tmAscent = 40;
        tm.tmDescent = 10;
        tm.tmAveCharWidth = 25;
        return tm;
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
};

}  // namespace

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
