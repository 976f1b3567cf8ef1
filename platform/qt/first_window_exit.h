// For start-up benchmarks only: with TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=1 in the environment, the
// process prints the title of the window it was waiting for on stdout and ends as soon as that
// window has been exposed and painted. Tavora (its main dialog) and the bare Qt dialog of bench/
// end at the same point, so the time to their first window and their peak memory until then
// compare like for like. Without the variable nothing is installed and nothing changes.
#pragma once

#include <QString>

class QApplication;

namespace fwqt {

inline constexpr char kExitAtFirstWindowVariable[] = "TAVORA_BENCH_EXIT_AT_FIRST_WINDOW";

// Call once, after the QApplication is made and before any window is shown. The window waited
// for is the top-level widget named windowName (QObject::objectName); windows shown before it,
// such as a please-wait window, do not count.
void ExitAtFirstWindowWhenAsked(QApplication& app, const QString& windowName);

}  // namespace fwqt
