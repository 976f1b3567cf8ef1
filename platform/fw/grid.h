// The grid control: a table of cells with a header row, optionally a row-number column, cells of
// a kind per column (read-only text, or integers the user types), column widths and alignment,
// row selection with a row border and a background colour per cell, and the cell the keyboard is
// on. Like every control its state lives here; a back end shows it and reports the user's clicks,
// keys and typing through UserClickCell, UserKeyDown and UserTypeCell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fw/dialog.h"
#include "platform/fw/window.h"

namespace fw {

using COLORREF = std::uint32_t;  // 0x00BBGGRR
inline constexpr COLORREF kColorWhite = 0xFFFFFF;
inline constexpr COLORREF kColorRed = 0x0000FF;

// Notification codes the grid sends its dialog in a WM_COMMAND, besides its virtual handlers.
inline constexpr UINT GN_CELLCLICK = 0x0A01;
inline constexpr UINT GN_ENDEDIT = 0x0A02;  // a cell's value was changed by the user

enum class CellKind {
    Header,          // the fixed header row: grey, not editable
    NumberedHeader,  // the fixed row-number column: grey, shows the row's number
    Text,            // plain read-only text
    Integer,         // an integer the user may type: an optional minus sign and digits
};

enum class CellAlign { Left, Center, Right };

// The grid's settings. The numbered fields take the grid library's own values; whatever they are,
// the grid is plain, selects whole rows and shows its fixed cells grey (see SetSettings).
struct GridSettings {
    int rows = 1;  // including the header row
    int cols = 1;
    int gridStyle = 2;
    int border = 1;
    int disableNoScroll = 3;
    COLORREF background = kColorWhite;
    COLORREF fixedCellColor = 0xC0C0C0;
    COLORREF gridLineColor = 0x808080;
    COLORREF textColor = 0;
    bool gridLines = true;
    bool highlightSelection = true;
    bool rowSelection = true;
    bool columnSizing = true;
    bool rowSizing = true;
    int scrollBars = 1;
    std::string fontFace = "MS Sans Serif";
    int fontPoints = 8;
    bool fontBold = false;
    bool fontItalic = false;
};

// A row border style of the library: 0 none; any other value (the library's 256) a solid frame.
inline constexpr int kRowBorderNone = 0;
inline constexpr int kRowBorderSolid = 256;

class CGridCtrl : public Control {
  public:
    // A grid window as control `id` of the dialog. With an empty rectangle it takes the place of
    // the dialog's placeholder of the same id (its rectangle and its place in the tab order).
    CGridCtrl(CDialog& parent, int id, const Rect& pixelRect);
    ~CGridCtrl() override;

    // Makes the grid a child of its dialog and runs GridOnInitialUpdate. Returns the grid.
    template <class G>
    static G* Attach(CDialog& parent, std::unique_ptr<G> grid);

    void SetSettings(const GridSettings& settings);
    const GridSettings& Settings() const { return m_settings; }

    // Layout.
    void SetNumRows(int rows);  // including the header row
    int GetNumRows() const { return static_cast<int>(m_rows.size()); }
    void SetNumCols(int cols);
    int GetNumCols() const { return m_settings.cols; }
    void SetColWidth(int col, int width);
    int GetColWidth(int col) const;
    // The kind of every data cell of columns first..last (the cell-type map).
    void SetColumnKind(int first, int last, CellKind kind);
    // Column 0 as the row-number column.
    void SetNumberedColumn(bool on);
    bool HasNumberedColumn() const { return m_bNumberedColumn; }
    CellKind GetCellKind(int row, int col) const;
    // Alignment of the data cells of columns first..last, and of one header cell.
    void SetColumnAlign(int first, int last, CellAlign align);
    void SetHeaderAlign(int col, CellAlign align);
    CellAlign GetCellAlign(int row, int col) const;
    // The library's alignment call: horizontal argument 0 left, 1 centre, 2 right; the
    // vertical and the other arguments do not change a one-line cell.
    void SetColumnAlignment(int first, int last, int horizontal, int vertical, int wrap, int sheet);

    // Cells. Reads outside the grid give an empty text and 0; writes outside it do nothing.
    void SetCellText(int row, int col, const std::string& text);
    std::string GetCellText(int row, int col) const;
    void SetCellInt(int row, int col, int value);
    // The integer a cell holds: its text read as a decimal number (empty: 0), held to int range.
    int GetCellInt(int row, int col) const;
    void SetCellBackground(int row, int col, COLORREF color);
    COLORREF GetCellBackground(int row, int col) const;
    void SetRowBackground(int row, COLORREF color);
    bool IsEditable(int row, int col) const;

    // Rows.
    void SelectRow(int row, bool select);
    bool IsRowSelected(int row) const;
    std::vector<int> SelectedRows() const;
    void SetRowBorder(int row, int style);
    int GetRowBorder(int row) const;
    void DeleteRow(int row);

    // The keyboard's cell: always a data cell (row 1 on, not the row-number column), the first
    // until the user moves it; row and column -1 while the grid has no data cell.
    int GetCurrentRow() const;
    int GetCurrentCol() const;
    void SetCurrentCell(int row, int col);

    // The user's actions, from a back end or a driver.
    void UserClickCell(int row, int col);
    // A key pressed while the grid has the focus and no cell is being edited. The arrows move
    // the keyboard's cell (Home and End to the row's first and last cell, with Ctrl to the
    // grid's);
    // Space acts as a click on it and Ctrl+Space as a click on its row's number (or on the cell
    // in a grid without numbers); Shift+Up and Shift+Down act as clicks on the rows they pass
    // that are not selected yet, so they select as they go. False for any other key.
    bool UserKeyDown(UINT key, bool shift, bool ctrl);
    // Types text into a cell, replacing its value. Refused (false) unless the cell takes input
    // and the text is an optional minus sign followed by digits.
    bool UserTypeCell(int row, int col, const std::string& text);
    static bool IsIntegerInput(const std::string& text);

    // The text's width in pixels in the grid's font.
    int GetTextExtent(const std::string& text) const;

  protected:
    // The library's side of a mouse click on a cell: toggles the selection of a data row, then
    // reports the click (OnCellClick and GN_CELLCLICK). A grid that decides itself whether the
    // library sees a click overrides it and calls this one for the clicks it passes on.
    virtual void OnLButtonDown(int row, int col);
    // A cell was clicked (the header row and the row-number column included).
    virtual void OnCellClick(int /*row*/, int /*col*/) {}
    // The user changed a cell's value.
    virtual void OnEndEdit(int /*row*/, int /*col*/) {}
    // Runs once the grid is a child of its dialog.
    virtual void GridOnInitialUpdate() {}

  private:
    struct Cell {
        std::string text;
        COLORREF background;
        bool backgroundSet = false;
    };
    struct Row {
        std::vector<Cell> cells;
        bool selected = false;
        int border = kRowBorderNone;
    };
    struct Column {
        int width = 0;
        CellKind kind = CellKind::Text;
        CellAlign align = CellAlign::Left;
        CellAlign headerAlign = CellAlign::Center;
    };

    void Resize();
    bool InGrid(int row, int col) const;
    int FirstDataCol() const { return m_bNumberedColumn ? 1 : 0; }
    // Moves the keyboard's cell by rows and columns, held to the data cells.
    void MoveCurrent(int rows, int cols);
    // Clicks the row's cell in the keyboard's column unless the row is selected already.
    void ClickUnselected(int row);
    void SendNotify(UINT code);

    GridSettings m_settings;
    std::vector<Row> m_rows;
    std::vector<Column> m_columns;
    bool m_bNumberedColumn = false;
    int m_nCurRow = 1;  // held to the data cells when read
    int m_nCurCol = 0;
};

template <class G>
G* CGridCtrl::Attach(CDialog& parent, std::unique_ptr<G> grid) {
    G* raw = grid.get();
    parent.InsertControl(std::move(grid));
    static_cast<CGridCtrl*>(raw)->GridOnInitialUpdate();
    return raw;
}

}  // namespace fw
