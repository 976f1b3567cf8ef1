#include "platform/qt/qt_backend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "platform/fw/message_queue.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/deferred_icon_style.h"
#include "platform/qt/dialog_units.h"
#include "platform/qt/input_gate.h"
#include "platform/qt/message_box.h"
#include "platform/qt/print_module.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/widgets.h"
#include "platform/qt/window_peer.h"

namespace fwqt {

namespace {

// The icon resource that stands for the application, by the platform's convention.
constexpr int kMainIconId = 128;

const fw::CWnd* InnermostModal(const std::vector<fw::CWnd*>& windows, std::size_t* index) {
    for (std::size_t i = windows.size(); i-- > 0;) {
        if (windows[i]->IsInModalLoop()) {
            *index = i;
            return windows[i];
        }
    }
    return nullptr;
}

}  // namespace

QtBackend::QtBackend()
    : m_dispatcher(QCoreApplication::instance()->thread()->eventDispatcher()),
      m_pumpTarget(std::make_unique<QObject>()),
      m_gate(std::make_unique<InputGate>(*this)) {
    InstallDeferredIconStyle();
    InstallAccessibility();
    QCoreApplication::instance()->installEventFilter(m_gate.get());
    // The framework's idea of the focus follows the user's moves, so that a later SetFocus from
    // the program is seen as a change.
    QObject::connect(qApp, &QApplication::focusChanged, m_pumpTarget.get(),
                     [](QWidget* /*old*/, QWidget* now) {
                         if (now == nullptr) {
                             return;
                         }
                         if (auto* top = dynamic_cast<PeerWindow*>(now->window());
                             top != nullptr && top->Peer() != nullptr) {
                             top->Peer()->OnFocusMoved(now);
                         }
                     });
}

QtBackend::~QtBackend() {
    if (fw::HasBackend() && &fw::GetBackend() == this) {
        fw::InstallBackend(nullptr);
    }
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(m_gate.get());
    }
    if (m_waitCursor) {
        QApplication::restoreOverrideCursor();
    }
    for (const auto& widget : m_graveyard) {
        delete widget.data();
    }
}

std::unique_ptr<fw::WindowPeer> QtBackend::CreatePeer(fw::CWnd& window) {
    if (!m_iconSet) {
        m_iconSet = true;
        const QPixmap icon = IconPixmap(kMainIconId);
        if (!icon.isNull()) {
            QApplication::setWindowIcon(QIcon(icon));
        }
    }
    return std::make_unique<QtWindowPeer>(*this, window);
}

void QtBackend::WaitForEvents(fw::CWnd& /*modalWindow*/) {
    ReapIfIdle();
    SyncFocus();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtBackend::WaitForEventsFor(fw::CWnd& /*window*/, unsigned milliseconds) {
    ReapIfIdle();
    SyncFocus();
    // The timer's event ends the wait when nothing else does.
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.start(static_cast<int>(milliseconds));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtBackend::ProcessPendingEvents() {
    ReapIfIdle();
    SyncFocus();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtBackend::SyncFocus() {
    // The framework has no focus notification; the program's SetFocus is picked up here.
    for (const fw::CWnd* window : fw::CWnd::TopLevelWindows()) {
        if (QtWindowPeer* peer = PeerOf(*window)) {
            peer->SyncFocus();
        }
    }
}

void QtBackend::Wake() {
    // Any thread: both calls are thread-safe.
    m_dispatcher->wakeUp();
    if (m_nestedLoops.load() > 0) {
        QMetaObject::invokeMethod(
            m_pumpTarget.get(), [this] { PumpDuringNestedLoop(); }, Qt::QueuedConnection);
    }
}

int QtBackend::ShowMessageBox(const fw::MessageBoxRequest& request) {
    QWidget* parent = request.owner != nullptr ? PeerWidget(*request.owner) : nullptr;
    if (parent != nullptr && !parent->isVisible()) {
        parent = nullptr;
    }
    const MessageBoxSetup setup = MapMessageBox(request);
    return RunNested([&] { return ExecMessageBox(setup, parent); });
}

int QtBackend::RunPrintDialog(fw::PrintDialogRequest& request) {
    std::string error;
    const PrintModule* print = LoadPrintModule(&error);
    if (print == nullptr) {
        std::fprintf(stderr, "tavora: printing is not available: %s\n", error.c_str());
        return fw::IDCANCEL;
    }
    return print->runPrintDialog(
        request, QApplication::activeWindow(),
        [this](const std::function<int()>& exec) { return RunNested(exec); });
}

std::unique_ptr<fw::PrinterDevice> QtBackend::CreatePrinterDevice(
    const fw::PrinterSettings& settings) {
    std::string error;
    const PrintModule* print = LoadPrintModule(&error);
    if (print == nullptr) {
        std::fprintf(stderr, "tavora: printing is not available: %s\n", error.c_str());
        return nullptr;
    }
    return print->createPrinterDevice(settings);
}

int QtBackend::GetSystemMetrics(int index) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    switch (index) {
        case fw::SM_CXSCREEN:
            return screen != nullptr ? screen->geometry().width() : 1024;
        case fw::SM_CYSCREEN:
            return screen != nullptr ? screen->geometry().height() : 768;
        case fw::SM_CXHTHUMB:
            return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        default:
            return 0;
    }
}

fw::Size QtBackend::DialogBaseUnits(const fw::DialogTemplate& tmpl) const {
    const auto key = std::make_pair(tmpl.fontFace, tmpl.fontPoints);
    auto it = m_baseUnits.find(key);
    if (it == m_baseUnits.end()) {
        it = m_baseUnits.emplace(key, BaseUnitsOf(DialogFont(tmpl))).first;
    }
    return it->second;
}

int QtBackend::TextWidth(const std::string& text, const std::string& fontFace, int points) const {
    return QFontMetrics(FaceFont(fontFace, points)).horizontalAdvance(ToQt(text));
}

void QtBackend::SetWaitCursor(bool on) {
    if (on && !m_waitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!on && m_waitCursor) {
        QApplication::restoreOverrideCursor();
    }
    m_waitCursor = on;
}

QtWindowPeer* QtBackend::PeerOf(const fw::CWnd& window) {
    return dynamic_cast<QtWindowPeer*>(window.GetPeer());
}

QWidget* QtBackend::PeerWidget(const fw::CWnd& window) const {
    const fw::CWnd* top = &window;
    while (!top->IsTopLevel() && top->GetParent() != nullptr) {
        top = top->GetParent();
    }
    const QtWindowPeer* peer = PeerOf(*top);
    return peer != nullptr ? peer->TopWidget() : nullptr;
}

QWidget* QtBackend::ControlWidget(const fw::CWnd& control) const {
    const fw::CWnd* top = control.GetParent();
    while (top != nullptr && !top->IsTopLevel()) {
        top = top->GetParent();
    }
    const QtWindowPeer* peer = top != nullptr ? PeerOf(*top) : nullptr;
    return peer != nullptr ? peer->ControlWidget(control) : nullptr;
}

bool QtBackend::AcceptsInput(const fw::CWnd& window) const {
    if (window.IsWindowEnabled() == fw::FALSE) {
        return false;
    }
    const std::vector<fw::CWnd*> windows = fw::CWnd::TopLevelWindows();
    std::size_t modalIndex = 0;
    const fw::CWnd* modal = InnermostModal(windows, &modalIndex);
    if (modal == nullptr || modal == &window) {
        return true;
    }
    // Windows opened after the modal one lie above it and stay usable.
    for (std::size_t i = modalIndex + 1; i < windows.size(); ++i) {
        if (windows[i] == &window) {
            return true;
        }
    }
    return false;
}

void QtBackend::ActivateModalWindow() const {
    std::size_t index = 0;
    if (const fw::CWnd* modal = InnermostModal(fw::CWnd::TopLevelWindows(), &index)) {
        if (QWidget* widget = PeerWidget(*modal)) {
            BringToFront(widget);
        }
    }
}

void QtBackend::Retire(QWidget* top) {
    top->hide();
    if (m_userCalls == 0 && m_nestedLoops.load() == 0) {
        delete top;
    } else {
        m_graveyard.emplace_back(top);
    }
}

void QtBackend::ReapIfIdle() {
    if (m_userCalls != 0 || m_nestedLoops.load() != 0 || m_graveyard.empty()) {
        return;
    }
    std::vector<QPointer<QWidget>> dead;
    dead.swap(m_graveyard);
    for (const auto& widget : dead) {
        delete widget.data();
    }
}

int QtBackend::RunNested(const std::function<int()>& exec) {
    const bool outerQuit = m_quitInNested;
    m_quitInNested = false;
    ++m_nestedLoops;
    // Messages that were already waiting are delivered as soon as the dialog's loop runs.
    QMetaObject::invokeMethod(
        m_pumpTarget.get(), [this] { PumpDuringNestedLoop(); }, Qt::QueuedConnection);
    const int result = exec();
    --m_nestedLoops;
    m_quitInNested = outerQuit;
    return result;
}

void QtBackend::PumpDuringNestedLoop() {
    const int level = m_nestedLoops.load();
    if (level == 0 || m_quitInNested || m_pumpingLevel == level) {
        return;
    }
    const int outer = m_pumpingLevel;
    m_pumpingLevel = level;
    // A quit ends nothing here; it stays posted for the framework's loops to see.
    if (!fw::PumpWaitingMessages()) {
        m_quitInNested = true;
    }
    m_pumpingLevel = outer;
}

}  // namespace fwqt
