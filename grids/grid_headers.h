// The header row shared by the program's grids (System Definition, idle ports, remap table view).
#pragma once

#include "platform/fw/grid.h"

// Writes the strings of ids (ended by -1) into the header row from column firstCol on: each
// header cell centred, each column as wide as its text in the grid's font. *cols receives the
// number of ids written.
void SetGridHeaders(fw::CGridCtrl* grid, int* cols, int firstCol, const int* ids);
