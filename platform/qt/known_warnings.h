// Warnings Qt prints on every offscreen or service-account run that say nothing about the
// program: the offscreen platform cannot pass size hints on to a window manager it does not
// have, and a session without XDG_RUNTIME_DIR (a root shell, a container) gets a folder of Qt's
// choosing, which is all we need of it. They are dropped; every other message goes through.
#pragma once

#include <QString>

namespace fwqt {

bool IsKnownHarmlessWarning(const QString& message);

// Installs the filter in front of Qt's message handler. Call before the QApplication.
void QuietKnownWarnings();

}  // namespace fwqt
