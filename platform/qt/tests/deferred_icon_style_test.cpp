// The proxy style that defers the menu bar's overflow icon answers as the style it wraps: the
// same icons, pixel for pixel, and the overflow button of a menu that does not fit shows the
// style's own picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QProxyStyle>
#include <QToolButton>
#include <QWidget>
#include <memory>

#include "platform/qt/deferred_icon_style.h"

namespace {

QStyle* BaseOfApplicationStyle() {
    fwqt::InstallDeferredIconStyle();
    auto* proxy = dynamic_cast<QProxyStyle*>(QApplication::style());
    return proxy != nullptr ? proxy->baseStyle() : nullptr;
}

QImage Picture(const QIcon& icon, int size, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(size, size), mode).toImage();
}

TEST(DeferredIconStyle, WrapsTheApplicationsStyleOnceAndAnswersEveryIconAsIt) {
    QStyle* base = BaseOfApplicationStyle();
    ASSERT_NE(base, nullptr);
    QStyle* style = QApplication::style();
    fwqt::InstallDeferredIconStyle();
    EXPECT_EQ(QApplication::style(), style) << "a second call wraps nothing again";

    for (const QStyle::StandardPixmap which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning, QStyle::SP_ArrowDown}) {
        const QIcon mine = style->standardIcon(which, nullptr, nullptr);
        const QIcon theirs = base->standardIcon(which, nullptr, nullptr);
        EXPECT_EQ(mine.isNull(), theirs.isNull()) << which;
        EXPECT_EQ(mine.availableSizes(), theirs.availableSizes()) << which;
        for (int size : {8, 16, 24, 32}) {
            EXPECT_EQ(mine.actualSize(QSize(size, size)), theirs.actualSize(QSize(size, size)))
                << which << " " << size;
            EXPECT_EQ(Picture(mine, size), Picture(theirs, size)) << which << " " << size;
            EXPECT_EQ(Picture(mine, size, QIcon::Disabled), Picture(theirs, size, QIcon::Disabled))
                << which << " " << size;
        }
        // A copy made before the icon was first needed still draws it.
        const QIcon copy = style->standardIcon(which, nullptr, nullptr);
        const QIcon copied = copy;  // NOLINT(performance-unnecessary-copy-initialization)
        EXPECT_EQ(Picture(copied, 16), Picture(theirs, 16)) << which;
    }
}

TEST(DeferredIconStyle, AMenuTooWideForItsWindowShowsTheStylesOverflowButton) {
    QStyle* base = BaseOfApplicationStyle();
    ASSERT_NE(base, nullptr);
    auto window = std::make_unique<QWidget>();
    auto* bar = new QMenuBar(window.get());
    bar->setNativeMenuBar(false);
    for (int i = 0; i < 12; ++i) {
        bar->addMenu(QStringLiteral("Menu number %1").arg(i));
    }
    window->resize(120, 80);
    bar->setGeometry(0, 0, 120, bar->sizeHint().height());
    window->show();
    QApplication::processEvents();

    auto* overflow = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
    ASSERT_NE(overflow, nullptr);
    EXPECT_TRUE(overflow->isVisible());
    const QIcon expected =
        base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, bar);
    ASSERT_FALSE(expected.isNull());
    EXPECT_FALSE(overflow->icon().isNull());
    EXPECT_EQ(Picture(overflow->icon(), 16), Picture(expected, 16));
    // The button as drawn: the same as with the style's icon given to it directly.
    const QImage drawn = overflow->grab().toImage();
    overflow->setIcon(expected);
    EXPECT_EQ(drawn, overflow->grab().toImage());
}

}  // namespace
