#include "platform/qt/printer_device.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "platform/qt/qt_text.h"

namespace fwqt {

namespace {

// The printouts line up their columns with blanks, so the font is fixed-pitch. Its size is the
// program's choice (SelectFixedPitchFont); until then the largest one at which the longer
// printout's 62 lines fit the page.
constexpr int kLinesPerPageToFit = 62;

QFont FixedPitchFont(int points) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(points);
    return font;
}

QFont PrinterFont(const QPrinter& printer) {
    QFont font = FixedPitchFont(10);
    for (int points = 10; points > 6; --points) {
        font.setPointSize(points);
        const QFontMetrics metrics(font, &printer);
        if (metrics.height() * kLinesPerPageToFit <= printer.height()) {
            break;
        }
    }
    return font;
}

}  // namespace

void ApplyPageLayout(QPrinter& printer, const fw::PageLayout& layout) {
    if (!layout.chosen || layout.paperWidthMm <= 0 || layout.paperHeightMm <= 0) {
        return;
    }
    // A size the print system knows by name comes back as that paper, so a real printer picks
    // its tray; any other size stays custom.
    const QPageSize size(QSizeF(layout.paperWidthMm, layout.paperHeightMm), QPageSize::Millimeter,
                         ToQt(layout.paperName), QPageSize::FuzzyMatch);
    const QPageLayout wanted(size,
                             layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                             QMarginsF(layout.marginLeftMm, layout.marginTopMm,
                                       layout.marginRightMm, layout.marginBottomMm),
                             QPageLayout::Millimeter);
    if (!printer.setPageLayout(wanted)) {
        // Margins the printer cannot print to: keep the paper and orientation at least.
        printer.setPageSize(size);
        printer.setPageOrientation(wanted.orientation());
    }
}

fw::PageLayout ReadPageLayout(const QPrinter& printer) {
    const QPageLayout page = printer.pageLayout();
    const QSizeF size = page.pageSize().size(QPageSize::Millimeter);
    const QMarginsF margins = page.margins(QPageLayout::Millimeter);
    fw::PageLayout layout;
    layout.chosen = true;
    layout.paperName = FromQt(page.pageSize().name());
    layout.paperWidthMm = size.width();
    layout.paperHeightMm = size.height();
    layout.landscape = page.orientation() == QPageLayout::Landscape;
    layout.marginLeftMm = margins.left();
    layout.marginTopMm = margins.top();
    layout.marginRightMm = margins.right();
    layout.marginBottomMm = margins.bottom();
    return layout;
}

bool ApplyPrinterSettings(QPrinter& printer, const fw::PrinterSettings& settings) {
    printer.setCopyCount(settings.copies > 0 ? settings.copies : 1);
    bool needsPdfName = false;
    if (!settings.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ToQt(settings.outputFile));
    } else if (const QString name = ToQt(settings.printerName);
               !name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(name)) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    } else if (!QPrinterInfo::defaultPrinter().isNull()) {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        needsPdfName = true;
    }
    ApplyPageLayout(printer, settings.layout);
    return needsPdfName;
}

QString DefaultPdfPath(const std::string& docName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    QString base;
    for (const QChar c : ToQt(docName)) {
        base += c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
                        c == QLatin1Char('_')
                    ? c
                    : QLatin1Char('_');
    }
    if (base.isEmpty()) {
        base = QStringLiteral("Tavora");
    }
    QString path = QDir(folder).filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QDir(folder).filePath(base + QStringLiteral(" (%1).pdf").arg(n));
    }
    return path;
}

QtPrinterDevice::QtPrinterDevice(const fw::PrinterSettings& settings)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_needsPdfName = ApplyPrinterSettings(*m_printer, settings);
    m_font = PrinterFont(*m_printer);
}

QtPrinterDevice::~QtPrinterDevice() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

int QtPrinterDevice::StartDoc(const std::string& docName) {
    if (m_inDoc) {
        return -1;
    }
    m_printer->setDocName(docName.empty() ? QStringLiteral("Tavora") : ToQt(docName));
    if (m_needsPdfName) {
        m_printer->setOutputFileName(DefaultPdfPath(docName));
    }
    m_inDoc = true;
    return 1;
}

int QtPrinterDevice::StartPage() {
    if (!m_inDoc || m_inPage) {
        return -1;
    }
    // The painter opens the first page itself; later pages are asked for.
    if (!m_painter.isActive()) {
        if (!m_painter.begin(m_printer.get())) {
            return -1;
        }
        m_painter.setFont(m_font);
        m_painter.setPen(Qt::black);
    } else if (!m_printer->newPage()) {
        return -1;
    }
    m_inPage = true;
    return 1;
}

bool QtPrinterDevice::TextOut(int x, int y, const std::string& text) {
    if (!m_inPage) {
        return false;
    }
    // The caller gives the top of the text; Qt draws on the baseline.
    const QFontMetrics metrics(m_font, m_printer.get());
    m_painter.drawText(QPoint(x, y + metrics.ascent()), ToQt(text));
    return true;
}

fw::TEXTMETRIC QtPrinterDevice::GetTextMetrics() {
    const QFontMetrics metrics(m_font, m_printer.get());
    fw::TEXTMETRIC tm;
    tm.tmHeight = metrics.height();
    tm.tmAscent = metrics.ascent();
    tm.tmDescent = metrics.descent();
    tm.tmAveCharWidth = metrics.averageCharWidth();
    tm.tmExternalLeading = metrics.leading();
    return tm;
}

fw::Size QtPrinterDevice::PrintableArea() {
    return fw::Size{m_printer->width(), m_printer->height()};
}

bool QtPrinterDevice::SelectFixedPitchFont(int points) {
    if (points <= 0) {
        return false;
    }
    m_font = FixedPitchFont(points);
    if (m_painter.isActive()) {
        m_painter.setFont(m_font);
    }
    return true;
}

int QtPrinterDevice::TextWidth(const std::string& text) {
    return QFontMetrics(m_font, m_printer.get()).horizontalAdvance(ToQt(text));
}

int QtPrinterDevice::EndPage() {
    if (!m_inPage) {
        return -1;
    }
    m_inPage = false;
    return 1;
}

int QtPrinterDevice::EndDoc() {
    if (!m_inDoc) {
        return -1;
    }
    m_inDoc = false;
    m_inPage = false;
    if (m_painter.isActive() && !m_painter.end()) {
        return -1;
    }
    return 1;
}

}  // namespace fwqt
