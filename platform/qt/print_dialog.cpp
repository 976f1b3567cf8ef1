#include "platform/qt/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/qt/printer_device.h"
#include "platform/qt/qt_text.h"

namespace fwqt {

void ConfigurePrintDialog(QPrintDialog& dialog, const fw::PRINTDLG& pd) {
    QAbstractPrintDialog::PrintDialogOptions options =
        QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintSelection |
        QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies |
        QAbstractPrintDialog::PrintShowPageSize;
    if ((pd.Flags & fw::PD_NOSELECTION) != 0) {
        options &= ~QAbstractPrintDialog::PrintSelection;
    }
    if ((pd.Flags & fw::PD_NOPAGENUMS) != 0) {
        options &= ~QAbstractPrintDialog::PrintPageRange;
    }
    // Printing to a PDF file is the only way to print on a machine without printers, so it is
    // hidden only when a real printer exists.
    if ((pd.Flags & fw::PD_HIDEPRINTTOFILE) != 0 &&
        !QPrinterInfo::availablePrinterNames().isEmpty()) {
        options &= ~QAbstractPrintDialog::PrintToFile;
    }
    dialog.setOptions(options);
    if ((pd.Flags & fw::PD_NOPAGENUMS) == 0 && pd.nMinPage <= pd.nMaxPage) {
        dialog.setMinMax(pd.nMinPage, pd.nMaxPage);
        if (pd.nFromPage >= pd.nMinPage && pd.nFromPage <= pd.nToPage &&
            pd.nToPage <= pd.nMaxPage && pd.nFromPage > 0) {
            dialog.setFromTo(pd.nFromPage, pd.nToPage);
        }
    }
}

void ReadPrinterChoice(const QPrinter& printer, fw::PRINTDLG& pd) {
    fw::PrinterSettings settings;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        settings.outputFile = FromQt(printer.outputFileName());
    } else {
        settings.printerName = FromQt(printer.printerName());
    }
    settings.copies = printer.copyCount() > 0 ? printer.copyCount() : 1;
    settings.layout = ReadPageLayout(printer);
    pd.settings = settings;
    pd.hasSettings = true;
    if (printer.printRange() == QPrinter::PageRange) {
        pd.nFromPage = static_cast<fw::WORD>(printer.fromPage());
        pd.nToPage = static_cast<fw::WORD>(printer.toPage());
    }
}

}  // namespace fwqt
