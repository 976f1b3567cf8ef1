// The grid control: its place in the dialog, clicks and row selection, typing into integer cells,
// reading cells back, colours, and reads and writes outside the grid.
#include <climits>

#include "platform/fw/grid.h"
#include "platform/fw/tests/fw_fixture.h"
#include "platform/fw/tests/test_grid.h"

namespace fwtest {
namespace {

class RecordingDialog final : public fw::CDialog {
  public:
    RecordingDialog() : CDialog(kGridDialog) {}
    std::vector<fw::UINT> codes;

  protected:
    fw::BOOL OnCommand(fw::WPARAM wParam, fw::LPARAM lParam) override {
        if (fw::LOWORD(wParam) == kGridPlace) {
            codes.push_back(fw::HIWORD(wParam));
        }
        return CDialog::OnCommand(wParam, lParam);
    }
};

class GridTest : public FwTest {
  protected:
    GridTest() {
        EXPECT_TRUE(dlg.Create(kGridDialog));
        dlg.ShowWindow(fw::SW_SHOW);
        grid = fw::CGridCtrl::Attach(dlg, std::make_unique<TestGrid>(dlg, kGridPlace));
    }
    RecordingDialog dlg;
    TestGrid* grid = nullptr;
};

TEST_F(GridTest, TakesThePlaceholdersPlaceAndRunsItsInitialUpdate) {
    EXPECT_TRUE(grid->initialised);
    EXPECT_EQ(dlg.GetDlgItem(kGridPlace), grid);
    fw::Rect rect;
    grid->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 218);  // 145 units at 6 pixels per 4
    EXPECT_EQ(rect.Height(), 138);
    // The placeholder stays, hidden, behind the grid.
    ASSERT_EQ(dlg.Controls().size(), 3u);
    EXPECT_EQ(dlg.Controls()[0].get(), grid);
    EXPECT_FALSE(dlg.Controls()[1]->IsWindowVisible());
}

TEST_F(GridTest, ClicksToggleDataRowsAndAreReportedWithRowAndColumn) {
    grid->UserClickCell(2, 1);
    EXPECT_TRUE(grid->IsRowSelected(2));
    grid->UserClickCell(3, 0);
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{2, 3}));
    grid->UserClickCell(2, 2);
    EXPECT_EQ(grid->SelectedRows(), (std::vector<int>{3}));
    // The header row is reported but never selected.
    grid->UserClickCell(0, 1);
    EXPECT_FALSE(grid->IsRowSelected(0));
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{2, 1}, {3, 0}, {2, 2}, {0, 1}}));
    EXPECT_EQ(dlg.codes, std::vector<fw::UINT>(4, fw::GN_CELLCLICK));
    // Outside the grid, or while it is disabled, nothing happens.
    grid->UserClickCell(4, 0);
    grid->UserClickCell(1, 3);
    grid->EnableWindow(fw::FALSE);
    grid->UserClickCell(1, 1);
    EXPECT_EQ(grid->clicks.size(), 4u);
}

struct TypeCase {
    int row;
    int col;
    const char* text;
    bool accepted;
};

TEST_F(GridTest, OnlyIntegerDataCellsTakeOnlyIntegerInput) {
    const TypeCase cases[] = {
        {1, 2, "16", true},  {1, 2, "-3", true},  {1, 2, "", true},     {1, 2, "1a", false},
        {1, 2, "+4", false}, {1, 2, " 4", false}, {1, 2, "--1", false}, {1, 2, "-", true},
        {0, 2, "5", false},  {1, 1, "5", false},  {4, 2, "5", false},
    };
    for (const auto& c : cases) {
        grid->SetCellText(1, 2, "7");
        EXPECT_EQ(grid->UserTypeCell(c.row, c.col, c.text), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_EQ(grid->GetCellText(c.row, c.col), c.text);
        } else {
            EXPECT_EQ(grid->GetCellText(1, 2), "7") << c.text;
        }
    }
    EXPECT_EQ(grid->edits.size(), 4u);
    EXPECT_EQ(dlg.codes, std::vector<fw::UINT>(4, fw::GN_ENDEDIT));
}

struct IntCase {
    const char* text;
    int value;
};

TEST_F(GridTest, CellsReadAsIntegersHeldToTheIntRange) {
    const IntCase cases[] = {{"", 0},
                             {"12", 12},
                             {"-5", -5},
                             {"-", 0},
                             {"  8", 8},
                             {"3x", 3},
                             {"99999999999", INT_MAX},
                             {"-99999999999", INT_MIN}};
    for (const auto& c : cases) {
        grid->SetCellText(2, 2, c.text);
        EXPECT_EQ(grid->GetCellInt(2, 2), c.value) << c.text;
    }
    grid->SetCellInt(2, 2, -40);
    EXPECT_EQ(grid->GetCellText(2, 2), "-40");
}

TEST_F(GridTest, OutsideTheGridReadsNothingAndWritesNothing) {
    grid->SetCellText(-1, 0, "x");
    grid->SetCellText(9, 9, "x");
    grid->SetColWidth(7, 10);
    grid->SelectRow(99, true);
    grid->SetRowBorder(-3, fw::kRowBorderSolid);
    EXPECT_EQ(grid->GetCellText(9, 9), "");
    EXPECT_EQ(grid->GetCellInt(-1, -1), 0);
    EXPECT_EQ(grid->GetColWidth(7), 0);
    EXPECT_TRUE(grid->SelectedRows().empty());
    EXPECT_EQ(grid->GetRowBorder(-3), fw::kRowBorderNone);
}

TEST_F(GridTest, FixedCellsAreGreyAndRowsTakeAColourOfTheirOwn) {
    grid->SetNumberedColumn(true);
    EXPECT_EQ(grid->GetCellBackground(0, 1), 0xC0C0C0u);
    EXPECT_EQ(grid->GetCellBackground(2, 0), 0xC0C0C0u);
    EXPECT_EQ(grid->GetCellText(2, 0), "2");
    EXPECT_EQ(grid->GetCellBackground(2, 1), fw::kColorWhite);
    grid->SetRowBackground(2, fw::kColorRed);
    EXPECT_EQ(grid->GetCellBackground(2, 1), fw::kColorRed);
    EXPECT_EQ(grid->GetCellBackground(2, 2), fw::kColorRed);
    EXPECT_EQ(grid->GetCellBackground(2, 0), 0xC0C0C0u);
    grid->SetRowBackground(2, fw::kColorWhite);
    EXPECT_EQ(grid->GetCellBackground(2, 1), fw::kColorWhite);
}

TEST_F(GridTest, RowCountWidthsAndAlignment) {
    grid->SetNumRows(7);
    EXPECT_EQ(grid->GetNumRows(), 7);
    grid->SetCellText(6, 1, "last");
    EXPECT_EQ(grid->GetCellText(6, 1), "last");
    grid->DeleteRow(1);
    EXPECT_EQ(grid->GetNumRows(), 6);
    EXPECT_EQ(grid->GetCellText(5, 1), "last");
    grid->SetColWidth(1, 40);
    EXPECT_EQ(grid->GetColWidth(1), 40);
    grid->SetColumnAlignment(0, 3, 1, 1, 1, -1);
    EXPECT_EQ(grid->GetCellAlign(1, 0), fw::CellAlign::Center);
    EXPECT_EQ(grid->GetCellAlign(1, 2), fw::CellAlign::Center);
    EXPECT_EQ(grid->GetTextExtent("abcd"), 24);
}

}  // namespace
}  // namespace fwtest
