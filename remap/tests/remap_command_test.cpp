// The Remap command from the button to the rewritten table file, with boards that answer the
// refresh requests, on a clock the test controls. How each way the boards can answer ends (every
// board, one, none, wrong answers, a failed send, a configuration change during the wait) is
// boards/tests/scenarios/remap_*.scn's.
#include "platform/control/folder_locks.h"
#include "platform/control/udp_socket.h"
#include "remap/tests/main_dialog_fixture.h"
#include "remap/tests/remap_entries.h"

namespace apptest {
namespace {

class RemapCommand : public MainDialogTest {
  protected:
    void Start() {
        control::Config config = control::DefaultConfig();
        config.rebootPort = listener.LocalPort();
        config.statusPort = 0;
        Put("TAV.SDF", kMainDialogSysDef);
        Connect(config);
        ASSERT_TRUE(app->SetupSocket());
        ASSERT_TRUE(dlg.Create(IDD_TAV_DIALOG));
        // The boards answer each refresh request with what they took from the last message.
        control::SetBoardRefreshHandler([this](std::int32_t) { Answer(); });
        backend.GetTranscript().Clear();
    }
    void Answer() {
        while (auto datagram = listener.TryReceive()) {
            last = datagram->bytes;
        }
        const auto& chosen = dlg.NotifyBoardList();
        if (last.size() < 16 + 6 * chosen.size()) {
            return;
        }
        const std::size_t at = 12 + 6 * chosen.size();
        const int io = last[at + 1] == 'I' ? 0 : 1;
        for (const auto& b : chosen) {
            std::array<std::uint8_t, 8> record = *app->GetBoardInfo(b.number);
            record[io] = last[at] > 0 ? 1 : 0;
            record[2 + 2 * io] = last[at + 3];
            record[3 + 2 * io] = last[at + 2];
            record[6 + io] = 0;
            control::AcceptBoardReport(b.number, record);
        }
    }
    // Single input remap on MAIN VIDEO from original to the first idle number.
    void SetUpSingle(const std::string& original, const std::string& comment = "") {
        Prepare(0, "MAIN", "VIDEO", 0);
        Type(IDC_ORIGINAL_NUMBER, original);
        Choose(IDC_NEW_NUMBER, Items(IDC_NEW_NUMBER).front());
        newNumber = Items(IDC_NEW_NUMBER).front();
        if (!comment.empty()) {
            Type(IDC_COMMENT, comment);
        }
    }
    void Proceed() {
        driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    }
    void CloseProgress() {
        driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    }
    std::string Line(const std::string& original, const std::string& comment = " ") {
        return "MAIN,VIDEO,0," + original + "," + original + "," + newNumber + "," + newNumber +
               "," + comment;
    }
    std::size_t Entries() { return dlg.Table(0) ? dlg.Table(0)->size() : 0; }
    bool Shown(const std::string& text) {
        return std::any_of(Transcript().begin(), Transcript().end(),
                           [&](const std::string& l) { return l.find(text) != std::string::npos; });
    }

    // The ports of the last RE-MAP message the boards were sent, "original>new" each.
    std::string Sent() {
        Answer();
        const std::size_t at = 12 + 6 * dlg.NotifyBoardList().size();
        std::string ports;
        for (std::size_t e = at + 4; e + 6 <= last.size(); e += 6) {
            ports += (ports.empty() ? "" : " ") + std::to_string((last[e + 2] << 8) | last[e + 3]) +
                     ">" + std::to_string((last[e + 4] << 8) | last[e + 5]);
        }
        return ports;
    }
    // Another workstation's table file: one remap of original 7 to 101, made there.
    void ChangedElsewhere() {
        Put("TAV.IXT", "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) +
                           ")\r\n09:00:00,May 05 2003,MAIN,VIDEO,0,7,7,101,101,elsewhere\r\n");
    }
    void SelectSpareThenRemap(bool changed) {
        Start();
        Put("SPARE.IXT", "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) +
                             ")\r\n08:00:00,May 05 2003,MAIN,VIDEO,0,9,9,102,102,spare\r\n");
        dlg.SelectRemapTable(0, "SPARE.IXT");
        ASSERT_EQ(Entries(), 1u);
        if (changed) {
            ChangedElsewhere();
        }
        SetUpSingle("5");
        Proceed();
        CloseProgress();
        Click(IDC_REMAP);
        EXPECT_TRUE(driver.Exhausted());
        EXPECT_EQ(Shown("The table taken from SPARE.IXT is no longer the working table."), changed);
        EXPECT_EQ(Sent(), (changed ? "7>101 5>" : "9>102 5>") + newNumber);
        EXPECT_EQ(Get("TAV.IXT").find(changed ? ",9,9,102" : ",7,7,101"), std::string::npos);
        EXPECT_NE(Get("TAV.IXT").find(Line("5") + "\r\n"), std::string::npos);
        EXPECT_EQ(dlg.TableFile(0), "TAV.IXT");
    }
    void RemapWhileTheLockIsHeld(bool giveUp) {
        Start();
        control::FolderLocks other;
        std::string why;
        ASSERT_EQ(other.TryLock(dir / "data", "TAV.IXT", &why), com::S_OK);
        SetUpSingle("5");
        std::string told;
        driver.Then([&](fw::CWnd& w) {
            told = headless::Item(w, IDC_LOCK_WAIT_TEXT).GetWindowText();
            EXPECT_FALSE(dlg.IsWindowEnabled());
            if (giveUp) {
                headless::Item(w, fw::IDCANCEL).UserClick();
            } else {
                other.ReleaseAll();
            }
        });
        if (!giveUp) {
            Proceed();
            CloseProgress();
        }
        Click(IDC_REMAP);
        EXPECT_TRUE(driver.Exhausted());
        EXPECT_TRUE(dlg.IsWindowEnabled());
        EXPECT_EQ(told,
                  "Another workstation is changing TAV.IXT.\nTavora goes on as soon as it has "
                  "finished.");
        EXPECT_EQ(Shown("open 150"), true);
        EXPECT_EQ(Shown("open 139"), !giveUp);
        EXPECT_EQ(Entries(), giveUp ? 0u : 1u);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), giveUp ? "5" : "");
        EXPECT_EQ(Get("TAV.IXT").find(",5,5,") != std::string::npos, !giveUp);
    }
    static constexpr char kReadAgain[] =
        "TAV.IXT was changed at another workstation; Tavora has read it again.";

    control::UdpSocket listener = control::UdpSocket::BindLoopback(0);
    std::vector<std::uint8_t> last;
    std::string newNumber;
};

TEST_F(RemapCommand, TheSameRemapTwiceTellsTheBoardsAgainAndKeepsOneEntry) {
    Start();
    for (int round = 0; round < 2; ++round) {
        SetUpSingle("5");
        Proceed();
        if (round == 1) {
            driver.Answer(fw::IDYES);
        }
        CloseProgress();
        Click(IDC_REMAP);
        EXPECT_TRUE(driver.Exhausted());
    }
    EXPECT_TRUE(Shown("There are already Input mappings in the range you have specified."));
    EXPECT_EQ(std::count_if(Transcript().begin(), Transcript().end(),
                            [](const std::string& l) { return l.rfind("open 139", 0) == 0; }),
              2);
    EXPECT_EQ(Entries(), 1u);
    EXPECT_EQ(dlg.Table(0)->front()->m_strComment, " ");
    EXPECT_NE(Get("TAV.IXT").find(Line("5") + "\r\n"), std::string::npos);
}

TEST_F(RemapCommand, ConflictAbortKeepsEarlierDeletionsForTheNextRewrite) {
    Start();
    SetUpSingle("5");
    dlg.Table(0) = std::make_unique<RemapTable>();
    dlg.Table(0)->push_back(remaptest::Entry(0, 5, 5, 90));
    dlg.Table(0)->push_back(remaptest::Entry(0, 6, 6, std::stoi(newNumber)));
    Proceed();
    driver.Answer(fw::IDYES);  // 5 was remapped to 90: override
    driver.Answer(fw::IDNO);   // the new number was taken by 6: abort
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_FALSE(Shown("open 139"));
    ASSERT_EQ(Entries(), 1u);
    EXPECT_EQ(dlg.Table(0)->front()->m_nOrigFirst, 6);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "5");
}

TEST_F(RemapCommand, CancelAtTheConfirmationChangesNothing) {
    Start();
    SetUpSingle("7");
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDCANCEL).UserClick(); });
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_TRUE(dlg.IsWindowEnabled());
    EXPECT_FALSE(Shown("open 139"));
    EXPECT_EQ(Entries(), 0u);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "7");
}

// Another workstation changed the table file since it was read here: the Remap reads it again
// first, says so, and sends and writes the other workstation's remap with its own.
TEST_F(RemapCommand, AFileChangedElsewhereIsReadAgainBeforeTheChecks) {
    Start();
    ChangedElsewhere();
    SetUpSingle("5");
    Proceed();
    CloseProgress();
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_TRUE(Shown(kReadAgain));
    EXPECT_EQ(Sent(), "7>101 5>" + newNumber);
    const std::string file = Get("TAV.IXT");
    EXPECT_NE(file.find(",MAIN,VIDEO,0,7,7,101,101,elsewhere\r\n"), std::string::npos);
    EXPECT_NE(file.find(Line("5") + "\r\n"), std::string::npos);
}

// A saved copy taken with Select is the working table only while the file it will replace is as
// this workstation saw it: a remap writes the copy's entries when nobody changed the file, and
// the file's when somebody did (the operator is told the copy is no longer the working table).
TEST_F(RemapCommand, ASelectedCopyIsWrittenOverAFileNobodyChanged) {
    SelectSpareThenRemap(false);
}

TEST_F(RemapCommand, ASelectedCopyGivesWayToAFileChangedElsewhere) {
    SelectSpareThenRemap(true);
}

// The file changed while the operator answered the questions: nothing is sent or written, the
// table is read again and the remap stays set up for another try.
TEST_F(RemapCommand, AChangeWhileTheOperatorConfirmsStopsTheRemap) {
    Start();
    SetUpSingle("5");
    driver.Then([this](fw::CWnd& w) {
        ChangedElsewhere();
        headless::Item(w, fw::IDOK).UserClick();
    });
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_TRUE(Shown(std::string(kReadAgain) +
                      "\\nNothing was remapped: check the remap and press Remap again."));
    EXPECT_FALSE(Shown("open 139"));
    EXPECT_FALSE(listener.TryReceive().has_value()) << "nothing was sent";
    EXPECT_EQ(Get("TAV.IXT").find(",5,5,"), std::string::npos);
    ASSERT_EQ(Entries(), 1u);
    EXPECT_EQ(dlg.Table(0)->front()->m_nOrigFirst, 7);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "5");
}

// Another workstation holds the table file's lock: a window says so until it lets go, and the
// remap then goes on; given up, nothing is sent or written and the remap stays set up.
TEST_F(RemapCommand, ALockHeldElsewhereIsWaitedFor) {
    RemapWhileTheLockIsHeld(false);
}

TEST_F(RemapCommand, AWaitForALockHeldElsewhereCanBeGivenUp) {
    RemapWhileTheLockIsHeld(true);
}

}  // namespace
}  // namespace apptest
