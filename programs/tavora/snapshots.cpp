#include "programs/tavora/snapshots.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace tavora {

void SaveSnapshots(const QString& folder, int& seen) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowTitle().isEmpty()) {
            continue;
        }
        QVariant number = w->property("tavSnapshot");
        if (!number.isValid()) {
            number = ++seen;
            w->setProperty("tavSnapshot", number);
        }
        QString name = w->windowTitle();
        name.replace(QRegularExpression("[^A-Za-z0-9._-]+"), "_");
        w->grab().save(
            QString("%1/%2-%3.png").arg(folder).arg(number.toInt(), 2, 10, QChar('0')).arg(name));
    }
}

void StartSnapshots(QApplication& app) {
    const QString folder = qEnvironmentVariable("TAVORA_SNAPSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout,
                     [folder, seen = 0]() mutable { SaveSnapshots(folder, seen); });
    timer->start(500);
}

}  // namespace tavora
