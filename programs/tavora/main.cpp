// Tavora: the application on the Qt back end, against the simulated control system.
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/tav_app.h"
#include "platform/control/control.h"
#include "platform/fw/resources.h"
#include "platform/qt/qt_backend.h"
#include "res/resources.h"

namespace {

// The application's title is the executable's name without its extension.
std::string AppTitle(const char* argv0) {
    return std::filesystem::path(argv0 != nullptr ? argv0 : "tavora").stem().string();
}

// Without a display the windows can still be looked at: each visible window is saved as a PNG
// into $TAVORA_SNAPSHOT_DIR now and then.
void StartSnapshots(QApplication& app) {
    const char* dir = std::getenv("TAVORA_SNAPSHOT_DIR");
    if (dir == nullptr || *dir == '\0') {
        return;
    }
    QDir().mkpath(dir);
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [folder = QString(dir)] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !w->windowTitle().isEmpty()) {
                QString name = w->windowTitle();
                name.replace(QRegularExpression("[^A-Za-z0-9._-]+"), "_");
                w->grab().save(folder + "/" + name + ".png");
            }
        }
    });
    timer->start(500);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    fw::InstallResources(&tav::TavResources());

    std::string error;
    control::SimulationOptions simulation;
    simulation.boardNetwork = true;
    if (!control::StartSimulation(simulation, &error)) {
        std::fprintf(stderr, "tavora: %s\n", error.c_str());
        return 2;
    }
    StartSnapshots(qapp);
    int code = 0;
    {
        fwqt::QtBackend backend;
        fw::InstallBackend(&backend);
        CTavApp app(AppTitle(argv[0]));
        code = app.Run();
        fw::InstallBackend(nullptr);
    }
    control::StopSimulation();
    return code;
}
