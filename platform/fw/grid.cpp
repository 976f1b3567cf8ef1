#include "platform/fw/grid.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "platform/fw/backend.h"

namespace fw {

namespace {

ControlTemplate GridTemplate(int id) {
    ControlTemplate tmpl;
    tmpl.id = id;
    tmpl.kind = ControlKind::Grid;
    tmpl.style = kTabStop | kBorder;
    return tmpl;
}

}  // namespace

CGridCtrl::CGridCtrl(CDialog& parent, int id, const Rect& pixelRect)
    : Control(parent, GridTemplate(id), pixelRect) {
    Resize();
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::SetSettings(const GridSettings& settings) {
    m_settings = settings;
    m_settings.rows = std::max(settings.rows, 0);
    m_settings.cols = std::max(settings.cols, 0);
    // Every grid style the program asks for is a plain grid whose fixed cells are grey and whose
    // clicks select whole rows; the library's style numbers are kept for what reads them back.
    m_settings.rowSelection = true;
    m_rows.resize(static_cast<std::size_t>(m_settings.rows));
    Resize();
}

void CGridCtrl::Resize() {
    const auto cols = static_cast<std::size_t>(std::max(m_settings.cols, 0));
    m_columns.resize(cols);
    for (Row& row : m_rows) {
        row.cells.resize(cols, Cell{{}, m_settings.background, false});
    }
    NotifyChanged(Change::Items);
}

void CGridCtrl::SetNumRows(int rows) {
    m_settings.rows = std::max(rows, 0);
    m_rows.resize(static_cast<std::size_t>(m_settings.rows));
    Resize();
}

void CGridCtrl::SetNumCols(int cols) {
    m_settings.cols = std::max(cols, 0);
    Resize();
}

bool CGridCtrl::InGrid(int row, int col) const {
    return row >= 0 && col >= 0 && row < GetNumRows() && col < GetNumCols();
}

void CGridCtrl::SetColWidth(int col, int width) {
    if (col < 0 || col >= GetNumCols()) {
        return;
    }
    m_columns[static_cast<std::size_t>(col)].width = std::max(width, 0);
    NotifyChanged(Change::Items);
}

int CGridCtrl::GetColWidth(int col) const {
    if (col < 0 || col >= GetNumCols()) {
        return 0;
    }
    return m_columns[static_cast<std::size_t>(col)].width;
}

void CGridCtrl::SetColumnKind(int first, int last, CellKind kind) {
    for (int c = std::max(first, 0); c <= last && c < GetNumCols(); ++c) {
        m_columns[static_cast<std::size_t>(c)].kind = kind;
        // Numbers line up on their last digit unless the program aligns them otherwise.
        m_columns[static_cast<std::size_t>(c)].align =
            kind == CellKind::Integer ? CellAlign::Right : CellAlign::Left;
    }
    NotifyChanged(Change::Items);
}

void CGridCtrl::SetNumberedColumn(bool on) {
    m_bNumberedColumn = on;
    NotifyChanged(Change::Items);
}

CellKind CGridCtrl::GetCellKind(int row, int col) const {
    if (row == 0) {
        return CellKind::Header;
    }
    if (col == 0 && m_bNumberedColumn) {
        return CellKind::NumberedHeader;
    }
    if (col < 0 || col >= GetNumCols()) {
        return CellKind::Text;
    }
    return m_columns[static_cast<std::size_t>(col)].kind;
}

void CGridCtrl::SetColumnAlign(int first, int last, CellAlign align) {
    for (int c = std::max(first, 0); c <= last && c < GetNumCols(); ++c) {
        m_columns[static_cast<std::size_t>(c)].align = align;
    }
    NotifyChanged(Change::Items);
}

void CGridCtrl::SetHeaderAlign(int col, CellAlign align) {
    if (col >= 0 && col < GetNumCols()) {
        m_columns[static_cast<std::size_t>(col)].headerAlign = align;
        NotifyChanged(Change::Items);
    }
}

CellAlign CGridCtrl::GetCellAlign(int row, int col) const {
    if (col < 0 || col >= GetNumCols()) {
        return CellAlign::Left;
    }
    const Column& column = m_columns[static_cast<std::size_t>(col)];
    if (row == 0) {
        return column.headerAlign;
    }
    if (col == 0 && m_bNumberedColumn) {
        return CellAlign::Center;
    }
    return column.align;
}

void CGridCtrl::SetColumnAlignment(int first, int last, int horizontal, int /*vertical*/,
                                   int /*wrap*/, int /*sheet*/) {
    const CellAlign align = horizontal == 1   ? CellAlign::Center
                            : horizontal == 2 ? CellAlign::Right
                                              : CellAlign::Left;
    SetColumnAlign(first, last, align);
}

void CGridCtrl::SetCellText(int row, int col, const std::string& text) {
    if (!InGrid(row, col)) {
        return;
    }
    m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].text = text;
    NotifyChanged(Change::Items);
}

std::string CGridCtrl::GetCellText(int row, int col) const {
    if (!InGrid(row, col)) {
        return {};
    }
    if (GetCellKind(row, col) == CellKind::NumberedHeader) {
        return std::to_string(row);
    }
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)].text;
}

void CGridCtrl::SetCellInt(int row, int col, int value) {
    SetCellText(row, col, std::to_string(value));
}

int CGridCtrl::GetCellInt(int row, int col) const {
    const std::string text = GetCellText(row, col);
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL + INT_MAX);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void CGridCtrl::SetCellBackground(int row, int col, COLORREF color) {
    if (!InGrid(row, col)) {
        return;
    }
    Cell& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)];
    cell.background = color;
    cell.backgroundSet = true;
    NotifyChanged(Change::Items);
}

COLORREF CGridCtrl::GetCellBackground(int row, int col) const {
    if (!InGrid(row, col)) {
        return m_settings.background;
    }
    const CellKind kind = GetCellKind(row, col);
    const Cell& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)];
    if (cell.backgroundSet) {
        return cell.background;
    }
    if (kind == CellKind::Header || kind == CellKind::NumberedHeader) {
        return m_settings.fixedCellColor;
    }
    return m_settings.background;
}

void CGridCtrl::SetRowBackground(int row, COLORREF color) {
    if (row < 0 || row >= GetNumRows()) {
        return;
    }
    // The fixed cells keep their grey.
    for (int c = m_bNumberedColumn ? 1 : 0; c < GetNumCols(); ++c) {
        Cell& cell = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(c)];
        cell.background = color;
        cell.backgroundSet = true;
    }
    NotifyChanged(Change::Items);
}

bool CGridCtrl::IsEditable(int row, int col) const {
    return InGrid(row, col) && IsWindowEnabled() != FALSE &&
           GetCellKind(row, col) == CellKind::Integer;
}

void CGridCtrl::SelectRow(int row, bool select) {
    if (row <= 0 || row >= GetNumRows()) {
        return;  // the header row is never selected
    }
    Row& r = m_rows[static_cast<std::size_t>(row)];
    if (r.selected != select) {
        r.selected = select;
        NotifyChanged(Change::Selection);
    }
}

bool CGridCtrl::IsRowSelected(int row) const {
    return row > 0 && row < GetNumRows() && m_rows[static_cast<std::size_t>(row)].selected;
}

std::vector<int> CGridCtrl::SelectedRows() const {
    std::vector<int> rows;
    for (int r = 1; r < GetNumRows(); ++r) {
        if (m_rows[static_cast<std::size_t>(r)].selected) {
            rows.push_back(r);
        }
    }
    return rows;
}

void CGridCtrl::SetRowBorder(int row, int style) {
    if (row < 0 || row >= GetNumRows()) {
        return;
    }
    m_rows[static_cast<std::size_t>(row)].border = style;
    NotifyChanged(Change::Selection);
}

int CGridCtrl::GetRowBorder(int row) const {
    if (row < 0 || row >= GetNumRows()) {
        return kRowBorderNone;
    }
    return m_rows[static_cast<std::size_t>(row)].border;
}

void CGridCtrl::DeleteRow(int row) {
    if (row <= 0 || row >= GetNumRows()) {
        return;
    }
    m_rows.erase(m_rows.begin() + row);
    m_settings.rows = GetNumRows();
    NotifyChanged(Change::Items);
}

void CGridCtrl::SendNotify(UINT code) {
    if (CWnd* parent = GetParent()) {
        parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(GetDlgCtrlID()), code),
                            static_cast<LPARAM>(GetSafeHwnd()));
    }
}

void CGridCtrl::OnLButtonDown(int row, int col) {
    if (row > 0 && m_settings.rowSelection) {
        SelectRow(row, !IsRowSelected(row));
    }
    OnCellClick(row, col);
    SendNotify(GN_CELLCLICK);
}

int CGridCtrl::GetCurrentRow() const {
    if (GetNumRows() < 2 || FirstDataCol() >= GetNumCols()) {
        return -1;
    }
    return std::clamp(m_nCurRow, 1, GetNumRows() - 1);
}

int CGridCtrl::GetCurrentCol() const {
    if (GetCurrentRow() < 0) {
        return -1;
    }
    return std::clamp(m_nCurCol, FirstDataCol(), GetNumCols() - 1);
}

void CGridCtrl::SetCurrentCell(int row, int col) {
    if (row < 1 || row >= GetNumRows() || col < FirstDataCol() || col >= GetNumCols()) {
        return;
    }
    if (row != GetCurrentRow() || col != GetCurrentCol()) {
        m_nCurRow = row;
        m_nCurCol = col;
        NotifyChanged(Change::Selection);
    }
}

void CGridCtrl::MoveCurrent(int rows, int cols) {
    const int row = GetCurrentRow();
    const int col = GetCurrentCol();
    if (row < 0) {
        return;
    }
    SetCurrentCell(std::clamp(row + rows, 1, GetNumRows() - 1),
                   std::clamp(col + cols, FirstDataCol(), GetNumCols() - 1));
}

void CGridCtrl::ClickUnselected(int row) {
    if (!IsRowSelected(row)) {
        OnLButtonDown(row, GetCurrentCol());
    }
}

void CGridCtrl::UserClickCell(int row, int col) {
    if (!IsWindowEnabled() || !IsWindowVisible() || !InGrid(row, col)) {
        return;
    }
    SetFocus();
    if (row > 0) {
        SetCurrentCell(row, col >= FirstDataCol() ? col : GetCurrentCol());
    }
    OnLButtonDown(row, col);
}

bool CGridCtrl::UserKeyDown(UINT key, bool shift, bool ctrl) {
    if (!IsWindowEnabled() || !IsWindowVisible()) {
        return false;
    }
    const int lastRow = GetNumRows() - 1;
    const int lastCol = GetNumCols() - 1;
    switch (key) {
        case VK_UP:
        case VK_DOWN: {
            SetFocus();
            const int from = GetCurrentRow();
            if (from < 0) {
                return true;
            }
            MoveCurrent(key == VK_UP ? -1 : 1, 0);
            if (shift && GetCurrentRow() != from) {
                // The row left first, as the first row of a range selected with Shift.
                ClickUnselected(from);
                ClickUnselected(GetCurrentRow());
            }
            return true;
        }
        case VK_LEFT:
        case VK_RIGHT:
            SetFocus();
            MoveCurrent(0, key == VK_LEFT ? -1 : 1);
            return true;
        case VK_HOME:
        case VK_END: {
            SetFocus();
            const int way = key == VK_HOME ? -1 : 1;
            MoveCurrent(ctrl ? way * lastRow : 0, way * lastCol);
            return true;
        }
        case VK_SPACE: {
            SetFocus();
            const int row = GetCurrentRow();
            if (row > 0) {
                OnLButtonDown(row, ctrl && m_bNumberedColumn ? 0 : GetCurrentCol());
            }
            return true;
        }
        default:
            return false;
    }
}

bool CGridCtrl::IsIntegerInput(const std::string& text) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

bool CGridCtrl::UserTypeCell(int row, int col, const std::string& text) {
    if (!IsWindowVisible() || !IsEditable(row, col) || !IsIntegerInput(text)) {
        return false;
    }
    SetFocus();
    SetCurrentCell(row, col);
    SetCellText(row, col, text);
    OnEndEdit(row, col);
    SendNotify(GN_ENDEDIT);
    return true;
}

int CGridCtrl::GetTextExtent(const std::string& text) const {
    if (!HasBackend()) {
        return static_cast<int>(text.size()) * 6;
    }
    return GetBackend().TextWidth(text, m_settings.fontFace, m_settings.fontPoints);
}

}  // namespace fw
