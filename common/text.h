// Comparing names as the control system does: without regard to case.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace tav {

inline char LowerChar(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

inline bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return x == y || LowerChar(x) == LowerChar(y);
           });
}

inline bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    return tail.size() <= text.size() && EqualNoCase(text.substr(text.size() - tail.size()), tail);
}

}  // namespace tav
