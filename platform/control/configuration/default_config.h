// The configuration the program runs on when none is named: two switchers, five levels of
// different sizes, boards of types Q, B and C, a same-name board pair and a board serving two
// levels, so every path of the board choice can be shown.
#pragma once

#include <string_view>

namespace control {

std::string_view DefaultConfigText();

}  // namespace control
