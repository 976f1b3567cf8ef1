// The fixed-column lines of the System Definition file "TAV.SDF": one record per line, each value
// at a column of its own, so the writer and the reader have to agree to the character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "records/limits.h"
#include "records/sysdef_record.h"

namespace sysdef {

inline constexpr const char* kSysDefFileName = "TAV.SDF";

// The file's column limits: a value beyond them would push every later column out of place.
inline constexpr std::size_t kMaxNameLength = 8;
using records::kMaxPortCount;
inline constexpr std::int32_t kMaxRangeField = 99;  // board ranges and idle range counts
using records::kMaxRows;
inline constexpr std::uint32_t kMaxIdleValue = 999;

// The line of record `position` (its 0-based place in the table), without the line feed.
// The record's values must fit the columns (FindUnfitValue).
std::string FormatSysDefLine(const SysDefRecord& record, std::size_t position);

// The record a line describes. Nothing is validated: missing columns read as 0 or empty names.
std::unique_ptr<SysDefRecord> ParseSysDefLine(std::string_view line);

// The number in a field as the C library's decimal conversion reads it: leading white space
// skipped, an optional sign, digits up to the first other character; 0 when there are none.
std::int32_t ReadDecimalField(std::string_view field);

// Why the table cannot be written without shifting columns, naming the row and the field, or an
// empty text when every value fits.
std::string FindUnfitValue(const SysDefTable& table);

}  // namespace sysdef
