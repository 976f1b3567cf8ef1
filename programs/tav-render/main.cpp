// tav-render [--status-bar] <template-id> <out.png>
// tav-render [--status-bar] --all <dir>
//
// Builds dialog templates as the Qt back end shows them and saves each as a PNG image, with a
// plain title strip standing in for the window manager's frame. --status-bar adds the status bar
// (text pane and key indicators) that the main window creates at run time.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/fw/dialog.h"
#include "platform/fw/window.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_text.h"
#include "res/resources.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: tav-render [--status-bar] <template-id> <out.png>\n"
                 "       tav-render [--status-bar] --all <dir>\n");
    return 2;
}

QImage WithTitleStrip(const QPixmap& body, const QString& title) {
    constexpr int kStrip = 24;
    QImage image(body.width(), body.height() + kStrip, QImage::Format_ARGB32);
    image.fill(QColor(0x30, 0x30, 0x38));
    QPainter painter(&image);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, body.width() - 16, kStrip), Qt::AlignVCenter | Qt::AlignLeft,
                     title);
    painter.drawPixmap(0, kStrip, body);
    return image;
}

bool Render(fwqt::QtBackend& backend, int id, const QString& path, bool statusBar) {
    fw::CDialog dialog(id);
    if (!dialog.Create(id)) {
        std::fprintf(stderr, "tav-render: no dialog template %d\n", id);
        return false;
    }
    fw::CStatusBar status;
    if (statusBar) {
        const fw::UINT panes[] = {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM,
                                  fw::ID_INDICATOR_SCRL};
        status.Create(&dialog);
        status.SetIndicators(panes, 4);
    }
    dialog.ShowWindow(fw::SW_SHOW);
    QApplication::processEvents();
    QWidget* widget = backend.PeerWidget(dialog);
    if (widget == nullptr) {
        std::fprintf(stderr, "tav-render: template %d has no window\n", id);
        return false;
    }
    const QImage image = WithTitleStrip(widget->grab(), widget->windowTitle());
    dialog.DestroyWindow();
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "tav-render: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%d %s\n", id, qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const bool statusBar = argc == 4 && std::string(argv[1]) == "--status-bar";
    if (argc != 3 && !statusBar) {
        return Usage();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    fw::InstallResources(&tav::TavResources());
    fwqt::QtBackend backend;
    fw::InstallBackend(&backend);

    const std::string first = argv[statusBar ? 2 : 1];
    const QString target = QString::fromLocal8Bit(argv[statusBar ? 3 : 2]);
    bool ok = true;
    if (first == "--all") {
        if (!QDir().mkpath(target)) {
            std::fprintf(stderr, "tav-render: cannot create %s\n", qPrintable(target));
            return 1;
        }
        for (const auto& tmpl : tav::TavResources().dialogs) {
            const QString path = QDir(target).filePath(QStringLiteral("%1.png").arg(tmpl.id));
            ok = Render(backend, tmpl.id, path, statusBar) && ok;
        }
    } else {
        char* end = nullptr;
        const long id = std::strtol(first.c_str(), &end, 10);
        if (end == first.c_str() || *end != '\0') {
            return Usage();
        }
        ok = Render(backend, static_cast<int>(id), target, statusBar);
    }
    fw::InstallBackend(nullptr);
    return ok ? 0 : 1;
}
