// The entry point of libtav_qt_print: the print dialogs and the printer device.
#include "platform/qt/print_module.h"

#include <QDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt/print_dialog.h"
#include "platform/qt/printer_device.h"

namespace fwqt {

namespace {

int RunPrintDialog(fw::PrintDialogRequest& request, QWidget* parent,
                   const RunNestedLoop& runNested) {
    if (request.pd == nullptr) {
        return fw::IDCANCEL;
    }
    fw::PRINTDLG& pd = *request.pd;
    QPrinter printer(QPrinter::HighResolution);
    if (pd.hasSettings) {
        ApplyPrinterSettings(printer, pd.settings);
    }
    int result = QDialog::Rejected;
    if (request.setupOnly) {
        QPageSetupDialog dialog(&printer, parent);
        result = runNested([&] { return dialog.exec(); });
    } else {
        QPrintDialog dialog(&printer, parent);
        ConfigurePrintDialog(dialog, pd);
        result = runNested([&] { return dialog.exec(); });
    }
    if (result != QDialog::Accepted) {
        return fw::IDCANCEL;
    }
    ReadPrinterChoice(printer, pd);
    return fw::IDOK;
}

std::unique_ptr<fw::PrinterDevice> CreatePrinterDevice(const fw::PrinterSettings& settings) {
    return std::make_unique<QtPrinterDevice>(settings);
}

constexpr PrintModule kModule{&RunPrintDialog, &CreatePrinterDevice};

}  // namespace

}  // namespace fwqt

extern "C" __attribute__((visibility("default"))) const fwqt::PrintModule* TavQtPrintModule() {
    return &fwqt::kModule;
}
