#include "platform/qt/grid_widget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/qt/dialog_units.h"
#include "platform/qt/qt_text.h"

namespace fwqt {

namespace {

QColor ToColor(fw::COLORREF c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Qt::Alignment ToAlignment(fw::CellAlign align) {
    switch (align) {
        case fw::CellAlign::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case fw::CellAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case fw::CellAlign::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

// Paints the framework's selection and row border, and edits integer cells with a line edit that
// refuses anything but an optional minus sign and digits.
class GridDelegate final : public QStyledItemDelegate {
  public:
    explicit GridDelegate(FwGridWidget* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const int row = m_grid->GridRow(index.row());
        const QColor background = index.data(Qt::BackgroundRole).value<QBrush>().color();
        const bool plain = background == Qt::white;
        if (m_grid->IsGridRowSelected(row) && m_grid->HighlightsSelection() && plain) {
            // A selected row shows the highlight unless it carries a colour of its own.
            opt.backgroundBrush = opt.palette.brush(QPalette::Highlight);
            opt.palette.setBrush(QPalette::Text, opt.palette.brush(QPalette::HighlightedText));
        }
        painter->save();
        painter->fillRect(opt.rect, opt.backgroundBrush);
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->setFont(opt.font);
        painter->drawText(opt.rect.adjusted(3, 0, -3, 0), static_cast<int>(opt.displayAlignment),
                          opt.text);
        if (m_grid->HasGridRowBorder(row)) {
            QPen pen(Qt::black);
            pen.setWidth(2);
            painter->setPen(pen);
            const QRect r = opt.rect.adjusted(1, 1, -1, -1);
            painter->drawLine(r.topLeft(), r.topRight());
            painter->drawLine(r.bottomLeft(), r.bottomRight());
            if (index.column() == 0) {
                painter->drawLine(r.topLeft(), r.bottomLeft());
            }
            if (index.column() == m_grid->columnCount() - 1) {
                painter->drawLine(r.topRight(), r.bottomRight());
            }
        }
        if (m_grid->hasFocus() && m_grid->currentIndex() == index) {
            // The keyboard's cell: where Space selects and typing starts an edit. Dots two
            // pixels wide show on a plain row, on a highlighted one and over a row border alike.
            QPen pen(opt.palette.color(QPalette::Text));
            pen.setWidth(2);
            pen.setStyle(Qt::DotLine);
            painter->setPen(pen);
            painter->drawRect(opt.rect.adjusted(1, 1, -1, -1));
        }
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor);
            edit != nullptr && m_grid->IsIntegerColumn(index.column())) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("-?[0-9]{0,10}")), edit));
            edit->setAlignment(
                static_cast<Qt::Alignment>(index.data(Qt::TextAlignmentRole).toInt()));
        }
        return editor;
    }

  private:
    FwGridWidget* m_grid;
};

}  // namespace

FwGridWidget::FwGridWidget(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(4);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->setSectionsClickable(true);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setVisible(false);
    setCornerButtonEnabled(false);

    connect(this, &QTableWidget::cellPressed, this, [this](int row, int col) {
        if (m_onClick) {
            m_onClick(GridRow(row), GridCol(col));
        }
    });
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int col) {
        if (m_onClick) {
            m_onClick(0, GridCol(col));
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, [this](int row) {
        if (m_onClick) {
            m_onClick(GridRow(row), 0);
        }
    });
    connect(this, &QTableWidget::itemChanged, this, &FwGridWidget::OnItemChanged);
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int col) {
        if (m_onCurrent && row >= 0 && col >= 0) {
            m_onCurrent(GridRow(row), GridCol(col));
        }
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { UpdateScrollPolicy(); });
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

void FwGridWidget::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    UpdateScrollPolicy();
}

void FwGridWidget::UpdateScrollPolicy() {
    // The program shares out the grid's width less a scroll bar's; the frame around the cells
    // would cost those columns a scroll bar of their own for a pixel or two. Only columns wider
    // than the program made them need one.
    int total = horizontalHeader()->length();
    if (verticalHeader()->isVisible()) {
        total += verticalHeader()->width();
    }
    const int budget = width() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setHorizontalScrollBarPolicy(total <= budget ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void FwGridWidget::SetHandlers(std::function<void(int, int)> onClick,
                               std::function<void(int, int, const std::string&)> onType) {
    m_onClick = std::move(onClick);
    m_onType = std::move(onType);
}

void FwGridWidget::SetKeyHandlers(std::function<bool(unsigned, bool, bool)> onKey,
                                  std::function<void(int, int)> onCurrent) {
    m_onKey = std::move(onKey);
    m_onCurrent = std::move(onCurrent);
}

void FwGridWidget::keyPressEvent(QKeyEvent* event) {
    static const std::pair<int, fw::UINT> kKeys[] = {
        {Qt::Key_Up, fw::VK_UP},       {Qt::Key_Down, fw::VK_DOWN}, {Qt::Key_Left, fw::VK_LEFT},
        {Qt::Key_Right, fw::VK_RIGHT}, {Qt::Key_Home, fw::VK_HOME}, {Qt::Key_End, fw::VK_END},
        {Qt::Key_Space, fw::VK_SPACE},
    };
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const auto key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                  [&](const auto& k) { return k.first == event->key(); });
    // Space never opens a cell's editor: it selects, as a click does.
    if (m_onKey && !IsEditing() && key != std::end(kKeys) &&
        (mods & ~(Qt::ShiftModifier | Qt::ControlModifier)) == Qt::NoModifier &&
        m_onKey(key->second, mods.testFlag(Qt::ShiftModifier),
                mods.testFlag(Qt::ControlModifier))) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void FwGridWidget::OnItemChanged(QTableWidgetItem* item) {
    if (m_onType && item != nullptr) {
        m_onType(GridRow(item->row()), GridCol(item->column()), FromQt(item->text()));
    }
}

bool FwGridWidget::IsGridRowSelected(int gridRow) const {
    return gridRow >= 0 && gridRow < static_cast<int>(m_selected.size()) &&
           m_selected[static_cast<std::size_t>(gridRow)];
}

bool FwGridWidget::HasGridRowBorder(int gridRow) const {
    return gridRow >= 0 && gridRow < static_cast<int>(m_bordered.size()) &&
           m_bordered[static_cast<std::size_t>(gridRow)];
}

bool FwGridWidget::IsIntegerColumn(int tableCol) const {
    return tableCol >= 0 && tableCol < static_cast<int>(m_integerCols.size()) &&
           m_integerCols[static_cast<std::size_t>(tableCol)];
}

void FwGridWidget::Mirror(const fw::CGridCtrl& grid) {
    const fw::GridSettings& settings = grid.Settings();
    m_firstCol = grid.HasNumberedColumn() ? 1 : 0;
    m_highlight = settings.highlightSelection;
    const int rows = std::max(grid.GetNumRows() - 1, 0);
    const int cols = std::max(grid.GetNumCols() - m_firstCol, 0);
    if (rowCount() != rows) {
        setRowCount(rows);
    }
    if (columnCount() != cols) {
        setColumnCount(cols);
    }
    MirrorLook(settings);
    MirrorRowMarks(grid, cols);
    MirrorHeaders(grid, rows, cols);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            MirrorCell(grid, r, c);
        }
    }
    if (const int row = grid.GetCurrentRow(); row > 0) {
        const QModelIndex current = model()->index(row - 1, TableCol(grid.GetCurrentCol()));
        if (current != currentIndex()) {
            setCurrentIndex(current);
        }
    }
    UpdateScrollPolicy();
    viewport()->update();
}

void FwGridWidget::MirrorLook(const fw::GridSettings& settings) {
    const QFont font = FaceFont(settings.fontFace, settings.fontPoints);
    if (this->font() != font) {
        setFont(font);
        horizontalHeader()->setFont(font);
        verticalHeader()->setFont(font);
    }
    const int rowHeight = QFontMetrics(font).height() + 4;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(rowHeight);
    setShowGrid(settings.gridLines);

    const std::string style =
        "QTableView { gridline-color: " + FromQt(ToColor(settings.gridLineColor).name()) +
        "; background: " + FromQt(ToColor(settings.background).name()) +
        "; } QHeaderView::section { background-color: " +
        FromQt(ToColor(settings.fixedCellColor).name()) +
        "; color: black; border: 0px; border-right: 1px solid " +
        FromQt(ToColor(settings.gridLineColor).name()) + "; border-bottom: 1px solid " +
        FromQt(ToColor(settings.gridLineColor).name()) + "; padding: 0px 2px; }";
    if (style != m_style) {
        m_style = style;
        setStyleSheet(ToQt(style));
    }
}

void FwGridWidget::MirrorRowMarks(const fw::CGridCtrl& grid, int cols) {
    m_selected.assign(static_cast<std::size_t>(grid.GetNumRows()), false);
    m_bordered.assign(static_cast<std::size_t>(grid.GetNumRows()), false);
    for (int r = 1; r < grid.GetNumRows(); ++r) {
        m_selected[static_cast<std::size_t>(r)] = grid.IsRowSelected(r);
        m_bordered[static_cast<std::size_t>(r)] = grid.GetRowBorder(r) != fw::kRowBorderNone;
    }
    m_integerCols.assign(static_cast<std::size_t>(cols), false);
}

void FwGridWidget::MirrorHeaders(const fw::CGridCtrl& grid, int rows, int cols) {
    if (m_firstCol == 1) {
        verticalHeader()->setVisible(true);
        verticalHeader()->setFixedWidth(grid.GetColWidth(0));
    } else {
        verticalHeader()->setVisible(false);
    }
    for (int c = 0; c < cols; ++c) {
        const int gridCol = GridCol(c);
        if (horizontalHeader()->sectionSize(c) != grid.GetColWidth(gridCol)) {
            horizontalHeader()->resizeSection(c, grid.GetColWidth(gridCol));
        }
        QTableWidgetItem* header = horizontalHeaderItem(c);
        if (header == nullptr) {
            header = new QTableWidgetItem();
            setHorizontalHeaderItem(c, header);
        }
        const QString headerText = ToQt(grid.GetCellText(0, gridCol));
        if (header->text() != headerText) {
            header->setText(headerText);
        }
        header->setTextAlignment(ToAlignment(grid.GetCellAlign(0, gridCol)));
        m_integerCols[static_cast<std::size_t>(c)] =
            rows > 0 && grid.GetCellKind(1, gridCol) == fw::CellKind::Integer;
    }
}

void FwGridWidget::MirrorCell(const fw::CGridCtrl& grid, int r, int c) {
    const int gridRow = GridRow(r);
    const int gridCol = GridCol(c);
    QTableWidgetItem* cell = item(r, c);
    if (cell == nullptr) {
        cell = new QTableWidgetItem();
        setItem(r, c, cell);
    }
    const QString text = ToQt(grid.GetCellText(gridRow, gridCol));
    if (cell->text() != text) {
        cell->setText(text);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (grid.IsEditable(gridRow, gridCol)) {
        flags |= Qt::ItemIsEditable;
    }
    if (cell->flags() != flags) {
        cell->setFlags(flags);
    }
    const QColor background = ToColor(grid.GetCellBackground(gridRow, gridCol));
    if (cell->background().color() != background) {
        cell->setBackground(background);
    }
    const Qt::Alignment align = ToAlignment(grid.GetCellAlign(gridRow, gridCol));
    if (cell->textAlignment() != static_cast<int>(align)) {
        cell->setTextAlignment(align);
    }
}

}  // namespace fwqt
