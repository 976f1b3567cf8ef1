#include "platform/qt/deferred_icon_style.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>
#include <optional>
#include <utility>

namespace fwqt {

namespace {

// An icon that asks the base style for the real one the first time anything needs it, and then
// answers as that one does. Used only where the answers are the real icon's engine's own: at a
// device pixel ratio of 1, QIcon hands size and pixmap questions to its engine unchanged.
class DeferredIconEngine final : public QIconEngine {
  public:
    DeferredIconEngine(QPointer<QStyle> base, QStyle::StandardPixmap which,
                       QPointer<const QWidget> widget)
        : m_base(std::move(base)), m_which(which), m_widget(std::move(widget)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().pixmap(size, 1.0, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Real().availableSizes(mode, state);
    }
    bool isNull() override { return Real().isNull(); }
    QString key() const override { return QStringLiteral("tavora-deferred"); }
    QIconEngine* clone() const override {
        auto* copy = new DeferredIconEngine(m_base, m_which, m_widget);
        copy->m_real = m_real;
        return copy;
    }

  private:
    const QIcon& Real() {
        if (!m_real) {
            m_real = m_base ? m_base->standardIcon(m_which, nullptr, m_widget.data()) : QIcon();
        }
        return *m_real;
    }

    QPointer<QStyle> m_base;
    QStyle::StandardPixmap m_which;
    QPointer<const QWidget> m_widget;
    std::optional<QIcon> m_real;
};

class DeferredIconStyle final : public QProxyStyle {
  public:
    explicit DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        const bool overflow = which == SP_ToolBarHorizontalExtensionButton ||
                              which == SP_ToolBarVerticalExtensionButton;
        if (!overflow || option != nullptr || qApp->devicePixelRatio() > 1.0) {
            return QProxyStyle::standardIcon(which, option, widget);
        }
        return QIcon(new DeferredIconEngine(QPointer<QStyle>(baseStyle()), which,
                                            QPointer<const QWidget>(widget)));
    }
};

}  // namespace

void InstallDeferredIconStyle() {
    QStyle* current = QApplication::style();
    if (current == nullptr || dynamic_cast<DeferredIconStyle*>(current) != nullptr) {
        return;
    }
    // The proxy takes the style it wraps as its own; the application then owns the proxy.
    QApplication::setStyle(new DeferredIconStyle(current));
}

}  // namespace fwqt
