#include "sysdef/idle_grid.h"

#include "grids/grid_headers.h"
#include "platform/fw/backend.h"
#include "res/resource.h"
#include "sysdef/sysdef_grid.h"

CIdleGrid::CIdleGrid(fw::CDialog& parent, int id, const fw::Rect& rect)
    : CGridCtrl(parent, id, rect) {
    SetSettings(SysDefGridSettings(2));
    for (int c = 0; c < 2; ++c) {
        SetColWidth(c, 2 * fw::GetSystemMetrics(fw::SM_CXHTHUMB));
    }
    SetColumnKind(0, 1, fw::CellKind::Integer);
}

void CIdleGrid::SetKind(int kind) {
    m_nKind = kind;
    const int headers[] = {
        static_cast<int>(kind == static_cast<int>(IDS_IDLE_INPUTS) ? IDS_PHYSICAL_INPUT
                                                                   : IDS_PHYSICAL_OUTPUT),
        static_cast<int>(IDS_IDLE_COUNT), -1};
    SetGridHeaders(this, &m_nCols, 0, headers);
}

void CIdleGrid::SetColumnWidths(int width) {
    if (m_nCols <= 0) {
        return;  // no headers written: nothing to share the width among
    }
    const int u = (width - fw::GetSystemMetrics(fw::SM_CXHTHUMB)) / m_nCols;
    SetColWidth(0, u);
    SetColWidth(1, u);
    SetColumnAlignment(0, 3, 1, 0, 1, -1);
}
