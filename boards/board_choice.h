// Choosing the router boards that take the remap data: the board serving each row concerned, of
// type "Q" or "B", once each, with the board sharing its name (flag 1) right after it.
#pragma once

#include <cstdint>
#include <vector>

#include "boards/remap_data.h"
#include "platform/fw/window.h"

class CTavApp;

namespace boards {

// Chooses the boards serving rows (every row of the configuration when rows is empty) into
// chosen, in that order. networkBoards receives the Network Description Table's board count.
// Component failures are reported with the error dialog, a board the program cannot address
// (address shorter than 6 bytes, number outside the board table) and an empty choice with a
// message box over owner; each of those gives false, chosen keeping what was found before.
bool ChooseBoards(CTavApp& app, const std::vector<unsigned>& rows, std::vector<NotifyBoard>& chosen,
                  std::uint16_t& networkBoards, fw::CWnd& owner);

}  // namespace boards
