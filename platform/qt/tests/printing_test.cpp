// Printing into a PDF file, the print dialog's options and the printer chosen in it.
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/fw/printing.h"
#include "platform/qt/print_dialog.h"
#include "platform/qt/printer_device.h"
#include "qt_fixture.h"

namespace qttest {
namespace {

int CountPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    int count = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next()) {
        ++count;
    }
    return count;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(QtTest, PrinterDeviceWritesAPdfWithItsPages) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("out.pdf");
    fw::PrinterSettings settings;
    settings.outputFile = path.toStdString();
    fw::CDC dc;
    ASSERT_TRUE(dc.CreatePrinterDC(settings));
    fw::DOCINFO info;
    info.lpszDocName = "TAV.IXT";
    EXPECT_GT(dc.StartDoc(&info), 0);
    fw::TEXTMETRIC tm;
    ASSERT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    for (int page = 0; page < 2; ++page) {
        EXPECT_GT(dc.StartPage(), 0);
        for (int line = 0; line < 62; ++line) {
            const std::string text = "Line " + std::to_string(line);
            EXPECT_TRUE(
                dc.TextOut(0, line * tm.tmHeight, text.c_str(), static_cast<int>(text.size())));
        }
        EXPECT_GT(dc.EndPage(), 0);
    }
    EXPECT_GT(dc.EndDoc(), 0);
    dc.DeleteDC();
    const QByteArray pdf = ReadAll(path);
    ASSERT_FALSE(pdf.isEmpty());
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(CountPages(pdf), 2);
}

TEST_F(QtTest, SixtyTwoLinesFitOnAPageAndADocumentWithoutPagesWritesNone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.pdf");
    fw::PrinterSettings settings;
    settings.outputFile = path.toStdString();
    fwqt::QtPrinterDevice device(settings);
    EXPECT_LE(62 * device.GetTextMetrics().tmHeight, device.Printer().height());
    EXPECT_GT(device.StartDoc("empty"), 0);
    EXPECT_GT(device.EndDoc(), 0);
    EXPECT_EQ(CountPages(ReadAll(path)), 0);
    EXPECT_FALSE(device.TextOut(0, 0, "late"));
}

TEST_F(QtTest, PrinterDeviceMeasuresTheChosenFontOnThePrintableArea) {
    QTemporaryDir dir;
    fw::PrinterSettings settings;
    settings.outputFile = dir.filePath("area.pdf").toStdString();
    settings.layout = {true, "A4", 210, 297, true, 10, 10, 10, 10};
    fwqt::QtPrinterDevice device(settings);
    const fw::Size area = device.PrintableArea();
    EXPECT_EQ(area.cx, device.Printer().width());
    EXPECT_EQ(area.cy, device.Printer().height());
    EXPECT_NEAR(area.cx / static_cast<double>(device.Printer().resolution()), 277 / 25.4, 0.02);
    EXPECT_NEAR(area.cy / static_cast<double>(device.Printer().resolution()), 190 / 25.4, 0.02);
    ASSERT_TRUE(device.SelectFixedPitchFont(10));
    const int ten = device.TextWidth("0123456789");
    const int tall = device.GetTextMetrics().tmHeight;
    ASSERT_TRUE(device.SelectFixedPitchFont(7));
    // Fixed pitch: every character as wide as a digit.
    EXPECT_EQ(device.TextWidth("iiiiiiiiii"), device.TextWidth("MMMMMMMMMM"));
    EXPECT_NEAR(device.TextWidth("0123456789"), ten * 0.7, ten * 0.02);
    EXPECT_LT(device.GetTextMetrics().tmHeight, tall);
    EXPECT_FALSE(device.SelectFixedPitchFont(0));
}

TEST_F(QtTest, PrintDialogHonoursTheFlags) {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    fw::PRINTDLG pd;
    pd.Flags = fw::PD_NOSELECTION | fw::PD_NOPAGENUMS | fw::PD_USEDEVMODECOPIESANDCOLLATE |
               fw::PD_HIDEPRINTTOFILE;
    pd.nMinPage = 0;
    pd.nMaxPage = 2;
    fwqt::ConfigurePrintDialog(dialog, pd);
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    // Without any printer, a PDF file is the only way out and stays offered.
    EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintToFile),
              QPrinterInfo::availablePrinterNames().isEmpty());

    fw::PRINTDLG pages;
    pages.nMinPage = 1;
    pages.nMaxPage = 5;
    pages.nFromPage = 2;
    pages.nToPage = 4;
    QPrintDialog second(&printer);
    fwqt::ConfigurePrintDialog(second, pages);
    EXPECT_TRUE(second.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(second.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(second.minPage(), 1);
    EXPECT_EQ(second.maxPage(), 5);
    EXPECT_EQ(second.fromPage(), 2);
    EXPECT_EQ(second.toPage(), 4);
}

TEST_F(QtTest, ChosenPdfFileGoesBackIntoTheSettingsAndDefaultNamesAreSafe) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/tmp/chosen.pdf");
    printer.setCopyCount(2);
    fw::PRINTDLG pd;
    fwqt::ReadPrinterChoice(printer, pd);
    EXPECT_TRUE(pd.hasSettings);
    EXPECT_EQ(pd.settings.outputFile, "/tmp/chosen.pdf");
    EXPECT_EQ(pd.settings.printerName, "");
    EXPECT_EQ(pd.settings.copies, 2);
    EXPECT_TRUE(fwqt::DefaultPdfPath("TAV.IXT").contains("TAV.IXT"));
    EXPECT_TRUE(fwqt::DefaultPdfPath("a/b").contains("a_b"));
}

TEST_F(QtTest, PageLayoutChosenOnceComesBackOnTheNextPrinter) {
    struct Case {
        const char* name;
        double width, height;
        bool landscape;
        double left, top, right, bottom;
    };
    const Case cases[] = {
        {"A5", 148, 210, true, 20, 15, 10, 25},
        {"Letter", 215.9, 279.4, false, 12.7, 12.7, 12.7, 12.7},
        {"", 100, 150, false, 5, 5, 5, 5},  // a size the print system has no name for
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fw::PrinterSettings settings;
        settings.outputFile = dir.filePath("layout.pdf").toStdString();
        settings.layout = {true,   c.name, c.width, c.height, c.landscape,
                           c.left, c.top,  c.right, c.bottom};
        QPrinter printer(QPrinter::HighResolution);
        fwqt::ApplyPrinterSettings(printer, settings);
        fw::PRINTDLG pd;
        fwqt::ReadPrinterChoice(printer, pd);
        const fw::PageLayout& got = pd.settings.layout;
        EXPECT_TRUE(got.chosen);
        EXPECT_NEAR(got.paperWidthMm, c.width, 0.5);
        EXPECT_NEAR(got.paperHeightMm, c.height, 0.5);
        EXPECT_EQ(got.landscape, c.landscape);
        EXPECT_NEAR(got.marginLeftMm, c.left, 0.1);
        EXPECT_NEAR(got.marginTopMm, c.top, 0.1);
        EXPECT_NEAR(got.marginRightMm, c.right, 0.1);
        EXPECT_NEAR(got.marginBottomMm, c.bottom, 0.1);
        if (c.name[0] != '\0') {
            EXPECT_EQ(got.paperName.rfind(c.name, 0), 0u) << got.paperName;
        }
        // The device prints on that paper: a landscape page is wider than it is high.
        fwqt::QtPrinterDevice device(settings);
        EXPECT_EQ(device.Printer().pageLayout().orientation() == QPageLayout::Landscape,
                  c.landscape);
    }
}

}  // namespace
}  // namespace qttest
