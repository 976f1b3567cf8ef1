#include "platform/qt/dialog_units.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include "platform/qt/qt_text.h"

namespace fwqt {

namespace {

// The font database answers by resolving the family's aliases through fontconfig every time it
// is asked, which showed in every start-up; every dialog, grid and text measure asks again for the
// same few faces. Fonts are the user-interface thread's alone, so a plain cache does.
bool IsInstalled(const QString& family) {
    static QHash<QString, bool> known;
    auto found = known.constFind(family);
    if (found == known.constEnd()) {
        found = known.insert(family, QFontDatabase::hasFamily(family));
    }
    return found.value();
}

}  // namespace

QFont FaceFont(const std::string& face, int points) {
    QFont font = QApplication::font();
    const QString family = ToQt(face);
    if (!family.isEmpty() && IsInstalled(family)) {
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
