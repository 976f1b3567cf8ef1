#include "programs/tav-scenario/qt_side.h"

// A build without Qt plays scenarios on the headless back end only.
std::unique_ptr<QtSide> MakeQtSide(headless::HeadlessBackend& /*driven*/) {
    return nullptr;
}
