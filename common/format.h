// printf-style formatting of the program's message templates (string resources such as "%s\n
// Filename:%s\n"), with std::string arguments passed as their text.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace tav {

namespace detail {
template <class T>
auto FormatArg(const T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        return value.c_str();
    } else {
        return value;
    }
}
}  // namespace detail

template <class... Args>
std::string Format(const std::string& format, const Args&... args) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    const int size = std::snprintf(nullptr, 0, format.c_str(), detail::FormatArg(args)...);
    if (size <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), detail::FormatArg(args)...);
#pragma GCC diagnostic pop
    out.resize(static_cast<std::size_t>(size));
    return out;
}

}  // namespace tav
