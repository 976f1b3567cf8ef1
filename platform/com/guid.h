// 128-bit class and interface identifiers, written in the registry's text form
// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}. Identifiers in code are parsed at compile time, so a
// mistyped one fails the build instead of silently naming nothing.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace com {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace detail {

constexpr int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads `digits` hex digits at pos; nullopt when one is not a hex digit.
constexpr std::optional<std::uint32_t> ReadHex(std::string_view text, std::size_t pos,
                                               std::size_t digits) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const int v = HexValue(text[pos + i]);
        if (v < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<std::uint32_t>(v);
    }
    return value;
}

}  // namespace detail

// Accepts the 36-character form with or without the surrounding braces, hex digits in either
// case; anything else gives nullopt.
constexpr std::optional<GUID> ParseGuid(std::string_view text) {
    if (text.size() == 38) {
        if (text.front() != '{' || text.back() != '}') {
            return std::nullopt;
        }
        text = text.substr(1, 36);
    }
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
        text[23] != '-') {
        return std::nullopt;
    }
    GUID g;
    const auto d1 = detail::ReadHex(text, 0, 8);
    const auto d2 = detail::ReadHex(text, 9, 4);
    const auto d3 = detail::ReadHex(text, 14, 4);
    if (!d1 || !d2 || !d3) {
        return std::nullopt;
    }
    g.Data1 = *d1;
    g.Data2 = static_cast<std::uint16_t>(*d2);
    g.Data3 = static_cast<std::uint16_t>(*d3);
    constexpr std::size_t kBytePos[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    for (std::size_t i = 0; i < 8; ++i) {
        const auto b = detail::ReadHex(text, kBytePos[i], 2);
        if (!b) {
            return std::nullopt;
        }
        g.Data4[i] = static_cast<std::uint8_t>(*b);
    }
    return g;
}

// For identifiers written in code: an invalid text does not compile.
consteval GUID Guid(std::string_view text) {
    const auto g = ParseGuid(text);
    if (!g) {
        throw "invalid GUID text";
    }
    return *g;
}

// The braced upper-case form, e.g. {00000000-0000-0000-C000-000000000046}.
std::string ToString(const GUID& guid);

}  // namespace com
