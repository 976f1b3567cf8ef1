#include "platform/qt/first_window_exit.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace fwqt {

namespace {

// Watches every object's events for the first expose of the visible top-level window named
// m_name. The window handles the expose (and paints) after the filter has seen it; the exit waits
// for the next turn of the event loop, so the figure includes the first paint.
class FirstWindowExit final : public QObject {
  public:
    FirstWindowExit(QObject* parent, QString name) : QObject(parent), m_name(std::move(name)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_seen || event->type() != QEvent::Expose) {
            return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || window->parent() != nullptr || !window->isVisible() ||
            !window->isExposed() || !IsNamedWindow(*window)) {
            return false;
        }
        m_seen = true;
        const QByteArray title = window->title().toUtf8();
        QTimer::singleShot(0, [title] {
            std::printf("first window: %s\n", title.constData());
            std::fflush(stdout);
            // Without destructors, as a benchmark wants: nothing is pending at this point.
            std::_Exit(0);
        });
        return false;
    }

  private:
    bool IsNamedWindow(const QWindow& window) const {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        return std::any_of(widgets.begin(), widgets.end(), [&](const QWidget* widget) {
            return widget->windowHandle() == &window && widget->objectName() == m_name;
        });
    }

    QString m_name;
    bool m_seen = false;
};

}  // namespace

void ExitAtFirstWindowWhenAsked(QApplication& app, const QString& windowName) {
    if (qEnvironmentVariable(kExitAtFirstWindowVariable) != "1") {
        return;
    }
    app.installEventFilter(new FirstWindowExit(&app, windowName));
}

}  // namespace fwqt
