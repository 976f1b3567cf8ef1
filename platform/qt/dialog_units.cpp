#include "platform/qt/dialog_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

#include "platform/qt/qt_text.h"

namespace fwqt {

QFont DialogFont(const fw::DialogTemplate& tmpl) {
    QFont font = QApplication::font();
    const QString face = ToQt(tmpl.fontFace);
    if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
        font.setFamily(face);
    }
    font.setPointSize(tmpl.fontPoints > 0 ? tmpl.fontPoints : 8);
    return font;
}

fw::Size BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return fw::Size{(letters / 26 + 1) / 2, metrics.height()};
}

}  // namespace fwqt
