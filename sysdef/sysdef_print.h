// The System Definition Table's printout: one line per switcher level, the column header at the
// top of every page.
#pragma once

#include <string>

#include "records/sysdef_record.h"

inline constexpr int kSysDefLinesPerPage = 60;  // counting the header line

std::string FormatSysDefPrintHeader();
// The line of the record at 0-based position i (printed under "Lvl#").
std::string FormatPrintLine(const SysDefRecord& record, int i);
// Prints the first rows records of table through the print dialog; nothing when it is cancelled.
void PrintSysDefTable(const SysDefTable& table, int rows);
