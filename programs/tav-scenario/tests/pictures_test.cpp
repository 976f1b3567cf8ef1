// The guide's pictures: the window under a bar with its title, in at most 256 colours.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <QTextEdit>

#include "programs/tav-scenario/pictures.h"

namespace {

QSet<QRgb> ColoursOf(const QImage& image) {
    QSet<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            colours.insert(rgb.pixel(x, y));
        }
    }
    return colours;
}

// Every pixel a colour of its own: far more than a palette holds.
QImage Gradient() {
    QImage image(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 4, y * 8, (x + y) * 2));
        }
    }
    return image;
}

TEST(Pictures, FewColoursStayExactlyAsTheyAre) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(0xc0, 0xc0, 0xc0));
    image.setPixel(3, 3, qRgb(0x12, 0x34, 0x56));
    const QImage palette = pictures::ToPalette(image);
    EXPECT_EQ(palette.format(), QImage::Format_Indexed8);
    EXPECT_EQ(ColoursOf(palette), ColoursOf(image));
    EXPECT_EQ(palette.pixel(3, 3), qRgb(0x12, 0x34, 0x56));
}

TEST(Pictures, ManyColoursFitAPaletteAndStayClose) {
    const QImage image = Gradient();
    ASSERT_GT(ColoursOf(image).size(), 256);
    const QImage palette = pictures::ToPalette(image);
    EXPECT_EQ(palette.format(), QImage::Format_Indexed8);
    EXPECT_LE(palette.colorCount(), 256);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor want(image.pixel(x, y));
            const QColor got(palette.pixel(x, y));
            EXPECT_LE(std::abs(want.red() - got.red()) + std::abs(want.green() - got.green()) +
                          std::abs(want.blue() - got.blue()),
                      48)
                << x << "," << y;
        }
    }
}

TEST(Pictures, TheWindowSitsUnderATitleBar) {
    QLabel window(QStringLiteral("content"));
    window.setAutoFillBackground(true);
    window.setStyleSheet(QStringLiteral("background: white"));
    window.resize(200, 60);
    window.show();
    const QImage picture = pictures::WithTitleBar(window, QStringLiteral("System Definition"));
    // One pixel of frame left, right and below; the bar above is taller than a line of text.
    EXPECT_EQ(picture.width(), 202);
    const int bar = picture.height() - 60 - 1;
    EXPECT_GT(bar, window.fontMetrics().height());
    EXPECT_EQ(QColor(picture.pixel(100, picture.height() - 10)), QColor(Qt::white));
    EXPECT_NE(QColor(picture.pixel(100, bar / 2)), QColor(Qt::white));
    // The title is written into the bar: some of its pixels are white.
    bool lettered = false;
    for (int x = 0; x < 120 && !lettered; ++x) {
        lettered = QColor(picture.pixel(x, bar / 2)) == QColor(Qt::white);
    }
    EXPECT_TRUE(lettered);
}

TEST(Pictures, ABoxsDetailsAreShownAsShowDetailsShowsThem) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Warning"),
                    QStringLiteral("Some board(s) are not responding."), QMessageBox::Ok);
    box.setDetailedText(QStringLiteral("MAINVID, board 2, partner of board 0: no report"));
    box.show();
    QApplication::processEvents();
    QTextEdit* details = box.findChild<QTextEdit*>();
    ASSERT_NE(details, nullptr);
    ASSERT_FALSE(details->isVisible());
    const int closedHeight = box.height();
    EXPECT_TRUE(pictures::ShowDetails(box));
    EXPECT_TRUE(details->isVisible());
    EXPECT_GT(box.height(), closedHeight);
    EXPECT_EQ(box.buttons().size(), 2) << "no button was added";
}

TEST(Pictures, ABoxWithoutDetailsHasNoneToShow) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("tavora"),
                    QStringLiteral("You have entered an invalid port number."), QMessageBox::Ok);
    box.show();
    QApplication::processEvents();
    EXPECT_FALSE(pictures::ShowDetails(box));
    EXPECT_EQ(box.findChild<QTextEdit*>(), nullptr);
}

}  // namespace
