#include "platform/control/files/file_names.h"

#include <algorithm>
#include <cctype>

namespace control {

namespace {

constexpr std::size_t kMaxNameBytes = 255;

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsBare(std::string_view name, bool wildcards) {
    if (name.empty() || name.size() > kMaxNameBytes || name == "." ||
        name.find("..") != std::string_view::npos) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [wildcards](char c) {
        return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ||
               (!wildcards && (c == '*' || c == '?'));
    });
}

bool Match(std::string_view pattern, std::string_view name) {
    // Iterative matching with one backtrack point: linear in practice, no recursion depth.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        // A '*' in the pattern is always a wildcard, also where the name holds a '*' itself.
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

bool IsBareName(std::string_view name) {
    return IsBare(name, false);
}
bool IsBarePattern(std::string_view pattern) {
    return IsBare(pattern, true);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (Match(pattern, name)) {
        return true;
    }
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos) {
        return Match(pattern.substr(0, pattern.size() - 2), name);
    }
    return false;
}

std::optional<std::string> FindEntryNoCase(const std::filesystem::path& folder,
                                           std::string_view name) {
    std::error_code ec;
    std::optional<std::string> best;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string entryName = it->path().filename().string();
        if (entryName == name) {
            return entryName;
        }
        if (EqualsNoCase(entryName, name) && (!best || entryName < *best)) {
            best = std::move(entryName);
        }
    }
    return best;
}

}  // namespace control
