// Text crossing between the framework (UTF-8 std::string) and Qt.
#pragma once

#include <QString>
#include <string>

namespace fwqt {

inline QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string FromQt(const QString& text) {
    return text.toStdString();
}

// Multi-line edits hold CR LF line ends as on the original platform; Qt widgets use LF.
inline QString ToQtLines(const std::string& text) {
    return ToQt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
inline std::string FromQtLines(const QString& text) {
    QString copy = text;
    return FromQt(copy.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

}  // namespace fwqt
