// Tavora: the application on the Qt back end, against the simulated control system.
#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/control/simulation.h"
#include "platform/fw/resources.h"
#include "platform/fw/types.h"
#include "platform/qt/first_window_exit.h"
#include "platform/qt/known_warnings.h"
#include "platform/qt/qt_backend.h"
#include "programs/tavora/command_line.h"
#include "programs/tavora/snapshots.h"
#include "programs/tavora/startup.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

// The application's title is the executable's name without its extension.
std::string AppTitle(const char* argv0) {
    return std::filesystem::path(argv0 != nullptr ? argv0 : "tavora").stem().string();
}

bool OnDesktop() {
    const QString platform = QGuiApplication::platformName();
    return platform != "offscreen" && platform != "minimal";
}

// A user who started Tavora from the launcher has no terminal to read stderr on.
void ReportConfigurationError(const std::string& error) {
    std::fprintf(stderr, "tavora: %s\n", error.c_str());
    if (OnDesktop()) {
        QMessageBox::critical(nullptr, "tavora",
                              "Tavora cannot start: its configuration could not be loaded.\n\n" +
                                  QString::fromStdString(error));
    }
}

// For demonstrations without a display: TAVORA_ANSWER_STARTUP=no answers the first start's
// question (set up the System Definition Table now?) with No, so the main window opens.
void AnswerStartupQuestion(QApplication& app) {
    if (qEnvironmentVariable("TAVORA_ANSWER_STARTUP") != "no") {
        return;
    }
    auto* timer = new QTimer(&app);
    QObject::connect(timer, &QTimer::timeout, [timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->windowTitle() != "Load System Definition Table") {
            return;
        }
        if (QAbstractButton* no = box->button(QMessageBox::No)) {
            timer->stop();
            no->click();
        }
    });
    timer->start(100);
}

}  // namespace

int main(int argc, char** argv) {
    const tavora::CommandLine line =
        tavora::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case tavora::CommandLine::Action::Help:
            std::fputs(tavora::UsageText().c_str(), stdout);
            return 0;
        case tavora::CommandLine::Action::Version:
            std::fputs(tavora::VersionText().c_str(), stdout);
            return 0;
        case tavora::CommandLine::Action::Error:
            std::fprintf(stderr, "tavora: %s\nTry 'tavora --help'.\n", line.error.c_str());
            return 2;
        case tavora::CommandLine::Action::Run:
            break;
    }

    fwqt::QuietKnownWarnings();
    QApplication qapp(argc, argv);
    fwqt::ExitAtFirstWindowWhenAsked(qapp, QStringLiteral("dialog%1").arg(IDD_TAV_DIALOG),
                                     QStringLiteral("command%1").arg(fw::ID_APP_EXIT));
    fw::InstallResources(&tav::TavResources());
    tavora::StartSnapshots(qapp);
    AnswerStartupQuestion(qapp);
    fwqt::QtBackend backend;
    fw::InstallBackend(&backend);
    control::SimulationOptions simulation;
    simulation.boardNetwork = true;
    const int code = tavora::RunTavora(AppTitle(argv[0]), simulation, ReportConfigurationError);
    fw::InstallBackend(nullptr);
    return code;
}
