#include "platform/qt/known_warnings.h"

#include <QtGlobal>

namespace fwqt {

namespace {

QtMessageHandler g_next = nullptr;

void Filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && IsKnownHarmlessWarning(message)) {
        return;
    }
    if (g_next != nullptr) {
        g_next(type, context, message);
    }
}

}  // namespace

bool IsKnownHarmlessWarning(const QString& message) {
    return message == QLatin1String("This plugin does not support propagateSizeHints()") ||
           message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void QuietKnownWarnings() {
    g_next = qInstallMessageHandler(Filter);
}

}  // namespace fwqt
