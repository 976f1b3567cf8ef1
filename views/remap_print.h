// The remap table printout: one line per remapped port, the column header at the top of every
// page. Printed by the main dialog's PrintRemapTable, from the File menu and from the view.
#pragma once

#include <string>

#include "records/remap_entry.h"

inline constexpr int kRemapLinesPerPage = 62;  // counting the header line

std::string FormatRemapPrintHeader();
// The line of the k-th port of entry; the comment only on the entry's first port.
std::string FormatRemapPrintLine(const CRemapEntry& entry, int k);
// The number of lines an entry prints: one per original port, and one at least.
int RemapPrintLineCount(const CRemapEntry& entry);
