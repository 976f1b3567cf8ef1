// The grid of the idle port dialog: one idle range per row, its first physical number and its
// length, both typed by the operator.
#pragma once

#include "platform/fw/grid.h"

class CIdleGrid : public fw::CGridCtrl {
  public:
    CIdleGrid(fw::CDialog& parent, int id, const fw::Rect& rect);

    // Stores the kind (Idle Inputs or Idle Outputs) and writes the header row for it.
    void SetKind(int kind);
    void SetColumnWidths(int width);
    int GetColumnCount() const { return m_nCols; }

  private:
    int m_nKind = 0;
    int m_nCols = 0;
};
