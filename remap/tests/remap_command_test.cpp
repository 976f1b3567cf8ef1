// The Remap command from the button to the rewritten table file, with boards that answer the
// refresh requests, on a clock the test controls. How each way the boards can answer ends (every
// board, one, none, wrong answers, a failed send, a configuration change during the wait) is
// boards/tests/scenarios/remap_*.scn's.
#include <cstdlib>
#include <cstring>

#include "app/tests/transcript_lines.h"
#include "platform/audit/audit.h"
#include "platform/com/com.h"
#include "platform/control/files/folder_locks.h"
#include "platform/control/udp_socket.h"
#include "remap/tests/main_dialog_fixture.h"
#include "remap/tests/remap_entries.h"
#include "res/resource.h"

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
        Prepare(IoType::Input, "MAIN", "VIDEO", 0);
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
    std::size_t Entries() {
        return dlg.Table(IoType::Input) ? dlg.Table(IoType::Input)->size() : 0;
    }
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
        dlg.SelectRemapTable(IoType::Input, "SPARE.IXT");
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
        EXPECT_EQ(dlg.TableFile(IoType::Input), "TAV.IXT");
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
        EXPECT_EQ(Shown(OpenLine(IDD_LOCK_WAIT)), true);
        EXPECT_EQ(Shown(OpenLine(IDD_SEND_REMAP_DATA)), !giveUp);
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
                            [](const std::string& l) {
                                return l.rfind(OpenLine(IDD_SEND_REMAP_DATA), 0) == 0;
                            }),
              2);
    EXPECT_EQ(Entries(), 1u);
    EXPECT_EQ(dlg.Table(IoType::Input)->front()->m_strComment, " ");
    EXPECT_NE(Get("TAV.IXT").find(Line("5") + "\r\n"), std::string::npos);
}

// A No after a Yes: nothing is sent, so the entry deleted after the Yes comes back; the table
// shows what the boards hold.
TEST_F(RemapCommand, ConflictAbortPutsEarlierDeletionsBack) {
    Start();
    SetUpSingle("5");
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(0, 5, 5, 90));
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(0, 6, 6, std::stoi(newNumber)));
    Proceed();
    driver.Answer(fw::IDYES);  // 5 was remapped to 90: override
    driver.Answer(fw::IDNO);   // the new number was taken by 6: abort
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_FALSE(listener.TryReceive()) << "the boards were told";
    ASSERT_EQ(Entries(), 2u);
    EXPECT_EQ(dlg.Table(IoType::Input)->front()->m_nOrigFirst, 5);
    EXPECT_EQ(dlg.Table(IoType::Input)->back()->m_nOrigFirst, 6);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "5");
}

TEST_F(RemapCommand, NotificationThatFailsTakesTheConflictWalkBackAndKeepsTheFile) {
    Start();
    SetUpSingle("5", "spare");
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(0, 5, 5, 90));
    const std::string file = Get("TAV.IXT");
    control::InjectFault(
        control::Fault(control::ComponentId::CorvaneRegistry, "GetRebootPort", com::E_FAIL));
    Proceed();
    driver.Answer(fw::IDYES);  // 5 was remapped to 90: override (the walk deletes that entry)
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });  // error report
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_FALSE(listener.TryReceive());
    EXPECT_TRUE(
        Shown("The boards were not told of this change and still hold their previous "
              "remap data."));
    ASSERT_EQ(Entries(), 1u);
    EXPECT_EQ(remaptest::Lines(*dlg.Table(IoType::Input)),
              "14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,90,90, \n");
    EXPECT_EQ(Get("TAV.IXT"), file);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "5");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COMMENT), "spare");
}

TEST_F(RemapCommand, RemapNoBoardConfirmedIsNotRecordedNotEvenForAMoment) {
    Start();
    control::SetBoardRefreshHandler([](std::int32_t) {});  // no board ever reports
    SetUpSingle("5", "spare");
    Proceed();
    // While the progress window waits for OK, the second table file open from then on is made
    // to fail: a line appended now would be left in the file as if the program had ended before
    // the rewrite. Without an appended line that open is the one that reads the file back once
    // its lock is let go; its error dialog is answered.
    driver.Then([](fw::CWnd& w) {
        control::InjectFault(
            control::Fault(control::ComponentId::FileAccess, "Open", com::E_FAIL, 1, 1));
        headless::Item(w, fw::IDOK).UserClick();
    });
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_EQ(NewBoxes().back(),
              StopBox("tavora", "No board confirmed this remap, so it was not recorded."));
    EXPECT_EQ(Entries(), 0u);
    EXPECT_EQ(Get("TAV.IXT"), "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) + ")\r\n");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "5");
    EXPECT_EQ(Selected(IDC_NEW_NUMBER), newNumber);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COMMENT), "spare");
    EXPECT_TRUE(Enabled(IDC_REMAP));
}

// The audit trail as a journal that notes each event's outcome and what the table file held when
// the event was recorded.
class AuditOrder : public RemapCommand {
  protected:
    struct Seen {
        std::string outcome;
        std::string file;
        bool operator==(const Seen&) const = default;
    };
    void SetUp() override {
        ::setenv("TAVORA_AUDIT_JOURNAL", "on", 1);
        audit::SetJournalSenderForTests([this](const std::vector<std::string>& fields) {
            Seen seen{"", Get("TAV.IXT")};
            for (const std::string& field : fields) {
                if (field.rfind("TAVORA_OUTCOME=", 0) == 0) {
                    seen.outcome = field.substr(std::strlen("TAVORA_OUTCOME="));
                }
            }
            events.push_back(seen);
            return 0;
        });
    }
    void TearDown() override {
        audit::SetJournalSenderForTests(nullptr);
        ::setenv("TAVORA_AUDIT_JOURNAL", "off", 1);
    }
    std::vector<Seen> events;
};

TEST_F(AuditOrder, ARemapIsRecordedBeforeTheFilePutsItInForce) {
    Start();
    SetUpSingle("5");
    const std::string before = Get("TAV.IXT");
    Proceed();
    CloseProgress();
    Click(IDC_REMAP);
    EXPECT_EQ(events, (std::vector<Seen>{{"recorded", before}}));
    EXPECT_NE(Get("TAV.IXT").find(Line("5")), std::string::npos);
}

TEST_F(AuditOrder, ARestoreIsRecordedBeforeTheRewriteTakesItOut) {
    Start();
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(0, 5, 5, 90));
    ASSERT_TRUE(dlg.OpenRemapTableFile(IoType::Input, fw::TRUE, fw::TRUE, {}));
    dlg.WriteRemapTableFile(IoType::Input);
    dlg.CloseRemapTableFile();
    const std::string before = Get("TAV.IXT");
    dlg.KeepTableBeforeChange(IoType::Input);
    dlg.ClearRemapTable(IoType::Input);
    AuditChange change(AuditKind::RestoreAll, IoType::Input);
    CloseProgress();
    EXPECT_TRUE(dlg.CommitTableChange(IoType::Input, fw::FALSE, &change));
    EXPECT_EQ(events, (std::vector<Seen>{{"recorded", before}}));
    EXPECT_EQ(Get("TAV.IXT").find(",5,5,90,90,"), std::string::npos);
}

TEST_F(AuditOrder, ARewriteThatFailsAddsAFileErrorEvent) {
    Start();
    SetUpSingle("5");
    const std::string before = Get("TAV.IXT");
    Proceed();
    driver.Then([](fw::CWnd& w) {  // the append's open goes through, the rewrite's fails
        control::InjectFault(
            control::Fault(control::ComponentId::FileAccess, "Open", com::E_FAIL, 1, 1));
        headless::Item(w, fw::IDOK).UserClick();
    });
    Click(IDC_REMAP);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Seen{"recorded", before}));
    EXPECT_EQ(events[1].outcome, "file-error");
}

TEST_F(RemapCommand, CancelAtTheConfirmationChangesNothing) {
    Start();
    SetUpSingle("7");
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDCANCEL).UserClick(); });
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_TRUE(dlg.IsWindowEnabled());
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_EQ(Entries(), 0u);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "7");
}

// A damaged table file that cannot be copied aside (every name for a copy is taken) is held at
// start: no remap of its type reaches the boards or the file until a copy can be made, and the
// operator is told what to do; the other type goes on as before.
TEST_F(RemapCommand, AHeldTableFileIsNeverRewrittenUntilACopyOfItCanBeMade) {
    const std::string damaged = "CONFIGCRC(0)\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,60,6";
    Put("TAV.IXT", damaged);
    for (int n = 1; n <= 99; ++n) {
        Put("TAV.IXT." + std::to_string(n) + ".BAD", "copy " + std::to_string(n));
    }
    Start();
    const std::string advice =
        "\\nMove the copies TAV.IXT.1.BAD to TAV.IXT.99.BAD out of the data folder, then try "
        "again.";
    EXPECT_TRUE(dlg.IsTableHeld(IoType::Input));
    EXPECT_FALSE(dlg.IsTableHeld(IoType::Output));

    SetUpSingle("5");
    Click(IDC_REMAP);
    EXPECT_EQ(NewBoxes(), std::vector<std::string>{StopBox(
                              "tavora",
                              "The remap table file TAV.IXT is kept as it is until it is dealt "
                              "with: no input remap or restore can be made." +
                                  advice)});
    EXPECT_FALSE(Shown(OpenLine(IDD_REMAP_CONFIRM)));
    EXPECT_FALSE(listener.TryReceive()) << "the boards were told";
    EXPECT_EQ(Get("TAV.IXT"), damaged);

    std::filesystem::remove(dir / "data" / "TAV.IXT.50.BAD");
    Proceed();
    CloseProgress();
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_EQ(Get("TAV.IXT.50.BAD"), damaged);
    EXPECT_NE(Get("TAV.IXT").find(Line("5") + "\r\n"), std::string::npos);
    EXPECT_FALSE(dlg.IsTableHeld(IoType::Input));
    EXPECT_TRUE(
        Shown("The remap table file TAV.IXT was kept as TAV.IXT.50.BAD; this change "
              "replaces it."));
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
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_FALSE(listener.TryReceive().has_value()) << "nothing was sent";
    EXPECT_EQ(Get("TAV.IXT").find(",5,5,"), std::string::npos);
    ASSERT_EQ(Entries(), 1u);
    EXPECT_EQ(dlg.Table(IoType::Input)->front()->m_nOrigFirst, 7);
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
