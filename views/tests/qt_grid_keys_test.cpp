// The program's row-selecting grids on the Qt back end, driven by real keys: the remap table grid
// counts a selection made with Space and Shift+arrows and marks a selected row red with
// Ctrl+Space, as clicks would; the System Definition grid selects the row Space is on.
#include <QApplication>
#include <QTableWidget>
#include <QTest>

#include "platform/qt/tests/qt_fixture.h"
#include "res/resource.h"
#include "sysdef/sysdef_grid.h"
#include "views/remap_table_grid.h"

namespace qttest {
namespace {

class QtGridKeys : public QtTest {
  protected:
    QtGridKeys() { UseProgramResources(); }
    // The grid's table with the focus, as Tab would give it.
    QTableWidget* Focused(RecordingDialog& dialog) {
        Backend().PeerWidget(dialog)->activateWindow();
        auto* table = WidgetAs<QTableWidget>(dialog, IDC_GRID);
        table->setFocus();
        QApplication::processEvents();
        return table;
    }
};

TEST_F(QtGridKeys, RemapTableGridCountsWhatTheKeysSelectAndMarksRowsRed) {
    RecordingDialog dialog{IDD_REMAP_TABLE};
    ASSERT_TRUE(dialog.Create(IDD_REMAP_TABLE));
    dialog.ShowWindow(fw::SW_SHOW);
    auto* grid = fw::CGridCtrl::Attach(
        dialog,
        std::make_unique<CRemapTableGrid>(dialog, IDC_GRID, fw::Rect{}, IoType::Input, nullptr));
    grid->SetNumRows(5);
    QTableWidget* table = Focused(dialog);
    ASSERT_NE(table, nullptr);

    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_TRUE(grid->IsRowSelected(2));
    EXPECT_EQ(grid->m_nSelected, 1);
    QTest::keyClick(table, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(grid->GetCellBackground(2, 1), fw::kColorRed);
    EXPECT_EQ(table->item(1, 0)->background().color(), QColor(Qt::red));
    EXPECT_EQ(grid->m_nSelected, 1);
    QTest::keyClick(table, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(grid->GetCellBackground(2, 1), fw::kColorWhite);
    QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(table, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(grid->m_nSelected, 3);
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{2, 3}));
    EXPECT_EQ(grid->m_nSelected, 2);
    dialog.DestroyWindow();
}

TEST_F(QtGridKeys, SystemDefinitionGridSelectsTheRowSpaceIsOn) {
    RecordingDialog dialog{IDD_SYSDEF};
    ASSERT_TRUE(dialog.Create(IDD_SYSDEF));
    dialog.ShowWindow(fw::SW_SHOW);
    auto* grid =
        fw::CGridCtrl::Attach(dialog, std::make_unique<CSysDefGrid>(dialog, IDC_GRID, fw::Rect{}));
    grid->SetNumRows(4);
    QTableWidget* table = Focused(dialog);
    ASSERT_NE(table, nullptr);

    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(grid->GetSelectedRow(), 3);
    EXPECT_EQ(grid->IsRowSelected(), 1);
    EXPECT_EQ(grid->GetRowBorder(3), fw::kRowBorderSolid);
    QTest::keyClick(table, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectedRow(), 2);
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{2}));
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace qttest
