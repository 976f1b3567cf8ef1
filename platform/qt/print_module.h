// Printing on the Qt back end lives in a library of its own, libtav_qt_print, which the back end
// loads the first time something prints: Qt's print support library, which every start would
// otherwise map and relocate, is then no cost of a start that never prints.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/fw/backend.h"
#include "platform/fw/printing.h"

class QWidget;

namespace fwqt {

// Runs a dialog's own event loop the way the back end runs every nested loop.
using RunNestedLoop = std::function<int(const std::function<int()>&)>;

struct PrintModule {
    int (*runPrintDialog)(fw::PrintDialogRequest& request, QWidget* parent,
                          const RunNestedLoop& runNested);
    std::unique_ptr<fw::PrinterDevice> (*createPrinterDevice)(const fw::PrinterSettings& settings);
};

// The function the library exports, by name.
inline constexpr char kPrintModuleEntry[] = "TavQtPrintModule";

// The library, loaded on the first call; nullptr, with the reason in *error, when it cannot be.
const PrintModule* LoadPrintModule(std::string* error);

}  // namespace fwqt
