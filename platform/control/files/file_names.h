// Names in the data folder, treated as the platform treats them: bare names only (nothing can
// reach outside the folder), compared without regard to case, listed by "*" and "?" patterns.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace control {

// A name that stays inside the folder: not empty, no '/' or '\', no "..", not ".", no control
// characters and no wildcards.
bool IsBareName(std::string_view name);
// The same rules, wildcards allowed.
bool IsBarePattern(std::string_view pattern);

bool EqualsNoCase(std::string_view a, std::string_view b);
// '*' matches any run, '?' one character, case ignored; a trailing ".*" also matches no extension,
// so "*.*" lists every file.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// The folder's entry for name: the exact name when it exists, else the first (in byte order)
// that equals it without regard to case; nullopt when none does or the folder cannot be read.
std::optional<std::string> FindEntryNoCase(const std::filesystem::path& folder,
                                           std::string_view name);

}  // namespace control
