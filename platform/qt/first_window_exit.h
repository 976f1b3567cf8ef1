// For start-up benchmarks and checks only: with TAVORA_BENCH_EXIT_AT_FIRST_WINDOW=1 in the
// environment, the process prints the title of the window it was waiting for on stdout and ends as
// soon as that window has been exposed and painted. Tavora (its main dialog) and the bare Qt dialog
// of bench/ end at the same point, so the time to their first window and their peak memory until
// then compare like for like. A message box shown before that window ends the process as well: it
// prints "message box: <title>: <text>" and exits with kEndedAtMessageBox. With the value
// "after-input" the line is printed at the same point but, at the window waited for, the process
// ends only when its standard input reaches its end, so that whoever started it decides how long it
// stays (the start race of scripts/start-race.sh keeps one copy up until the other has ended).
// With "menu-exit" the line is printed at the same point, and half a second later (the session
// settled: the boards' first reports in) the process prints "exit asked at <ms>" (the monotonic
// clock, as spawn_measure's end time) and triggers the window's menu command named exitCommand,
// so that it ends the way it does when an operator chooses File > Exit.
// Without the variable nothing is installed and nothing changes.
#pragma once

#include <QString>

class QApplication;

namespace fwqt {

inline constexpr char kExitAtFirstWindowVariable[] = "TAVORA_BENCH_EXIT_AT_FIRST_WINDOW";
inline constexpr int kEndedAtMessageBox = 3;
inline constexpr int kNoExitCommand = 4;

// Call once, after the QApplication is made and before any window is shown. The window waited
// for is the top-level widget named windowName (QObject::objectName); windows shown before it,
// such as a please-wait window, do not count. exitCommand names the menu action (objectName) that
// "menu-exit" triggers.
void ExitAtFirstWindowWhenAsked(QApplication& app, const QString& windowName,
                                const QString& exitCommand = {});

}  // namespace fwqt
