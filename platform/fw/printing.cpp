#include "platform/fw/printing.h"

#include "platform/fw/backend.h"

namespace fw {

CDC::~CDC() = default;

BOOL CDC::CreatePrinterDC(const PrinterSettings& settings) {
    m_device = GetBackend().CreatePrinterDevice(settings);
    return m_device != nullptr ? TRUE : FALSE;
}

int CDC::StartDoc(const DOCINFO* info) {
    if (!m_device) {
        return -1;
    }
    const char* name = info != nullptr ? info->lpszDocName : nullptr;
    return m_device->StartDoc(name != nullptr ? name : "");
}

int CDC::StartPage() {
    return m_device ? m_device->StartPage() : -1;
}

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
    if (!m_device || text == nullptr || length < 0) {
        return FALSE;
    }
    return m_device->TextOut(x, y, std::string(text, static_cast<std::size_t>(length))) ? TRUE
                                                                                        : FALSE;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) {
    if (!m_device || metrics == nullptr) {
        return FALSE;
    }
    *metrics = m_device->GetTextMetrics();
    return TRUE;
}

int CDC::GetDeviceCaps(int index) {
    if (!m_device) {
        return 0;
    }
    const Size area = m_device->PrintableArea();
    switch (index) {
        case HORZRES:
            return area.cx;
        case VERTRES:
            return area.cy;
        default:
            return 0;
    }
}

BOOL CDC::SelectFixedPitchFont(int points) {
    return m_device && m_device->SelectFixedPitchFont(points) ? TRUE : FALSE;
}

Size CDC::GetTextExtent(const char* text, int length) {
    if (!m_device || text == nullptr || length < 0) {
        return {};
    }
    return Size{m_device->TextWidth(std::string(text, static_cast<std::size_t>(length))),
                m_device->GetTextMetrics().tmHeight};
}

int CDC::EndPage() {
    return m_device ? m_device->EndPage() : -1;
}

int CDC::EndDoc() {
    return m_device ? m_device->EndDoc() : -1;
}

void CDC::DeleteDC() {
    m_device.reset();
}

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* /*parent*/)
    : m_bSetupOnly(printSetupOnly != FALSE) {
    m_pd.Flags = flags | (m_bSetupOnly ? PD_PRINTSETUP : 0);
}

int CPrintDialog::DoModal() {
    PrintDialogRequest request{&m_pd, m_bSetupOnly};
    return GetBackend().RunPrintDialog(request);
}

BOOL CPrintDialog::CreatePrinterDC(CDC& dc) const {
    return dc.CreatePrinterDC(m_pd.settings);
}

}  // namespace fw
