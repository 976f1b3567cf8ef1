#include "programs/tav-scenario/qt_side.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "platform/qt/known_warnings.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/widgets.h"
#include "platform/qt/window_peer.h"
#include "programs/tav-scenario/pictures.h"
#include "programs/tav-scenario/qt_driven_backend.h"

namespace {

class QtSideImpl final : public QtSide {
  public:
    explicit QtSideImpl(headless::HeadlessBackend& driven)
        : m_app(MakeApplication()),
          m_qt(std::make_unique<fwqt::QtBackend>()),
          m_backend(std::make_unique<QtDrivenBackend>(driven, *m_qt)) {}
    ~QtSideImpl() override {
        fw::InstallBackend(nullptr);
        m_backend.reset();
        m_qt.reset();
    }
    fw::Backend* Backend() override { return m_backend.get(); }
    bool Snapshot(const fw::CWnd& window, const std::string& path) override {
        QApplication::processEvents();
        // The window's peer sits behind the transcript's, so look for its widget.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* top = dynamic_cast<fwqt::PeerWindow*>(widget);
            if (top != nullptr && top->Peer() != nullptr && &top->Peer()->Window() == &window) {
                return pictures::Save(*widget, widget->windowTitle(), QString::fromStdString(path));
            }
        }
        return false;
    }
    bool SnapshotMessageBox(const fw::MessageBoxRequest& request, const std::string& path,
                            bool detailsShown) override {
        // The scenario answers the box itself; the picture is of the box the Qt back end would
        // have shown, built the same way, shown for the moment of the picture.
        const std::unique_ptr<QMessageBox> box =
            fwqt::MakeMessageBox(fwqt::MapMessageBox(request), nullptr);
        box->show();
        QApplication::processEvents();
        if (detailsShown && !pictures::ShowDetails(*box)) {
            return false;
        }
        const bool saved = pictures::Save(*box, box->windowTitle(), QString::fromStdString(path));
        box->hide();
        return saved;
    }

  private:
    static std::unique_ptr<QApplication> MakeApplication() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        fwqt::QuietKnownWarnings();
        static int argc = 1;
        static char name[] = "tav-scenario";
        static char* argv[] = {name, nullptr};
        return std::make_unique<QApplication>(argc, argv);
    }

    std::unique_ptr<QApplication> m_app;
    std::unique_ptr<fwqt::QtBackend> m_qt;
    std::unique_ptr<QtDrivenBackend> m_backend;
};

}  // namespace

std::unique_ptr<QtSide> MakeQtSide(headless::HeadlessBackend& driven) {
    return std::make_unique<QtSideImpl>(driven);
}
