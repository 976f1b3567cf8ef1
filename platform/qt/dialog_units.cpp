#include "platform/qt/dialog_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

#include "platform/qt/qt_text.h"

namespace fwqt {

QFont FaceFont(const std::string& face, int points) {
    QFont font = QApplication::font();
    const QString family = ToQt(face);
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) {
        font.setFamily(family);
    }
    font.setPointSize(points > 0 ? points : 8);
    return font;
}

QFont DialogFont(const fw::DialogTemplate& tmpl) {
    return FaceFont(tmpl.fontFace, tmpl.fontPoints);
}

fw::Size BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return fw::Size{(letters / 26 + 1) / 2, metrics.height()};
}

}  // namespace fwqt
