#include "programs/tav-scenario/pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace pictures {

namespace {

constexpr QRgb kFrame = qRgb(0x3b, 0x4a, 0x5c);

// The colours of the image with each channel rounded to a multiple of step (0 keeps them).
QList<QRgb> Colours(const QImage& image, int step, int limit) {
    QHash<QRgb, int> seen;
    QList<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = line[x];
            if (step > 0) {
                auto round = [step](int v) { return qMin(255, (v + step / 2) / step * step); };
                c = qRgb(round(qRed(c)), round(qGreen(c)), round(qBlue(c)));
            }
            if (!seen.contains(c)) {
                if (colours.size() == limit) {
                    return {};
                }
                seen.insert(c, 0);
                colours.append(c);
            }
        }
    }
    return colours;
}

}  // namespace

QImage WithTitleBar(const QWidget& window, const QString& title) {
    const QPixmap client = const_cast<QWidget&>(window).grab();
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int bar = metrics.height() + 10;
    QImage image(client.width() + 2, client.height() + bar + 1, QImage::Format_RGB32);
    image.fill(kFrame);
    QPainter painter(&image);
    painter.drawPixmap(1, bar, client);
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QRect text(8, 0, image.width() - 16, bar);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(title, Qt::ElideRight, text.width()));
    return image;
}

QImage ToPalette(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    for (const int step : {0, 8, 16, 32}) {
        const QList<QRgb> colours = Colours(image, step, 256);
        if (colours.isEmpty()) {
            continue;
        }
        return image.convertToFormat(QImage::Format_Indexed8, colours,
                                     Qt::ThresholdDither | Qt::AvoidDither);
    }
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

bool ShowDetails(QMessageBox& box) {
    if (box.detailedText().isEmpty()) {
        return false;
    }
    // The one button Qt adds to a box with a detailed text.
    for (QAbstractButton* button : box.buttons()) {
        if (box.buttonRole(button) == QMessageBox::ActionRole) {
            button->click();
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

bool Save(const QWidget& window, const QString& title, const QString& path) {
    return ToPalette(WithTitleBar(window, title)).save(path, "PNG", 9);
}

}  // namespace pictures
