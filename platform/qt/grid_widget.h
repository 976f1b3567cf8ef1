// The Qt face of the framework's grid control: a table widget whose header row is the table's
// horizontal header (grey, stays in view while the rows scroll) and whose row-number column, when
// the grid has one, is the vertical header. Row selection, row borders and cell colours are the
// framework's and are painted here; the table's own selection is off. Integer cells are edited in
// a line edit that takes only an optional minus sign and digits.
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

  private:
    void UpdateScrollPolicy();
    void OnItemChanged(QTableWidgetItem* item);

    std::function<void(int, int)> m_onClick;
    std::function<void(int, int, const std::string&)> m_onType;
    int m_firstCol = 0;
    bool m_highlight = true;
    std::vector<bool> m_selected;  // by grid row
    std::vector<bool> m_bordered;  // by grid row
    std::vector<bool> m_integerCols;
    std::string m_style;
};

}  // namespace fwqt
