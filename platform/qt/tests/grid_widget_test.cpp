// The grid on the Qt back end: the table mirrors the grid, clicks and header clicks reach it with
// the grid's row and column, keys move its keyboard's cell and select rows as clicks do, and
// integer cells are edited with the keyboard as in any Qt table.
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "platform/fw/tests/test_grid.h"
#include "platform/qt/grid_widget.h"
#include "qt_fixture.h"

namespace qttest {
namespace {

using fwtest::TestGrid;

class GridWidgetTest : public QtTest {
  protected:
    GridWidgetTest() {
        EXPECT_TRUE(dialog.Create(kGridDialog));
        dialog.ShowWindow(fw::SW_SHOW);
        grid = fw::CGridCtrl::Attach(dialog, std::make_unique<TestGrid>(dialog, kGridPlace));
        grid->SetCellText(0, 0, "Name");
        grid->SetCellText(0, 2, "Range");
        grid->SetCellText(1, 0, "VIDEO");
        grid->SetCellInt(1, 2, 16);
        grid->SetColWidth(0, 80);
        grid->SetColWidth(1, 60);
        grid->SetColWidth(2, 50);
        table = dynamic_cast<fwqt::FwGridWidget*>(Widget(dialog, kGridPlace));
        Backend().PeerWidget(dialog)->activateWindow();
        QApplication::processEvents();
    }
    // Opens the editor of a table cell and returns it.
    QLineEdit* Edit(int tableRow, int tableCol) {
        table->setFocus();
        table->setCurrentCell(tableRow, tableCol);
        table->editItem(table->item(tableRow, tableCol));
        QApplication::processEvents();
        return table->viewport()->findChild<QLineEdit*>();
    }
    RecordingDialog dialog{kGridDialog};
    TestGrid* grid = nullptr;
    fwqt::FwGridWidget* table = nullptr;
};

TEST_F(GridWidgetTest, TheTableShowsTheGridWithAGreyHeaderRow) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Name");
    EXPECT_EQ(table->item(0, 0)->text(), "VIDEO");
    EXPECT_EQ(table->item(0, 2)->text(), "16");
    EXPECT_EQ(table->horizontalHeader()->sectionSize(0), 80);
    EXPECT_EQ(table->horizontalHeader()->sectionSize(2), 50);
    EXPECT_TRUE(table->styleSheet().contains("#c0c0c0"));
    EXPECT_FALSE(table->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(table->item(0, 2)->flags() & Qt::ItemIsEditable);
    grid->SetRowBackground(2, fw::kColorRed);
    EXPECT_EQ(table->item(1, 1)->background().color(), QColor(Qt::red));
}

TEST_F(GridWidgetTest, TheGridTakesThePlaceholdersPlaceInTheTabOrder) {
    QWidget* next = table->nextInFocusChain();
    while (next != nullptr && next->focusPolicy() == Qt::NoFocus) {
        next = next->nextInFocusChain();
    }
    EXPECT_EQ(next, Widget(dialog, fw::IDOK));
}

TEST_F(GridWidgetTest, ColumnsSizedWithinTheWidthLessAScrollBarNeedNoHorizontalScrollBar) {
    EXPECT_EQ(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    grid->SetColWidth(1, 2000);
    EXPECT_EQ(table->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

TEST_F(GridWidgetTest, ClicksOnCellsAndOnTheHeaderReachTheGrid) {
    const QRect cell = table->visualItemRect(table->item(1, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(grid->IsRowSelected(2));
    EXPECT_TRUE(table->IsGridRowSelected(2));
    const int headerX = table->horizontalHeader()->sectionViewportPosition(2) + 5;
    QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(headerX, 5));
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{2, 1}, {0, 2}}));
}

TEST_F(GridWidgetTest, IntegerCellsTakeOnlyDigitsAndEnterCommitsWithoutEndingTheDialog) {
    QLineEdit* edit = Edit(1, 2);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "-1a2b");
    EXPECT_EQ(edit->text(), "-12");
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetCellText(2, 2), "-12");
    EXPECT_EQ(dialog.Count(fw::IDOK, fw::BN_CLICKED), 0);
}

TEST_F(GridWidgetTest, EscapeCancelsTheEditAndLeavesTheDialogOpen) {
    QLineEdit* edit = Edit(0, 2);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "99");
    QTest::keyClick(edit, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetCellText(1, 2), "16");
    EXPECT_EQ(dialog.Count(fw::IDCANCEL, fw::BN_CLICKED), 0);
    // With no editor open, Esc is the dialog's again.
    QTest::keyClick(table, Qt::Key_Escape);
    EXPECT_EQ(dialog.Count(fw::IDCANCEL, fw::BN_CLICKED), 1);
}

TEST_F(GridWidgetTest, TabCommitsAndMovesOn) {
    QLineEdit* edit = Edit(0, 2);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "8");
    QTest::keyClick(edit, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetCellText(1, 2), "8");
}

// The keys reach the grid as the framework's keys: the table follows its keyboard's cell.
TEST_F(GridWidgetTest, KeysMoveTheCellAndSelectAsClicksDo) {
    table->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(table->currentIndex(), table->model()->index(0, 0));
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    EXPECT_EQ(table->currentIndex(), table->model()->index(1, 0));
    QTest::keyClick(table, Qt::Key_Space);
    QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}}));
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(table->IsGridRowSelected(3));
    QTest::keyClick(table, Qt::Key_End);
    QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), table->model()->index(0, 0));
    // A page down is the table's own move; the grid learns where it went.
    QTest::keyClick(table, Qt::Key_PageDown);
    EXPECT_EQ(grid->GetCurrentRow(), table->currentRow() + 1);
    EXPECT_GT(grid->GetCurrentRow(), 1);
}

TEST_F(GridWidgetTest, SpaceOnAnIntegerCellSelectsAndDigitsStillEditIt) {
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Right);
    QTest::keyClick(table, Qt::Key_Right);
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_FALSE(table->IsEditing());
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(grid->GetCellText(1, 2), "16");
    QTest::keyClicks(table, "7");
    ASSERT_TRUE(table->IsEditing());
    auto* edit = table->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(grid->GetCellText(1, 2), "7");
    EXPECT_EQ(grid->edits, (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST_F(GridWidgetTest, TabLeavesTheGrid) {
    table->setFocus();
    QApplication::processEvents();
    QTest::keyClick(table, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Widget(dialog, fw::IDOK));
}

TEST_F(GridWidgetTest, CtrlSpaceClicksTheRowNumber) {
    grid->SetNumberedColumn(true);
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{2, 0}}));
    EXPECT_EQ(table->currentIndex(), table->model()->index(1, 0));  // grid column 1
}

// The keyboard's cell is framed while the table has the focus, and only then.
TEST_F(GridWidgetTest, TheKeyboardsCellShowsWhileTheGridHasTheFocus) {
    const QRect cell = table->visualRect(table->model()->index(1, 1));
    const auto frameDots = [&] {
        const QImage image = table->viewport()->grab().toImage();
        int dark = 0;
        for (int x = cell.left() + 2; x < cell.right() - 2; ++x) {
            dark += qGray(image.pixel(x, cell.top() + 1)) < 128 ? 1 : 0;
        }
        return dark;
    };
    Widget(dialog, fw::IDOK)->setFocus();
    grid->SetCurrentCell(2, 1);
    QApplication::processEvents();
    EXPECT_EQ(frameDots(), 0);
    table->setFocus();
    QApplication::processEvents();
    EXPECT_GT(frameDots(), cell.width() / 4);
}

}  // namespace
}  // namespace qttest
