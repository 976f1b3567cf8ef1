// The checks of the System Definition dialog (board ranges) and of the idle port dialog (counts,
// board boundaries, overlaps), case by case, with the message each refusal shows.
#include <optional>

#include "app/tests/app_fixture.h"
#include "platform/fw/grid.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "sysdef/idle_dlg.h"
#include "sysdef/sysdef_dlg.h"
#include "sysdef/tests/sysdef_records.h"

namespace apptest {
namespace {

using Ranges = std::vector<std::pair<int, int>>;
using sysdeftest::Record;

class DialogChecksTest : public AppTest {
  protected:
    DialogChecksTest() { Start(); }
    ~DialogChecksTest() override {
        if (main) {
            app->m_pMainWnd = nullptr;
            main->ReleaseData();
        }
    }
    // The main window the System Definition dialog reads its table from, holding table.
    void MainWith(std::unique_ptr<SysDefTable> table) {
        main = std::make_unique<CTavDlg>();
        app->m_pMainWnd = main.get();
        main->SetSysDefTable(std::move(table));
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : driver.MessageBoxes()) {
            EXPECT_EQ(box.caption, "tavora");
            EXPECT_EQ(box.type, fw::MB_OK | fw::MB_ICONHAND);
            texts.push_back(box.text);
        }
        return texts;
    }
    std::unique_ptr<CTavDlg> main;
};

struct IdleCase {
    const char* name;
    int range;
    // Rows as typed: (start, count); an empty text where the value is std::nullopt.
    std::vector<std::pair<std::optional<int>, std::optional<int>>> rows;
    const char* message;  // "" when accepted
    Ranges stored;        // the record's list afterwards
};

TEST_F(DialogChecksTest, IdleRangesAreCheckedAgainstTheBoardRangeAndEachOther) {
    const std::string k7030 =
        "Error in Row# 1\nThe 'Count' you entered must be smaller or equal to the 'Range' in the "
        "System Definition Table.";
    const std::string k20002 = "The data you entered in Row# 1 is invalid, please re-enter.";
    const std::string k20001 = "Row# 1 conflicts with Row# 2\nPlease reenter these rows again!";
    const IdleCase cases[] = {
        {"whole board", 16, {{16, 16}}, "", {{16, 16}}},
        {"across a boundary", 16, {{8, 16}}, k20002.c_str(), {{8, 16}}},
        {"one past a boundary", 16, {{15, 2}}, k20002.c_str(), {{15, 2}}},
        {"count above the range", 16, {{0, 17}}, k7030.c_str(), {{1, 1}}},
        {"no range and a count", 0, {{0, 1}}, k7030.c_str(), {{1, 1}}},
        {"no range and no list", 0, {}, "", {}},
        {"overlap", 8, {{0, 4}, {2, 4}}, k20001.c_str(), {{0, 4}, {2, 4}}},
        {"touching", 8, {{0, 4}, {4, 4}}, "", {{0, 4}, {4, 4}}},
        {"inside another", 16, {{0, 8}, {2, 2}}, k20001.c_str(), {{0, 8}, {2, 2}}},
        {"empty count ends the list", 8, {{0, 4}, {9, std::nullopt}, {8, 4}}, "", {{0, 4}}},
        {"negative count", 16, {{0, -2}}, k20002.c_str(), {{1, 1}}},
        {"negative start", 16, {{-1, 2}}, k20002.c_str(), {{1, 1}}},
        {"start above the ports", 16, {{5000, 1}}, "", {{5000, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SysDefRecord record = Record("SW1", "VIDEO", 128, 0, 0, c.range, {}, {{1, 1}});
        const std::size_t before = driver.MessageBoxes().size();
        CIdleDlg dlg(IDS_IDLE_OUTPUTS, &record, nullptr);
        ASSERT_TRUE(dlg.Create(IDD_IDLE));
        EXPECT_EQ(dlg.GetWindowText(), "Idle Outputs - SW1 - VIDEO");
        EXPECT_EQ(dlg.GetGrid()->GetCellText(1, 0), "1");
        dlg.GetGrid()->SetCellText(1, 0, "");
        dlg.GetGrid()->SetCellText(1, 1, "");
        int row = 1;
        for (const auto& [start, count] : c.rows) {
            dlg.GetGrid()->SetCellText(row, 0, start ? std::to_string(*start) : "");
            dlg.GetGrid()->SetCellText(row, 1, count ? std::to_string(*count) : "");
            ++row;
        }
        dlg.ShowWindow(fw::SW_SHOW);
        dlg.GetDlgItem(fw::IDOK)->UserClick();
        const auto messages = Messages();
        if (std::string(c.message).empty()) {
            EXPECT_EQ(messages.size(), before);
            EXPECT_FALSE(dlg.IsWindowVisible());
        } else {
            ASSERT_EQ(messages.size(), before + 1);
            EXPECT_EQ(messages.back(), c.message);
            EXPECT_TRUE(dlg.IsWindowVisible());
            // A range across a board boundary is told without selecting its row.
            EXPECT_EQ(dlg.GetGrid()->IsRowSelected(1),
                      std::string(c.name).find("boundary") == std::string::npos);
        }
        Ranges stored;
        for (int k = 0; k < record.m_nIdleOutRanges; ++k) {
            stored.emplace_back(static_cast<int>((*record.m_pIdleOutStart)[k]),
                                static_cast<int>((*record.m_pIdleOutCount)[k]));
        }
        EXPECT_EQ(stored, c.stored);
        EXPECT_EQ(record.m_nIdleInRanges, 0);
        dlg.DestroyWindow();
    }
}

// A number typed past the int range is refused, never taken as the int's end (nor wrapped, as the
// platform's conversion would: 4294967301 as 5).
TEST_F(DialogChecksTest, IdleNumbersPastTheIntRangeAreRefused) {
    struct Case {
        int range;
        const char* start;
        const char* count;
        bool countTooLarge;  // message 7030, else 20002
    };
    const Case cases[] = {
        {16, "4294967301", "1", false},  {16, "4294967296", "16", false},
        {16, "-4294967296", "1", false}, {16, "99999999999999999999", "1", false},
        {10, "2147483647", "3", false},  // its last port is past the int range
        {16, "0", "4294967296", true},   {16, "0", "-4294967295", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.count);
        SysDefRecord record = Record("SW1", "VIDEO", 128, 0, 0, c.range, {}, {{1, 1}});
        CIdleDlg dlg(IDS_IDLE_OUTPUTS, &record, nullptr);
        ASSERT_TRUE(dlg.Create(IDD_IDLE));
        dlg.ShowWindow(fw::SW_SHOW);
        ASSERT_TRUE(dlg.GetGrid()->UserTypeCell(1, 0, c.start));
        ASSERT_TRUE(dlg.GetGrid()->UserTypeCell(1, 1, c.count));
        const std::size_t before = driver.MessageBoxes().size();
        dlg.GetDlgItem(fw::IDOK)->UserClick();
        const auto messages = Messages();
        ASSERT_EQ(messages.size(), before + 1);
        EXPECT_EQ(messages.back(),
                  c.countTooLarge ? "Error in Row# 1\nThe 'Count' you entered must be smaller or "
                                    "equal to the 'Range' in the System Definition Table."
                                  : "The data you entered in Row# 1 is invalid, please re-enter.");
        EXPECT_TRUE(dlg.IsWindowVisible());
        ASSERT_EQ(record.m_nIdleOutRanges, 1);  // the list as it was
        EXPECT_EQ((*record.m_pIdleOutStart)[0], 1u);
        dlg.DestroyWindow();
    }
}

struct RangeCase {
    const char* inRange;
    const char* outRange;
    const char* message;  // "" when accepted
};

// A range above the port count, a negative Out. Range and one equal to the port count are
// range_messages.scn's.
TEST_F(DialogChecksTest, BoardRangesLieBetweenZeroAndThePortCount) {
    const std::string in = "You have entered an invalid In. Range for Switcher SW1, Level VIDEO";
    const std::string out = "You have entered an invalid Out. Range for Switcher SW1, Level VIDEO";
    const RangeCase cases[] = {
        {"0", "0", ""},
        {"", "", ""},
        {"-1", "0", in.c_str()},
        {"200", "-1", in.c_str()},
        // Past the int range, where the platform's conversion would wrap to 5 and 0.
        {"4294967301", "0", in.c_str()},
        {"0", "4294967296", out.c_str()},
        {"-99999999999999999999", "0", in.c_str()},
    };
    MainWith(sysdeftest::Table({Record("SW1", "AUDIO", 128, 64), Record("SW1", "VIDEO", 128, 64)}));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.inRange) + "/" + c.outRange);
        const std::size_t before = driver.MessageBoxes().size();
        CSysDefDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_SYSDEF));
        EXPECT_EQ(dlg.GetRowCount(), 2);
        dlg.GetGrid()->SetCellText(2, 4, c.inRange);
        dlg.GetGrid()->SetCellText(2, 5, c.outRange);
        EXPECT_EQ(dlg.ValidateRows(0, 0), std::string(c.message).empty() ? 1 : 0);
        // Row 1 alone is valid whatever row 2 holds.
        EXPECT_EQ(dlg.ValidateRows(1, 0), 1);
        const auto messages = Messages();
        if (std::string(c.message).empty()) {
            EXPECT_EQ(messages.size(), before);
        } else {
            ASSERT_EQ(messages.size(), before + 1);
            EXPECT_EQ(messages.back(), c.message);
            EXPECT_TRUE(dlg.GetGrid()->IsRowSelected(2));
        }
        dlg.DestroyWindow();
    }
}

TEST_F(DialogChecksTest, ClicksOnTheHeaderOrPastTheTableSelectNoRow) {
    auto table = std::make_unique<SysDefTable>();
    table->push_back(std::make_unique<SysDefRecord>());
    MainWith(std::move(table));
    CSysDefDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SYSDEF));
    dlg.ShowWindow(fw::SW_SHOW);
    CSysDefGrid* grid = dlg.GetGrid();
    EXPECT_EQ(grid->GetNumRows(), 2);
    grid->UserClickCell(0, 1);
    EXPECT_EQ(grid->GetSelectedRow(), -1);
    EXPECT_EQ(grid->IsRowSelected(), 0);
    grid->UserClickCell(1, 1);
    EXPECT_EQ(grid->GetSelectedRow(), 1);
    EXPECT_EQ(grid->GetRowBorder(1), fw::kRowBorderSolid);
    // Clicking the selected row again keeps it selected.
    grid->UserClickCell(1, 4);
    EXPECT_TRUE(grid->IsRowSelected(1));
    dlg.DestroyWindow();
}

TEST_F(DialogChecksTest, AFullTableShowsEveryRowPastTheGridsStartingSize) {
    auto table = std::make_unique<SysDefTable>();
    for (int i = 0; i < 100; ++i) {
        table->push_back(
            std::make_unique<SysDefRecord>(Record("", "L" + std::to_string(i), 0, 0, i)));
    }
    MainWith(std::move(table));
    CSysDefDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SYSDEF));
    EXPECT_EQ(dlg.GetGrid()->GetNumRows(), 101);
    EXPECT_EQ(dlg.GetGrid()->GetCellText(100, 1), "L99");
    EXPECT_EQ(dlg.GetGrid()->GetCellInt(100, 4), 99);
    dlg.DestroyWindow();
}

TEST_F(DialogChecksTest, ColumnWidthsShareThePlaceholderAfterTheThumb) {
    CSysDefDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_SYSDEF));
    CSysDefGrid* grid = dlg.GetGrid();
    EXPECT_EQ(grid->GetColumnCount(), 6);
    EXPECT_EQ(grid->GetCellText(0, 5), "Out. Range");
    grid->SetColumnWidths(1017);  // (1017 - 17) / 10 = 100 with the headless thumb of 17
    const int thumb = fw::GetSystemMetrics(fw::SM_CXHTHUMB);
    const int u = (1017 - thumb) / 10;
    EXPECT_EQ(grid->GetColWidth(0), 2 * u);
    EXPECT_EQ(grid->GetColWidth(2), u);
    EXPECT_EQ(grid->GetColWidth(3), u);
    EXPECT_EQ(grid->GetColWidth(5), 2 * u);
    EXPECT_EQ(grid->GetCellAlign(1, 0), fw::CellAlign::Center);
    dlg.DestroyWindow();
}

}  // namespace
}  // namespace apptest
