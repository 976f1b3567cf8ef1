// The standard print dialog: the framework's PRINTDLG in, the user's choice of printer out.
#pragma once

#include "platform/fw/printing.h"

class QPrintDialog;
class QPrinter;

namespace fwqt {

// Options and page limits of the dialog from the request's flags and page numbers.
void ConfigurePrintDialog(QPrintDialog& dialog, const fw::PRINTDLG& pd);

// Writes the chosen printer (or PDF file), copies, page layout and page range back into pd.
void ReadPrinterChoice(const QPrinter& printer, fw::PRINTDLG& pd);

}  // namespace fwqt
