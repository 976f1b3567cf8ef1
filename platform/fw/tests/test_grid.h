// A 4 x 3 grid whose last column holds integers, recording what the user did to it; the grid tests
// of every back end use it.
#pragma once

#include <utility>
#include <vector>

#include "platform/fw/grid.h"

namespace fwtest {

class TestGrid final : public fw::CGridCtrl {
  public:
    TestGrid(fw::CDialog& parent, int id) : CGridCtrl(parent, id, fw::Rect{}) {
        fw::GridSettings settings;
        settings.rows = 4;
        settings.cols = 3;
        SetSettings(settings);
        SetColumnKind(2, 2, fw::CellKind::Integer);
    }
    std::vector<std::pair<int, int>> clicks;
    std::vector<std::pair<int, int>> edits;
    bool initialised = false;

  protected:
    void OnCellClick(int row, int col) override { clicks.emplace_back(row, col); }
    void OnEndEdit(int row, int col) override { edits.emplace_back(row, col); }
    void GridOnInitialUpdate() override { initialised = true; }
};

}  // namespace fwtest
