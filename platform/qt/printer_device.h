// The printer device context over QPrinter and QPainter. Documents go to the named printer, or
// into a PDF file when one is named or when the machine has no printer at all.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <memory>
#include <string>

#include "platform/fw/printing.h"

namespace fwqt {

// The page layout kept in the settings, as Qt's; and the printer's layout as settings.
void ApplyPageLayout(QPrinter& printer, const fw::PageLayout& layout);
fw::PageLayout ReadPageLayout(const QPrinter& printer);

// Points the printer at the chosen printer or PDF file. Without either, the system's default
// printer when there is one; the returned flag says a PDF file still needs a name. The page layout
// chosen earlier is applied after the printer, whose own defaults it replaces.
bool ApplyPrinterSettings(QPrinter& printer, const fw::PrinterSettings& settings);

// Where a document printed without printer and without file goes: the user's documents folder,
// named after the document, never overwriting an earlier file.
QString DefaultPdfPath(const std::string& docName);

class QtPrinterDevice final : public fw::PrinterDevice {
  public:
    explicit QtPrinterDevice(const fw::PrinterSettings& settings);
    ~QtPrinterDevice() override;

    int StartDoc(const std::string& docName) override;
    int StartPage() override;
    bool TextOut(int x, int y, const std::string& text) override;
    fw::TEXTMETRIC GetTextMetrics() override;
    fw::Size PrintableArea() override;
    bool SelectFixedPitchFont(int points) override;
    int TextWidth(const std::string& text) override;
    int EndPage() override;
    int EndDoc() override;

    const QPrinter& Printer() const { return *m_printer; }

  private:
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    QFont m_font;
    bool m_needsPdfName = false;
    bool m_inDoc = false;
    bool m_inPage = false;
};

}  // namespace fwqt
