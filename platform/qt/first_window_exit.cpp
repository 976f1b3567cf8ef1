#include "platform/qt/first_window_exit.h"

#include <unistd.h>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

namespace fwqt {

namespace {

// Watches every object's events for the first expose of the visible top-level window named
// m_name. The window handles the expose (and paints) after the filter has seen it; the exit waits
// for the next turn of the event loop, so the figure includes the first paint.
class FirstWindowExit final : public QObject {
  public:
    FirstWindowExit(QObject* parent, QString name, bool holdUntilInputEnds)
        : QObject(parent), m_name(std::move(name)), m_hold(holdUntilInputEnds) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_seen || event->type() != QEvent::Expose) {
            return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (window == nullptr || window->parent() != nullptr || !window->isVisible() ||
            !window->isExposed()) {
            return false;
        }
        const QWidget* widget = WidgetOf(*window);
        if (widget == nullptr) {
            return false;
        }
        QByteArray line;
        int code = 0;
        if (widget->objectName() == m_name) {
            line = "first window: " + window->title().toUtf8();
        } else if (const auto* box = qobject_cast<const QMessageBox*>(widget)) {
            // A message box before the window waited for (another copy runs, a start that
            // cannot go on) would wait for a click that never comes: it ends the run instead.
            QString text = box->text();
            text.replace('\n', ' ');
            line = "message box: " + window->title().toUtf8() + ": " + text.toUtf8();
            code = kEndedAtMessageBox;
        } else {
            return false;
        }
        m_seen = true;
        QTimer::singleShot(0, [line, code, hold = m_hold] {
            std::printf("%s\n", line.constData());
            std::fflush(stdout);
            if (hold && code == 0) {
                // The window stays (and whatever the process holds with it) until whoever
                // started it closes its input.
                std::thread([code] {
                    char byte = 0;
                    for (;;) {
                        const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
                        if (got == 0 || (got < 0 && errno != EINTR)) {
                            std::_Exit(code);
                        }
                    }
                }).detach();
                return;
            }
            // Without destructors, as a benchmark wants: nothing is pending at this point.
            std::_Exit(code);
        });
        return false;
    }

  private:
    static const QWidget* WidgetOf(const QWindow& window) {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        const auto found = std::find_if(widgets.begin(), widgets.end(), [&](const QWidget* w) {
            return w->windowHandle() == &window;
        });
        return found == widgets.end() ? nullptr : *found;
    }

    QString m_name;
    bool m_hold;
    bool m_seen = false;
};

}  // namespace

void ExitAtFirstWindowWhenAsked(QApplication& app, const QString& windowName) {
    const QString value = qEnvironmentVariable(kExitAtFirstWindowVariable);
    if (value != "1" && value != "after-input") {
        return;
    }
    app.installEventFilter(new FirstWindowExit(&app, windowName, value == "after-input"));
}

}  // namespace fwqt
