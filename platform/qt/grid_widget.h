// The Qt face of the framework's grid control: a table widget whose header row is the table's
// horizontal header (grey, stays in view while the rows scroll) and whose row-number column, when
// the grid has one, is the vertical header. Row selection, row borders and cell colours are the
// framework's and are painted here; the table's own selection is off. Integer cells are edited in
// a line edit that takes only an optional minus sign and digits. The keyboard's cell is the
// framework's: the keys that move it or select rows go to the grid, and it is framed while the
// table has the focus. Tab leaves the table.
#pragma once

#include <QTableWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/fw/grid.h"

namespace fwqt {

class FwGridWidget final : public QTableWidget {
  public:
    explicit FwGridWidget(QWidget* parent);

    // Brings the table in line with the grid, touching only what differs.
    void Mirror(const fw::CGridCtrl& grid);

    // The user's actions, in the grid's row and column numbers.
    void SetHandlers(std::function<void(int, int)> onClick,
                     std::function<void(int, int, const std::string&)> onType);
    // A key for the grid (a virtual key code, Shift, Ctrl; true when the grid took it), and the
    // keyboard's cell moved by the table itself (a page up or down).
    void SetKeyHandlers(std::function<bool(unsigned, bool, bool)> onKey,
                        std::function<void(int, int)> onCurrent);

    // The grid cell (row, column) of a table item, and back.
    int GridRow(int tableRow) const { return tableRow + 1; }
    int GridCol(int tableCol) const { return tableCol + m_firstCol; }
    int TableCol(int gridCol) const { return gridCol - m_firstCol; }

    // What the painting reads.
    bool IsGridRowSelected(int gridRow) const;
    bool HasGridRowBorder(int gridRow) const;
    bool IsIntegerColumn(int tableCol) const;
    bool HighlightsSelection() const { return m_highlight; }
    // A cell editor is open (it takes Enter and Esc).
    bool IsEditing() const { return state() == QAbstractItemView::EditingState; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The steps of Mirror: the font, lines and colours; the rows' marks; the column headers;
    // one cell.
    void MirrorLook(const fw::GridSettings& settings);
    void MirrorRowMarks(const fw::CGridCtrl& grid, int cols);
    void MirrorHeaders(const fw::CGridCtrl& grid, int rows, int cols);
    void MirrorCell(const fw::CGridCtrl& grid, int r, int c);
    void UpdateScrollPolicy();
    void OnItemChanged(QTableWidgetItem* item);

    std::function<void(int, int)> m_onClick;
    std::function<void(int, int, const std::string&)> m_onType;
    std::function<bool(unsigned, bool, bool)> m_onKey;
    std::function<void(int, int)> m_onCurrent;
    int m_firstCol = 0;
    bool m_highlight = true;
    std::vector<bool> m_selected;  // by grid row
    std::vector<bool> m_bordered;  // by grid row
    std::vector<bool> m_integerCols;
    std::string m_style;
};

}  // namespace fwqt
