// Reading a number the operator typed. The C library's conversion reads "4294967301" as 5 and
// "5x" as 5: a port the operator never named. A typed number is taken whole or not at all.
#pragma once

#include <cctype>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tav {

// The decimal number a text holds: blanks around it, an optional sign, digits and nothing else;
// none for any other text, an empty one included. A number too long for 64 bits is held at the
// 64-bit end of its sign, which is still far outside the range of an int.
inline std::optional<std::int64_t> ReadWholeNumber(std::string_view text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t digits = i;
    constexpr std::int64_t kMost = INT64_MAX;
    std::int64_t value = 0;
    for (; i < text.size() && digit(text[i]); ++i) {
        const int d = text[i] - '0';
        value = value > (kMost - d) / 10 ? kMost : value * 10 + d;
    }
    if (i == digits) {
        return std::nullopt;
    }
    while (i < text.size() && blank(text[i])) {
        ++i;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

inline bool FitsInt(std::int64_t value) {
    return value >= INT_MIN && value <= INT_MAX;
}

}  // namespace tav
