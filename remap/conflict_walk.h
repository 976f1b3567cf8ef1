// The walk over the remaps in force that a new remap clashes with: with the operator's consent
// it deletes, shortens, splits or rewrites them so that the new remap can take their place.
#pragma once

#include <functional>
#include <string>

#include "platform/fw/types.h"
#include "records/remap_entry.h"

namespace remap {

struct RemapNumbers {
    int origFirst = 0;
    int origLast = 0;
    int newFirst = 0;
    int newLast = 0;
};

// Shows a message box (text, MB_ type) and gives the button pressed.
using AskFn = std::function<int(const std::string& text, fw::UINT type)>;

struct WalkOutcome {
    bool abort = false;
    bool replacedInPlace = false;  // an entry of the table now stands for the new remap
};

// Walks table for the entries of row, every one of them, also after a Yes. ioWord is "Input" or
// "Output", modeWord "single" or "whole board". A walk that does not abort leaves no entry of the
// row sharing an original or a new number with the new remap, except the one entry that stands
// for it (replacedInPlace); a new range running backwards is not compared with ranges. Changes
// made after a Yes stay in table when the walk then aborts: the Remap command puts the table
// back itself.
WalkOutcome WalkConflicts(RemapTable& table, int row, const RemapNumbers& remap,
                          const std::string& ioWord, const std::string& modeWord, const AskFn& ask);

}  // namespace remap
