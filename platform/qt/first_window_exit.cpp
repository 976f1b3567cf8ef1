#include "platform/qt/first_window_exit.h"

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <utility>

namespace fwqt {

namespace {

enum class AtWindow {
    Exit,             // end at once, without destructors
    HoldUntilInput,   // stay until standard input ends
    ExitThroughMenu,  // end as the operator does, through the menu's exit command
};

constexpr int kSettleMs = 500;

double MonotonicMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

void HoldUntilInputEnds() {
    // The window stays (and whatever the process holds with it) until whoever started it closes
    // its input.
    std::thread([] {
        char byte = 0;
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
            if (got == 0 || (got < 0 && errno != EINTR)) {
                std::_Exit(0);
            }
        }
    }).detach();
}

void ExitThroughMenu(QPointer<QWidget> window, const QString& command) {
    QTimer::singleShot(kSettleMs, [window, command] {
        QAction* exit = window ? window->findChild<QAction*>(command) : nullptr;
        if (exit == nullptr) {
            std::printf("no menu command %s\n", command.toUtf8().constData());
            std::fflush(stdout);
            std::_Exit(kNoExitCommand);
        }
        std::printf("exit asked at %.3f\n", MonotonicMs());
        std::fflush(stdout);
        exit->trigger();
    });
}

// Watches every object's events for the first expose of the visible top-level window named
// m_name. The window handles the expose (and paints) after the filter has seen it; the exit waits
// for the next turn of the event loop, so the figure includes the first paint.
class FirstWindowExit final : public QObject {
  public:
    FirstWindowExit(QObject* parent, QString name, AtWindow then, QString exitCommand)
        : QObject(parent),
          m_name(std::move(name)),
          m_then(then),
          m_exitCommand(std::move(exitCommand)) {}

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
        QWidget* widget = WidgetOf(*window);
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
        QTimer::singleShot(0, [line, code, then = m_then, target = QPointer<QWidget>(widget),
                               command = m_exitCommand] {
            std::printf("%s\n", line.constData());
            std::fflush(stdout);
            if (code == 0 && then == AtWindow::HoldUntilInput) {
                HoldUntilInputEnds();
                return;
            }
            if (code == 0 && then == AtWindow::ExitThroughMenu) {
                ExitThroughMenu(target, command);
                return;
            }
            // Without destructors, as a benchmark wants: nothing is pending at this point.
            std::_Exit(code);
        });
        return false;
    }

  private:
    static QWidget* WidgetOf(const QWindow& window) {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        const auto found = std::find_if(widgets.begin(), widgets.end(), [&](const QWidget* w) {
            return w->windowHandle() == &window;
        });
        return found == widgets.end() ? nullptr : *found;
    }

    QString m_name;
    AtWindow m_then;
    QString m_exitCommand;
    bool m_seen = false;
};

}  // namespace

void ExitAtFirstWindowWhenAsked(QApplication& app, const QString& windowName,
                                const QString& exitCommand) {
    const QString value = qEnvironmentVariable(kExitAtFirstWindowVariable);
    AtWindow then = AtWindow::Exit;
    if (value == "after-input") {
        then = AtWindow::HoldUntilInput;
    } else if (value == "menu-exit" && !exitCommand.isEmpty()) {
        then = AtWindow::ExitThroughMenu;
    } else if (value != "1") {
        return;
    }
    app.installEventFilter(new FirstWindowExit(&app, windowName, then, exitCommand));
}

}  // namespace fwqt
