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

struct Key {
    fw::UINT key;
    bool shift = false;
    bool ctrl = false;
};
const Key kDown{fw::VK_DOWN}, kUp{fw::VK_UP}, kLeft{fw::VK_LEFT}, kRight{fw::VK_RIGHT},
    kHome{fw::VK_HOME}, kEnd{fw::VK_END}, kSpace{fw::VK_SPACE};
const Key kShiftDown{fw::VK_DOWN, true}, kShiftUp{fw::VK_UP, true};
const Key kCtrlHome{fw::VK_HOME, false, true}, kCtrlEnd{fw::VK_END, false, true},
    kCtrlSpace{fw::VK_SPACE, false, true};

struct KeyCase {
    const char* what;
    std::vector<Key> keys;
    std::pair<int, int> current;
    std::vector<std::pair<int, int>> clicks;
    std::vector<int> selected;
};

TEST_F(GridTest, KeysMoveTheKeyboardsCellAndActAsClicksOnIt) {
    const KeyCase cases[] = {
        {"the first data cell to start with", {}, {1, 0}, {}, {}},
        {"arrows move within the data cells",
         {kDown, kDown, kDown, kRight, kRight, kRight, kUp},
         {2, 2},
         {},
         {}},
        {"End to the row's last cell", {kDown, kEnd}, {2, 2}, {}, {}},
        {"Home to the row's first cell", {kDown, kEnd, kHome}, {2, 0}, {}, {}},
        {"Ctrl+End to the last cell", {kCtrlEnd}, {3, 2}, {}, {}},
        {"Ctrl+Home to the first cell", {kCtrlEnd, kLeft, kCtrlHome}, {1, 0}, {}, {}},
        {"Space is a click on the cell", {kDown, kRight, kSpace}, {2, 1}, {{2, 1}}, {2}},
        {"a second Space unselects, as a second click does",
         {kSpace, kSpace},
         {1, 0},
         {{1, 0}, {1, 0}},
         {}},
        {"Shift+Down selects the rows it passes",
         {kShiftDown, kShiftDown},
         {3, 0},
         {{1, 0}, {2, 0}, {3, 0}},
         {1, 2, 3}},
        {"Shift+Up passes over rows already selected",
         {kDown, kSpace, kShiftUp},
         {1, 0},
         {{2, 0}, {1, 0}},
         {1, 2}},
        {"Shift at the edge does nothing", {kShiftUp}, {1, 0}, {}, {}},
        {"Ctrl+Space in a grid without numbers is a click on the cell",
         {kRight, kCtrlSpace},
         {1, 1},
         {{1, 1}},
         {1}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingDialog dialog;
        ASSERT_TRUE(dialog.Create(kGridDialog));
        dialog.ShowWindow(fw::SW_SHOW);
        auto* g = fw::CGridCtrl::Attach(dialog, std::make_unique<TestGrid>(dialog, kGridPlace));
        for (const Key& key : c.keys) {
            EXPECT_TRUE(g->UserKeyDown(key.key, key.shift, key.ctrl));
        }
        EXPECT_EQ(std::make_pair(g->GetCurrentRow(), g->GetCurrentCol()), c.current);
        EXPECT_EQ(g->clicks, c.clicks);
        EXPECT_EQ(g->SelectedRows(), c.selected);
        EXPECT_EQ(dialog.codes.size(), c.clicks.size());  // each reported as a click is
        EXPECT_EQ(g->HasFocus(), !c.keys.empty());
        dialog.DestroyWindow();
    }
}

TEST_F(GridTest, TheRowNumberIsCtrlSpaceAndNeverTheKeyboardsCell) {
    grid->SetNumberedColumn(true);
    EXPECT_EQ(grid->GetCurrentCol(), 1);
    grid->UserKeyDown(fw::VK_HOME, false, false);
    EXPECT_EQ(grid->GetCurrentCol(), 1);
    grid->UserKeyDown(fw::VK_DOWN, false, false);
    grid->UserKeyDown(fw::VK_SPACE, false, true);
    grid->UserClickCell(3, 0);  // a click on a row number keeps the column
    EXPECT_EQ(grid->clicks, (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}}));
    EXPECT_EQ(std::make_pair(grid->GetCurrentRow(), grid->GetCurrentCol()), std::make_pair(3, 1));
    grid->UserClickCell(0, 2);  // nor does the header row move it
    EXPECT_EQ(std::make_pair(grid->GetCurrentRow(), grid->GetCurrentCol()), std::make_pair(3, 1));
}

TEST_F(GridTest, KeysTheGridDoesNotTakeAndKeysWhileDisabled) {
    EXPECT_FALSE(grid->UserKeyDown(fw::VK_NEXT, false, false));
    EXPECT_FALSE(grid->UserKeyDown('5', false, false));
    EXPECT_TRUE(grid->UserTypeCell(3, 2, "8"));  // typing moves the keyboard's cell there
    EXPECT_EQ(std::make_pair(grid->GetCurrentRow(), grid->GetCurrentCol()), std::make_pair(3, 2));
    grid->EnableWindow(fw::FALSE);
    EXPECT_FALSE(grid->UserKeyDown(fw::VK_SPACE, false, false));
    EXPECT_TRUE(grid->clicks.empty());
    // A grid left with fewer rows holds its keyboard's cell to them; one without any has none.
    grid->SetNumRows(2);
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    grid->SetNumRows(1);
    EXPECT_EQ(grid->GetCurrentRow(), -1);
    EXPECT_EQ(grid->GetCurrentCol(), -1);
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
