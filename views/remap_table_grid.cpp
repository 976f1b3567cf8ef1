#include "views/remap_table_grid.h"

#include "grids/grid_headers.h"
#include "platform/fw/backend.h"
#include "res/resource.h"
#include "views/remap_table_dlg.h"

namespace {

fw::GridSettings RemapGridSettings() {
    fw::GridSettings s;
    s.rows = 64;
    s.cols = 5;
    s.gridStyle = 6;
    s.background = 0xFFFFFF;
    s.border = 1;
    s.columnSizing = true;
    s.disableNoScroll = 4;
    s.fixedCellColor = 0xC0C0C0;
    s.fontBold = false;
    s.fontFace = "MS Sans Serif";
    s.fontItalic = false;
    s.fontPoints = 8;
    s.gridLineColor = 0x808080;
    s.gridLines = true;
    s.highlightSelection = true;
    s.rowSelection = true;
    s.rowSizing = true;
    s.scrollBars = 1;
    s.textColor = 0;
    return s;
}

}  // namespace

CRemapTableGrid::CRemapTableGrid(fw::CDialog& parent, int id, const fw::Rect& rect, IoType nIOType,
                                 CRemapTableDlg* pDlg)
    : CGridCtrl(parent, id, rect), m_pDlg(pDlg), m_nIOType(nIOType) {
    // The cell-type map: the header row, the row-number column, plain cells everywhere else.
    SetSettings(RemapGridSettings());
    SetNumberedColumn(true);
    SetColumnKind(1, 4, fw::CellKind::Text);
    SetColWidth(0, 2 * fw::GetSystemMetrics(fw::SM_CXHTHUMB));
}

std::unique_ptr<CRemapTableGrid> CRemapTableGrid::CreateObject(fw::CDialog& parent, int id) {
    return std::make_unique<CRemapTableGrid>(parent, id, fw::Rect{}, IoType::None, nullptr);
}

void CRemapTableGrid::GridOnInitialUpdate() {
    static constexpr int kInputHeaders[] = {IDS_REMAP_SWITCHER, IDS_REMAP_LEVEL, IDS_ORIG_INPUT,
                                            IDS_NEW_INPUT, -1};
    static constexpr int kOutputHeaders[] = {IDS_REMAP_SWITCHER, IDS_REMAP_LEVEL, IDS_ORIG_OUTPUT,
                                             IDS_NEW_OUTPUT, -1};
    SetGridHeaders(this, &m_nCols, 1, m_nIOType == IoType::Input ? kInputHeaders : kOutputHeaders);
}

void CRemapTableGrid::SetColumnWidths(int width) {
    const int unit = (width - fw::GetSystemMetrics(fw::SM_CXHTHUMB)) / (2 * m_nCols + 1);
    SetColWidth(0, unit);
    for (int col = 1; col <= m_nCols; ++col) {
        SetColWidth(col, 2 * unit);
    }
}

void CRemapTableGrid::SelectAllRows() {
    m_nRowCount = GetNumRows();
    for (int row = 1; row <= m_nRowCount; ++row) {
        SelectRow(row, true);
    }
    m_nSelected = m_nRowCount;
}

void CRemapTableGrid::ClearSelection() {
    for (int row = 1; row < GetNumRows(); ++row) {
        SelectRow(row, false);
    }
    m_nSelected = 0;
}

void CRemapTableGrid::OnLButtonDown(int row, int col) {
    if (row != 0 && col == 0) {
        if (IsRowSelected(row)) {
            // A second look at a selected row: it turns red, or white again; the library does
            // not see the click.
            SetRowBackground(
                row, GetCellBackground(row, 1) == fw::kColorRed ? fw::kColorWhite : fw::kColorRed);
            return;
        }
        ++m_nSelected;
        CGridCtrl::OnLButtonDown(row, col);
    } else {
        if (IsRowSelected(row)) {
            --m_nSelected;
            SetRowBackground(row, fw::kColorWhite);
        } else {
            ++m_nSelected;
        }
        CGridCtrl::OnLButtonDown(row, col);
    }
    if (m_pDlg != nullptr) {
        m_pDlg->EnableRestore(m_nSelected > 0 ? fw::TRUE : fw::FALSE);
    }
}
