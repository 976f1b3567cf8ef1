// An icon resource becomes a pixmap with every pixel as the resource gives it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/fw/resources.h"
#include "platform/qt/control_widgets.h"

namespace {

TEST(IconPixmap, KeepsEveryPixelOfTheResourceAndNoneForAnUnknownIcon) {
    fw::IconResource icon;
    icon.id = 7;
    icon.width = 5;  // not square, odd: rows must not run into each other
    icon.height = 3;
    for (std::uint32_t i = 0; i < 15; ++i) {
        icon.argb.push_back(0xFF000000U | (i * 0x110B07U));
    }
    icon.argb[4] = 0x00000000U;  // transparent
    fw::ResourceSet set;
    set.icons.push_back(icon);
    fw::InstallResources(&set);

    const QImage image = fwqt::IconPixmap(7).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.width(), 5);
    ASSERT_EQ(image.height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(image.pixel(x, y), icon.argb[static_cast<std::size_t>(y * 5 + x)])
                << x << "," << y;
        }
    }
    EXPECT_TRUE(fwqt::IconPixmap(8).isNull());
    fw::InstallResources(nullptr);
}

}  // namespace
