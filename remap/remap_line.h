// The text of a remap table file: the checksum line and one comma-separated line per entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/remap_entry.h"

// "CONFIGCRC(%d)" with the CRC written unsigned.
std::string FormatCrcLine(std::uint16_t crc);
// The ten fields of an entry, "%s,%s,%s,%s,%d,%d,%d,%d,%d,%s".
std::string FormatRemapLine(const CRemapEntry& entry);
// The number after "CONFIGCRC(": its leading run of "-0123456789" as a decimal integer, low 16
// bits.
std::uint16_t ParseTableCrc(const std::string& afterMarker);
// One entry from a file line; null when a field is missing or holds a number the table cannot
// hold (a row beyond the System Definition Table, a port beyond 9999, a negative number): the
// whole load then fails.
std::unique_ptr<CRemapEntry> ParseRemapLine(const std::string& line);
// A comment as the table keeps it: a single blank for none, and no comma or line break, since
// nothing in the file would mark where such a comment ends.
std::string TableComment(const std::string& typed);
// The platform's atoi: leading blanks, an optional sign, digits; anything after them ignored. A
// number beyond the int range is held at its end, where the platform's would wrap ("4294967301"
// read as 5): it then stays past every port, for the checks to refuse.
int AtoI(const std::string& text);
