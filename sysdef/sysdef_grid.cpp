#include "sysdef/sysdef_grid.h"

#include "grids/grid_headers.h"
#include "platform/fw/backend.h"
#include "res/resource.h"
#include "sysdef/sysdef_dlg.h"

namespace {

constexpr int kInRangeCol = 4;
constexpr int kOutRangeCol = 5;

}  // namespace

fw::GridSettings SysDefGridSettings(int cols) {
    fw::GridSettings settings;
    settings.rows = 100;
    settings.cols = cols;
    settings.gridStyle = 2;
    settings.background = 0xFFFFFF;
    settings.border = 1;
    settings.columnSizing = true;
    settings.disableNoScroll = 3;
    settings.fixedCellColor = 0xC0C0C0;
    settings.fontFace = "MS Sans Serif";
    settings.fontPoints = 8;
    settings.gridLineColor = 0x808080;
    settings.gridLines = true;
    settings.highlightSelection = true;
    settings.rowSelection = true;
    settings.rowSizing = true;
    settings.scrollBars = 1;
    settings.textColor = 0;
    return settings;
}

CSysDefGrid::CSysDefGrid(fw::CDialog& parent, int id, const fw::Rect& rect)
    : CGridCtrl(parent, id, rect) {
    SetSettings(SysDefGridSettings(6));
    for (int c = 0; c < 6; ++c) {
        SetColWidth(c, 2 * fw::GetSystemMetrics(fw::SM_CXHTHUMB));
    }
    SetColumnKind(kInRangeCol, kOutRangeCol, fw::CellKind::Integer);
}

void CSysDefGrid::GridOnInitialUpdate() {
    static const int kHeaders[] = {IDS_SYSDEF_SWITCHER,
                                   IDS_SYSDEF_NAME,
                                   IDS_SYSDEF_INPUTS,
                                   IDS_SYSDEF_OUTPUTS,
                                   IDS_SYSDEF_IN_RANGE,
                                   IDS_SYSDEF_OUT_RANGE,
                                   -1};
    SetGridHeaders(this, &m_nCols, 0, kHeaders);
}

void CSysDefGrid::SetColumnWidths(int width) {
    const int parts = 2 * m_nCols - 2;
    if (parts <= 0) {
        return;  // no headers written: nothing to share the width among
    }
    const int u = (width - fw::GetSystemMetrics(fw::SM_CXHTHUMB)) / parts;
    for (int c = 0; c < m_nCols; ++c) {
        SetColWidth(c, c == 2 || c == 3 ? u : 2 * u);
    }
    SetColumnAlignment(0, 3, 1, 1, 1, -1);
}

void CSysDefGrid::OnCellClick(int row, int /*col*/) {
    // The header row, and anything past the table's rows, is no row of the table: the idle
    // buttons and the row checks index the table by the selected row.
    if (row < 1 || row >= GetNumRows() || (m_pDlg != nullptr && row > m_pDlg->GetRowCount())) {
        return;
    }
    m_bRowSelected = 1;
    if (m_nSelRow != -1) {
        SelectRow(m_nSelRow, false);
        SetRowBorder(m_nSelRow, fw::kRowBorderNone);
    }
    m_nSelRow = row;
    if (m_pDlg != nullptr) {
        m_pDlg->EnableIdleButton(0, GetCellInt(row, kInRangeCol) > 0 ? fw::TRUE : fw::FALSE);
        m_pDlg->EnableIdleButton(1, GetCellInt(row, kOutRangeCol) > 0 ? fw::TRUE : fw::FALSE);
    }
    SelectRow(row, true);
    SetRowBorder(row, fw::kRowBorderSolid);
}
