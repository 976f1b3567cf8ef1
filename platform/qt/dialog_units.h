// The dialog font and the base units that turn template coordinates into pixels.
#pragma once

#include <QFont>
#include <string>

#include "platform/fw/resources.h"
#include "platform/fw/types.h"

namespace fwqt {

// The face when it is installed, else the application's; at the size given (8 points when none).
QFont FaceFont(const std::string& face, int points);

// The template's face when it is installed, else the application's; at the template's size.
QFont DialogFont(const fw::DialogTemplate& tmpl);

// Pixels per 4 horizontal and per 8 vertical dialog units, computed the way the original
// platform does: the rounded average width of the 52 Latin letters, and the font height.
fw::Size BaseUnitsOf(const QFont& font);

}  // namespace fwqt
