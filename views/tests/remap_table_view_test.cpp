// The remap table view and its grid: title, buttons, clicks counted. The rows shown, the buttons
// of a full view and Restore's refill are views/tests/scenarios/view_restore_and_restore_all.scn's.
#include "remap/tests/main_dialog_fixture.h"
#include "remap/tests/remap_entries.h"
#include "views/remap_table_dlg.h"
#include "views/remap_table_grid.h"

namespace apptest {
namespace {

class RemapTableView : public MainDialogTest {
  protected:
    void SetUp() override {
        Open();
        app->m_pMainWnd = &dlg;
    }
    void TearDown() override { app->m_pMainWnd = nullptr; }
    // The table of io holding entries; an entry 16-19 to 120-123 first.
    void Fill(IoType io) {
        dlg.Table(io) = std::make_unique<RemapTable>();
        dlg.Table(io)->push_back(remaptest::Entry(0, 16, 19, 120));
        dlg.Table(io)->push_back(remaptest::Entry(0, 5, 5, 7));
    }
    // Opens the view of io as a window of its own, as its modal run would.
    std::unique_ptr<CRemapTableDlg> OpenView(IoType io) {
        auto view = std::make_unique<CRemapTableDlg>(io, nullptr);
        EXPECT_TRUE(view->Create(IDD_REMAP_TABLE));
        return view;
    }
    static bool Enabled(CRemapTableDlg& view, int id) {
        return headless::Item(view, id).IsWindowEnabled() != fw::FALSE;
    }
};

TEST_F(RemapTableView, AbsentOrEmptyTableShowsOnlyTheHeaderRow) {
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty);
        dlg.Table(IoType::Output).reset();
        if (empty) {
            dlg.Table(IoType::Output) = std::make_unique<RemapTable>();
        }
        auto view = OpenView(IoType::Output);
        EXPECT_EQ(view->GetGrid()->GetNumRows(), 1);
        EXPECT_EQ(view->GetGrid()->GetCellText(0, 3), "Orig. Output");
        EXPECT_FALSE(Enabled(*view, IDC_TABLE_PRINT));
        EXPECT_FALSE(Enabled(*view, IDC_RESTORE_ALL));
        EXPECT_FALSE(Enabled(*view, IDC_RESTORE));
        view->DestroyWindow();
    }
}

TEST_F(RemapTableView, TitleNamesTheSelectedCopyOrEndsWithTheSeparator) {
    auto view = OpenView(IoType::Output);
    EXPECT_EQ(view->GetWindowText(), "Output Remap Table - " + dlg.TableFile(IoType::Output));
    view->DestroyWindow();
    Put("SPARE.OXT", "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) +
                         ")\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,40,40,spare\r\n");
    dlg.SelectRemapTable(IoType::Output, "SPARE.OXT");
    ASSERT_EQ(dlg.TableFile(IoType::Output), "SPARE.OXT");
    view = OpenView(IoType::Output);
    EXPECT_EQ(view->GetWindowText(), "Output Remap Table - SPARE.OXT");
    EXPECT_EQ(view->GetGrid()->GetCellText(1, 4), "40");
    view->DestroyWindow();
    CTavDlg unnamed;  // a main dialog whose tables were never opened has no file names
    app->m_pMainWnd = &unnamed;
    view = OpenView(IoType::Output);
    EXPECT_EQ(view->GetWindowText(), "Output Remap Table - ");
    view->DestroyWindow();
}

TEST_F(RemapTableView, ColumnWidthsShareThePlaceHolder) {
    auto view = OpenView(IoType::Input);
    CRemapTableGrid& grid = *view->GetGrid();
    grid.SetColumnWidths(1000);  // thumb width 17: (1000 - 17) / 9 = 109
    EXPECT_EQ(grid.GetColWidth(0), 109);
    for (int col = 1; col <= 4; ++col) {
        EXPECT_EQ(grid.GetColWidth(col), 218);
    }
    EXPECT_EQ(grid.m_nCols, 4);
    view->DestroyWindow();
}

TEST_F(RemapTableView, OutputAndNamedGridsShowTheOutputHeaders) {
    auto view = OpenView(IoType::Input);
    auto named = CRemapTableGrid::CreateObject(*view, 2001);
    EXPECT_EQ(named->m_nIOType, IoType::None);
    EXPECT_EQ(named->m_pDlg, nullptr);
    CRemapTableGrid* grid = fw::CGridCtrl::Attach(*view, std::move(named));
    EXPECT_EQ(grid->GetCellText(0, 3), "Orig. Output");
    EXPECT_EQ(grid->GetCellText(0, 4), "New Output");
    EXPECT_EQ(view->GetGrid()->GetCellText(0, 4), "New Input");
    view->DestroyWindow();
}

TEST_F(RemapTableView, ClicksAreCountedAndMarkRows) {
    Fill(IoType::Input);
    auto view = OpenView(IoType::Input);
    CRemapTableGrid& grid = *view->GetGrid();
    const auto restore = [&] { return Enabled(*view, IDC_RESTORE); };

    grid.UserClickCell(2, 0);  // a row number: selects the row
    EXPECT_TRUE(grid.IsRowSelected(2));
    EXPECT_EQ(grid.m_nSelected, 1);
    EXPECT_TRUE(restore());

    // The row number of a selected row turns it red, then white; nothing else changes.
    grid.UserClickCell(2, 0);
    EXPECT_EQ(grid.GetCellBackground(2, 1), fw::kColorRed);
    EXPECT_EQ(grid.GetCellBackground(2, 4), fw::kColorRed);
    EXPECT_TRUE(grid.IsRowSelected(2));
    EXPECT_EQ(grid.m_nSelected, 1);
    EXPECT_TRUE(restore());
    grid.UserClickCell(2, 0);
    EXPECT_EQ(grid.GetCellBackground(2, 1), fw::kColorWhite);
    EXPECT_TRUE(grid.IsRowSelected(2));
    EXPECT_EQ(grid.m_nSelected, 1);

    // A data cell of a selected row: one fewer, the row white; at 0 Restore goes off.
    grid.UserClickCell(2, 0);  // red again
    grid.UserClickCell(2, 3);
    EXPECT_FALSE(grid.IsRowSelected(2));
    EXPECT_EQ(grid.GetCellBackground(2, 1), fw::kColorWhite);
    EXPECT_EQ(grid.m_nSelected, 0);
    EXPECT_FALSE(restore());

    // The header row counts like an unselected row.
    grid.UserClickCell(0, 2);
    EXPECT_EQ(grid.m_nSelected, 1);
    EXPECT_TRUE(restore());
    EXPECT_TRUE(grid.SelectedRows().empty());

    grid.SelectAllRows();
    EXPECT_EQ(grid.m_nSelected, grid.GetNumRows());
    EXPECT_EQ(grid.m_nRowCount, grid.GetNumRows());
    for (int row = 1; row < grid.GetNumRows(); ++row) {
        EXPECT_TRUE(grid.IsRowSelected(row));
    }
    view->DestroyWindow();
}

TEST_F(RemapTableView, RefillLeavesNothingSelectedAndRestoreWithNothingSelectedDoesNothing) {
    Fill(IoType::Input);
    auto view = OpenView(IoType::Input);
    CRemapTableGrid& grid = *view->GetGrid();
    grid.UserClickCell(2, 0);
    grid.UserClickCell(0, 1);
    ASSERT_EQ(grid.m_nSelected, 2);
    view->FillGrid();
    EXPECT_TRUE(grid.SelectedRows().empty());
    EXPECT_EQ(grid.m_nSelected, 0);
    EXPECT_FALSE(Enabled(*view, IDC_RESTORE));
    // A click on the header row counts and turns Restore on with no row selected; Restore then
    // asks nothing (no confirmation is scripted), sends and records nothing.
    grid.UserClickCell(0, 1);
    ASSERT_TRUE(Enabled(*view, IDC_RESTORE));
    backend.GetTranscript().Clear();
    headless::Item(*view, IDC_RESTORE).UserClick();
    EXPECT_TRUE(Transcript().empty());
    EXPECT_EQ(dlg.Table(IoType::Input)->size(), 2u);
    EXPECT_EQ(view->GetGrid()->GetNumRows(), 6);
    view->DestroyWindow();
}

TEST_F(RemapTableView, MainDialogCloseButtonIsOffWhileAViewIsOpen) {
    for (const fw::UINT command : {ID_VIEW_INPUT_REMAP_TABLE, ID_VIEW_OUTPUT_REMAP_TABLE}) {
        bool closeWasEnabled = true;
        std::string title;
        driver.Then([&](fw::CWnd& view) {
            closeWasEnabled = Item(IDC_CLOSE).IsWindowEnabled() != fw::FALSE;
            title = view.GetWindowText();
            view.UserClose();
        });
        ASSERT_TRUE(app->OnCmdMsg(command));
        EXPECT_FALSE(closeWasEnabled);
        EXPECT_EQ(title.rfind(command == ID_VIEW_INPUT_REMAP_TABLE ? "Input" : "Output", 0), 0u);
        EXPECT_TRUE(Item(IDC_CLOSE).IsWindowEnabled());
    }
    EXPECT_TRUE(driver.Exhausted());
}

// A table file held at start (damaged, and no copy of it could be made) is not rewritten by a
// Restore or a Restore All of a table selected since: both are refused before anything changes.
class HeldTableView : public RemapTableView {
  protected:
    void SetUp() override {
        Put("TAV.IXT", kDamaged);
        for (int n = 1; n <= 99; ++n) {
            Put("TAV.IXT." + std::to_string(n) + ".BAD", "");
        }
        RemapTableView::SetUp();
    }
    static constexpr char kDamaged[] = "CONFIGCRC(0)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5";
};

TEST_F(HeldTableView, RestoreAndRestoreAllAreRefused) {
    ASSERT_TRUE(dlg.IsTableHeld(IoType::Input));
    Fill(IoType::Input);
    auto view = OpenView(IoType::Input);
    view->GetGrid()->UserClickCell(1, 0);
    const std::size_t before = Transcript().size();
    for (const int button : {IDC_RESTORE, IDC_RESTORE_ALL}) {
        headless::Item(*view, button).UserClick();
    }
    const std::string refused =
        "msgbox caption=\"tavora\" icon=stop buttons=ok text=\"The remap table file TAV.IXT is "
        "kept as it is until it is dealt with: no input remap or restore can be made.\\nMove the "
        "copies TAV.IXT.1.BAD to TAV.IXT.99.BAD out of the data folder, then try again.\" -> ok";
    EXPECT_EQ(std::vector<std::string>(Transcript().begin() + static_cast<long>(before),
                                       Transcript().end()),
              (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(dlg.Table(IoType::Input)->size(), 2u);
    EXPECT_EQ(view->GetGrid()->GetNumRows(), 6);
    EXPECT_EQ(Get("TAV.IXT"), kDamaged);
    view->DestroyWindow();
}

}  // namespace
}  // namespace apptest
