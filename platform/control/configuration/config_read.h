// The reading of a configuration, shared by its files: the schema's readers and the messages
// they refuse a value with. For this layer's own use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/control/configuration/config.h"

namespace control::config_read {

using nlohmann::json;

// A value as written, for a message: one line of ASCII (control characters escaped), shortened.
std::string Shown(const json& value);
std::string ShownText(std::string_view text);
// Refuses the configuration: throws ConfigError naming where (a path such as "boards[2].ip").
[[noreturn]] void Fail(const std::string& where, const std::string& what);

void RefuseUnknownKeys(const json& object, const std::string& where,
                       std::initializer_list<std::string_view> known);
const json& Require(const json& object, const char* key, const std::string& where);
std::int64_t ReadInteger(const json& value, const std::string& where, std::int64_t min,
                         std::int64_t max);
// Decimal, or hexadecimal after "0x".
std::optional<std::uint64_t> ParseUnsigned(std::string_view text);

// The configuration a JSON document describes; source names it in the messages, baseFolder is
// where a relative data folder is taken from. text is the document, for its CRC.
Config ReadConfig(const json& root, std::string_view text, const std::string& source,
                  const std::filesystem::path& baseFolder);

// An entry of "faults": a component's call that fails, or (component "COM") one of the library's
// own calls, which goes into config.
Fault ReadFault(const json& value, const std::string& where);
void ReadComFault(const json& value, const std::string& where, Config& config);

}  // namespace control::config_read
