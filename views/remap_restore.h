// Restore's walk over a remap table: the table's ports and the view's grid rows in step, taking
// the ports of the selected rows out of the table.
#pragma once

#include <functional>

#include "records/remap_entry.h"

class CTavDlg;

struct RestoreWalk {
    int keptRows = 0;  // the ports left in the table, one grid row each
    int row = 1;       // the grid row after the last one looked at
};

// A port at either end of an entry narrows it, a port inside splits it into two entries that
// keep everything but their numbers (the piece follows the entry it came from), and the last
// port of an entry removes it. A null table is left alone.
RestoreWalk RestoreSelectedPorts(RemapTable* table, const std::function<bool(int row)>& selected,
                                 const CTavDlg& dlg);
