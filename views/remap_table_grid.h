// The remap table view's grid: a header row, the row-number column and four read-only columns
// (switcher, level, original number, new number), one row per remapped port. The operator selects
// rows to mark the ports that Restore puts back.
#pragma once

#include <memory>

#include "platform/fw/grid.h"
#include "records/io_type.h"

class CRemapTableDlg;

class CRemapTableGrid : public fw::CGridCtrl {
  public:
    // A grid for the view dlg, as control id of parent; with an empty rectangle it takes the
    // place of the parent's place-holder of that id.
    CRemapTableGrid(fw::CDialog& parent, int id, const fw::Rect& rect, IoType nIOType,
                    CRemapTableDlg* pDlg);
    // The grid made by name, as the library does: I/O type 2 and no view.
    static std::unique_ptr<CRemapTableGrid> CreateObject(fw::CDialog& parent, int id);

    // Shares width between the row-number column (one part) and the data columns (two each).
    void SetColumnWidths(int width);
    void SelectAllRows();
    // After the view refilled the grid: no row selected, and the click count back at 0.
    void ClearSelection();

    int m_nCols = 0;
    int m_nRowCount = 0;
    int m_nSelected = 0;
    CRemapTableDlg* m_pDlg = nullptr;
    IoType m_nIOType = IoType::None;

  protected:
    void OnLButtonDown(int row, int col) override;
    void OnCellClick(int /*row*/, int /*col*/) override {}
    void GridOnInitialUpdate() override;
};
