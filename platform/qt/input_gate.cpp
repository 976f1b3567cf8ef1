#include "platform/qt/input_gate.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "platform/qt/qt_backend.h"
#include "platform/qt/widgets.h"
#include "platform/qt/window_peer.h"

namespace fwqt {

namespace {

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!IsInput(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    // A drop-down list or a menu belongs to the window it drops down from.
    QWidget* window = static_cast<QWidget*>(watched)->window();
    bool inPopup = false;
    while (window != nullptr && window->windowType() == Qt::Popup &&
           dynamic_cast<PeerWindow*>(window) == nullptr) {
        inPopup = true;
        QWidget* parent = window->parentWidget();
        window = parent != nullptr ? parent->window() : nullptr;
    }
    auto* top = dynamic_cast<PeerWindow*>(window);
    if (top == nullptr || top->Peer() == nullptr) {
        return false;
    }
    QtWindowPeer* peer = top->Peer();
    if (!m_backend.AcceptsInput(peer->Window())) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_backend.ActivateModalWindow();
        }
        return true;
    }
    if (event->type() != QEvent::KeyPress || inPopup) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                  key->key() == Qt::Key_Escape)) {
        return peer->OnDialogKey(static_cast<QWidget*>(watched), key->key());
    }
    if (plain && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                  key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
        return peer->OnRadioArrow(static_cast<QWidget*>(watched), key->key());
    }
    return false;
}

}  // namespace fwqt
