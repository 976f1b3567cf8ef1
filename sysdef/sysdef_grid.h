// The grid of the System Definition dialog: one row per switcher level, the level's names and
// port counts, and its input and output board ranges, which the operator types.
#pragma once

#include "platform/fw/grid.h"

class CSysDefDlg;

// The settings the System Definition and idle port grids share; they differ in their columns.
fw::GridSettings SysDefGridSettings(int cols);

class CSysDefGrid : public fw::CGridCtrl {
  public:
    CSysDefGrid(fw::CDialog& parent, int id, const fw::Rect& rect);

    void SetDialog(CSysDefDlg* dlg) { m_pDlg = dlg; }
    int GetSelectedRow() const { return m_nSelRow; }
    using fw::CGridCtrl::IsRowSelected;
    int IsRowSelected() const { return m_bRowSelected; }
    int GetColumnCount() const { return m_nCols; }
    void SetColumnWidths(int width);

  protected:
    void OnCellClick(int row, int col) override;
    void GridOnInitialUpdate() override;

  private:
    CSysDefDlg* m_pDlg = nullptr;
    int m_nSelRow = -1;
    int m_bRowSelected = 0;
    int m_nCols = 0;
};
