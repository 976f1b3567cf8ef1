#include "platform/qt/widgets.h"

#include <qdrawutil.h>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>

#include "platform/qt/window_peer.h"

namespace fwqt {

void PeerWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_peer != nullptr) {
        m_peer->OnCloseBox();
    }
}

void FwComboBox::showPopup() {
    if (m_onDropDown && !m_onDropDown()) {
        return;
    }
    QComboBox::showPopup();
}

void FwGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // An etched line, as styles would otherwise leave room for the title above the frame.
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true);
    const QString text = title();
    if (text.isEmpty()) {
        return;
    }
    const int indent = metrics.averageCharWidth();
    const int gap = qMax(2, indent / 3);
    const QRect textRect(indent + gap, 0, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(textRect.adjusted(-gap, 0, gap, 0), palette().brush(backgroundRole()));
    style()->drawItemText(&painter, textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic,
                          palette(), isEnabled(), text, QPalette::WindowText);
}

void BringToFront(QWidget* window) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window->raise();
    }
    window->activateWindow();
}

}  // namespace fwqt
