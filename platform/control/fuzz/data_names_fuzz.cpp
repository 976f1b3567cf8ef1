// libFuzzer entry: the names File Access takes from the program and the names it finds in the
// data folder. A name it accepts stays inside the folder; a listing pattern matches exactly the
// names a plain reading of "*" and "?" (case ignored, a trailing ".*" also matching no extension)
// would; and the start-up clean-up takes only hidden replacement files, every one BeginReplacement
// can leave, and never a visible file.
//
// Input: a pattern, a NUL byte, a name (without a NUL the whole input is both).
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control/files/file_names.h"
#include "platform/control/files/open_file.h"

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// The plain reading, as a table over every prefix of pattern and name.
bool PlainMatch(std::string_view pattern, std::string_view name) {
    std::vector<char> row(name.size() + 1, 0);
    row[0] = 1;
    for (const char p : pattern) {
        std::vector<char> next(name.size() + 1, 0);
        for (std::size_t n = 0; n <= name.size(); ++n) {
            if (p == '*') {
                next[n] = row[n] || (n > 0 && next[n - 1]);
            } else if (n > 0) {
                next[n] = row[n - 1] && (p == '?' || Lower(p) == Lower(name[n - 1]));
            }
        }
        row.swap(next);
    }
    return row[name.size()] != 0;
}

bool PlainWildcardMatch(std::string_view pattern, std::string_view name) {
    return PlainMatch(pattern, name) ||
           (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
            name.find('.') == std::string_view::npos &&
            PlainMatch(pattern.substr(0, pattern.size() - 2), name));
}

bool StaysInside(std::string_view name) {
    const std::filesystem::path folder = "/data";
    const std::filesystem::path path = folder / std::string(name);
    return path.parent_path() == folder && path.filename() == std::string(name);
}

void CheckName(std::string_view name) {
    if (control::IsBareName(name)) {
        Require(control::IsBarePattern(name) && StaysInside(name) &&
                name.find_first_of("*?") == std::string_view::npos);
    }
    if (control::IsBarePattern(name)) {
        Require(!name.empty() && name.size() <= 255 && name != "." &&
                name.find("..") == std::string_view::npos &&
                std::none_of(name.begin(), name.end(), [](char c) {
                    return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
                }));
    }
    if (control::IsAbandonedReplacementName(name)) {
        Require(!name.empty() && name.front() == '.');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view pattern = input.substr(0, nul);
    const std::string_view name = nul == std::string_view::npos ? input : input.substr(nul + 1);
    CheckName(pattern);
    CheckName(name);

    Require(control::WildcardMatch(pattern, name) == PlainWildcardMatch(pattern, name));
    Require(control::EqualsNoCase(pattern, name) == control::EqualsNoCase(name, pattern));
    if (pattern.find_first_of("*?") == std::string_view::npos) {
        Require(control::WildcardMatch(pattern, name) == control::EqualsNoCase(pattern, name));
    }
    Require(control::WildcardMatch("*", name) && control::WildcardMatch("*.*", name));

    // The hidden file a replacement of the file `name` is written to, with the six characters
    // mkostemp might choose, taken from the pattern.
    if (control::IsBareName(name) && name.size() <= 255 - 12) {
        static constexpr std::string_view kChosen =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        std::string six;
        for (std::size_t i = 0; i < 6; ++i) {
            const auto byte = i < pattern.size() ? static_cast<unsigned char>(pattern[i]) : i;
            six += kChosen[byte % kChosen.size()];
        }
        const std::string replacement = "." + std::string(name) + ".tav-" + six;
        Require(control::IsAbandonedReplacementName(replacement));
    }
    return 0;
}
