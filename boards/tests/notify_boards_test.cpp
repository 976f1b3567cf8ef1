// Board notification from the main dialog: the message the boards receive on the reboot port,
// the progress window, the refresh requests and comparisons on the program's clock, the warning,
// and how each board's answer is judged.
#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "app/tests/app_fixture.h"
#include "app/tests/transcript_lines.h"
#include "platform/com/com.h"
#include "platform/control/boards/board_simulator.h"
#include "platform/control/boards/board_wire.h"
#include "platform/control/udp_socket.h"
#include "remap/tav_dlg.h"
#include "remap/tests/remap_entries.h"
#include "res/resource.h"

namespace apptest {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Record = std::array<std::uint8_t, 8>;

class NotifyTest : public AppTest {
  protected:
    // Main dialog up on the built-in configuration, boards listened for on an ephemeral port;
    // change edits the configuration first.
    void Open(const std::function<void(control::Config&)>& change = nullptr) {
        control::Config config = control::DefaultConfig();
        config.rebootPort = listener.LocalPort();
        config.statusPort = 0;
        if (change) {
            change(config);
        }
        Connect(config);
        ASSERT_TRUE(app->SetupSocket());
        driver.Answer(fw::IDNO);  // no System Definition Table yet: do not define one now
        ASSERT_TRUE(dlg.Create(IDD_TAV_DIALOG));
        auto table = std::make_unique<SysDefTable>();
        for (const auto& level : app->GetLevels()) {
            auto record = std::make_unique<SysDefRecord>();
            record->m_strSwitcher = level->m_strSwitcher;
            record->m_strLevel = level->m_strLevel;
            table->push_back(std::move(record));
        }
        dlg.SetSysDefTable(std::move(table));
        control::SetBoardRefreshHandler([this](std::int32_t) { refreshes.push_back(clock.Now()); });
        backend.GetTranscript().Clear();
    }
    void Choose(const std::string& switcher, const std::string& level) {
        fw::Control* s = dlg.GetDlgItem(IDC_SWITCHER);
        s->SetCurSel(s->FindStringExact(-1, switcher));
        dlg.FillLevelList();
        fw::Control* l = dlg.GetDlgItem(IDC_LEVEL);
        l->SetCurSel(l->FindStringExact(-1, level));
    }
    // The pending remap as whole-board ranges (the dialog starts with no range mode chosen, and
    // then reads the range lists).
    void Pending(const std::string& original, const std::string& replacement) {
        for (auto [id, text] :
             {std::pair{IDC_ORIGINAL_RANGE, original}, std::pair{IDC_NEW_RANGE, replacement}}) {
            fw::Control* list = dlg.GetDlgItem(id);
            list->ResetContent();
            list->SetCurSel(list->AddString(text));
        }
    }
    // MAIN VIDEO 5 -> 100 and STUDIO VIDEO 7 -> 20 in force when the program starts.
    void PutTwoRowsInForce(const control::Config& c) {
        Put("TAV.IXT", "CONFIGCRC(" + std::to_string(c.activeSetCrc) +
                           ")\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,100,100, \r\n"
                           "14:05:09,March 03 2002,STUDIO,VIDEO,3,7,7,20,20, \r\n");
    }
    void Report(std::int64_t second, std::uint16_t board, Record record) {
        reports.push_back({second, board, record});
    }
    // Runs the notification; the progress window's OK is pressed when the wait is over.
    fw::BOOL Notify(IoType io, fw::BOOL updated) {
        HookReports();
        ArmOk();
        return dlg.NotifyBoards(io, updated);
    }
    // Tells the boards of table io's change, as Restore does.
    fw::BOOL Commit(IoType io) {
        HookReports();
        ArmOk();
        return dlg.CommitTableChange(io, fw::FALSE);
    }
    // The scheduled reports arrive at their seconds after the send.
    void HookReports() {
        clock.SetSecondHook([this](std::int64_t now) {
            mainEnabledDuringWait = mainEnabledDuringWait || dlg.IsWindowEnabled();
            for (const auto& r : reports) {
                if (now == sentAt() + r.second) {
                    control::AcceptBoardReport(r.board, r.record);
                }
            }
        });
    }
    // The progress window's OK is pressed once it waits for it.
    void ArmOk() {
        driver.Then([this](fw::CWnd& w) {
            okEnabledAt = clock.Now();
            sentList = headless::Item(w, IDC_SENT_LIST).Items();
            headless::Item(w, fw::IDOK).UserClick();
        });
    }
    std::int64_t sentAt() { return dlg.LastNotification().sentAt; }
    std::optional<Bytes> Received() {
        if (auto datagram = listener.TryReceive()) {
            return datagram->bytes;
        }
        return std::nullopt;
    }
    bool Shown(const std::string& text) {
        return std::any_of(Transcript().begin(), Transcript().end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }
    // The detailed text of the warning 7039, "" when none was shown.
    std::string WarningDetail() {
        for (const auto& box : driver.MessageBoxes()) {
            if (box.caption == "Warning") {
                return box.detail;
            }
        }
        return {};
    }
    std::vector<boards::BoardOutcome> Outcomes() {
        std::vector<boards::BoardOutcome> outcomes;
        for (const auto& b : dlg.LastNotification().boards) {
            outcomes.push_back(b.outcome);
        }
        return outcomes;
    }

    struct Scheduled {
        std::int64_t second;
        std::uint16_t board;
        Record record;
    };
    control::UdpSocket listener = control::UdpSocket::BindLoopback(0);
    CTavDlg dlg;
    std::vector<Scheduled> reports;
    std::vector<std::int64_t> refreshes;
    std::int64_t okEnabledAt = 0;
    std::vector<std::string> sentList;  // "Send Notification to Board:" when OK was pressed
    bool mainEnabledDuringWait = false;
};

constexpr char kWarning[] = "caption=\"Warning\" icon=stop buttons=ok text=\"Some board(s) are not";

TEST_F(NotifyTest, EmptiedTableGoesToEveryBoardAndRecordsAlreadyMatchingConfirmAtFourSeconds) {
    Open();
    ArmOk();
    EXPECT_TRUE(dlg.CommitTableChange(IoType::Input, fw::FALSE));
    EXPECT_EQ(Received(), (Bytes{0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50, 0x02, 0x00, 0x00, 0x00,
                                 0x00, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00,
                                 0x00, 0x00, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00, 0x00, 0x04,
                                 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x49, 0x00, 0x00}));
    EXPECT_EQ(okEnabledAt - sentAt(), 4);
    EXPECT_TRUE(dlg.BoardsResponded());
    EXPECT_FALSE(Shown(kWarning));
    EXPECT_TRUE(Shown(OpenLine(IDD_SEND_REMAP_DATA) + " \"Send Remap Data...\""));
    EXPECT_EQ(Get("TAV.IXT"), "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) + ")\r\n");
}

TEST_F(NotifyTest, EmptiedTableReachesSimulatedBoardsThatHeldDataAndTheyConfirm) {
    control::Config config = control::DefaultConfig();
    for (auto& board : config.boards) {
        board.remapInfo = {1, 0, 0x34, 0x12, 0, 0, 0, 0};  // each held input data before
    }
    control::BoardSimulator simulator(control::SimulatedBoardsOf(config), {});
    Open([&](control::Config& c) {
        c.boards = config.boards;
        c.rebootPort = simulator.Port();
    });
    simulator.SetStatusPort(control::ConnectBoardNetwork());
    // The boards run in real time: each second waits until the four boards' reports are in.
    clock.SetSecondHook([&](std::int64_t) {
        for (int tries = 0; tries < 400; ++tries) {
            int cleared = 0;
            for (std::uint16_t b : {0, 1, 2, 3}) {
                Record record{};
                app->GetBoardStatus()->GetBoardRemapInfo(b, record.data(), nullptr, nullptr);
                cleared += record == Record{} ? 1 : 0;
            }
            if (cleared == 4) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    ArmOk();
    EXPECT_TRUE(dlg.CommitTableChange(IoType::Input, fw::FALSE));
    EXPECT_EQ(simulator.HeldData(0, 0), Bytes{});
    EXPECT_EQ(okEnabledAt - sentAt(), 4);
    EXPECT_TRUE(dlg.BoardsResponded());
    EXPECT_FALSE(Shown(kWarning));
    EXPECT_EQ(Outcomes(), std::vector<boards::BoardOutcome>(4, boards::BoardOutcome::Confirmed));
}

// A forger with a socket of its own sprays reports for every board while the boards are waited
// for: that the two boards that answer wrongly took the data as sent, that the two that answer
// rightly hold something else. None of it is believed: no board is confirmed by it, no good board
// fails by it, the wait ends on time, and what was refused is counted for the audit trail.
TEST_F(NotifyTest, ForgedReportsConfirmNoBoardAndFailNone) {
    control::Config config = control::DefaultConfig();
    for (auto& board : config.boards) {
        board.remapInfo = {1, 0, 0x34, 0x12, 0, 0, 0, 0};  // each held input data before
    }
    config.boards[1].behaviour = control::BoardBehaviour::WrongCrc();
    config.boards[3].behaviour = control::BoardBehaviour::WrongCrc();
    control::BoardSimulator simulator(control::SimulatedBoardsOf(config), {});
    Open([&](control::Config& c) {
        c.boards = config.boards;
        c.rebootPort = simulator.Port();
    });
    simulator.SetStatusPort(control::ConnectBoardNetwork());
    const sockaddr_in statusPort = control::LoopbackAddress(control::BoardStatusPort());

    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> forged{0};
    // Everything the status socket has dealt with, believed or refused.
    const auto handled = [] {
        return control::BoardReportCount() + control::RefusedBoardReportCount();
    };
    std::thread forger([&] {
        const control::UdpSocket socket = control::UdpSocket::BindLoopback(0);
        const Record asSent{};                         // the emptied table, status 0
        const Record failing{0, 0, 0, 0, 0, 0, 1, 1};  // a nonzero status
        while (!stop) {
            for (std::uint16_t board : {0, 1, 2, 3}) {
                const bool answersRightly = board == 0 || board == 2;
                if (socket.SendTo(statusPort, control::EncodeBoardReport(
                                                  {board, answersRightly ? failing : asSent}))) {
                    ++forged;
                }
            }
            // One burst at a time: the boards' own reports are never crowded out of the queue.
            while (!stop && handled() < forged + simulator.GetCounts().reportsSent) {
                std::this_thread::yield();
            }
        }
    });
    // The boards and the forger run in real time: each second of the wait lasts until the boards'
    // reports are in and another burst of forgeries has reached the server.
    std::uint64_t forgedBefore = 0;
    clock.SetSecondHook([&](std::int64_t) {
        for (int tries = 0; tries < 400; ++tries) {
            const std::uint64_t sent = forged;
            if (sent >= forgedBefore + 4 && handled() >= sent + simulator.GetCounts().reportsSent &&
                control::BoardReportCount() >= simulator.GetCounts().reportsSent) {
                forgedBefore = sent;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    ArmOk();
    const bool committed = dlg.CommitTableChange(IoType::Input, fw::FALSE);
    stop = true;
    forger.join();

    EXPECT_TRUE(committed);
    EXPECT_EQ(Outcomes(),
              (std::vector{boards::BoardOutcome::Confirmed, boards::BoardOutcome::Confirmed,
                           boards::BoardOutcome::CrcDiffers, boards::BoardOutcome::CrcDiffers}));
    EXPECT_EQ(okEnabledAt - sentAt(), 30);
    EXPECT_TRUE(Shown(kWarning));
    const auto refused = dlg.LastNotification().reportsRefused;
    ASSERT_TRUE(refused);
    EXPECT_GT(*refused, 0u);
    EXPECT_LE(*refused, forged.load());
    AuditChange change(AuditKind::RestoreAll, IoType::Input);
    change.outcome = "recorded";
    change.notification = &dlg.LastNotification();
    const audit::Event event = BuildAuditEvent(change);
    EXPECT_NE(std::find(event.begin(), event.end(),
                        audit::Field{"TAVORA_REPORTS_REFUSED", std::to_string(*refused)}),
              event.end());
}

// The count cannot be read: the error is reported as any component's, and the notification goes
// on without it.
TEST_F(NotifyTest, ARefusedCountThatCannotBeReadIsReportedAndLeftOut) {
    Open();
    control::InjectFault(control::Fault(control::ComponentId::BoardStatusServer,
                                        "GetRefusedReportCount", com::E_FAIL, 0, 1));
    Choose("STUDIO", "VIDEO");
    Pending("5-5", "120-120");
    Report(4, 3, Record{1, 0, 0x2D, 0xCB, 0, 0, 0, 0});
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });  // error dialog
    EXPECT_TRUE(Notify(IoType::Input, fw::FALSE));
    EXPECT_TRUE(Shown(OpenLine(IDD_ERROR)));
    EXPECT_TRUE(dlg.BoardsResponded());
    EXPECT_FALSE(dlg.LastNotification().reportsRefused);
}

TEST_F(NotifyTest, PendingRemapIsSentAndConfirmedWhenTheBoardReportsIt) {
    Open();
    Choose("STUDIO", "VIDEO");
    Pending("5-5", "120-120");
    Report(6, 3, Record{1, 0, 0x2D, 0xCB, 0, 0, 0, 0});
    EXPECT_TRUE(Notify(IoType::Input, fw::FALSE));
    EXPECT_EQ(Received(), (Bytes{0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50, 0x02, 0x00, 0x00, 0x00,
                                 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x49,
                                 0xCB, 0x2D, 0x03, 0x01, 0x00, 0x05, 0x00, 0x78}));
    EXPECT_EQ(okEnabledAt - sentAt(), 6);
    EXPECT_TRUE(dlg.BoardsResponded());
    EXPECT_EQ(Outcomes(), std::vector{boards::BoardOutcome::Confirmed});
    EXPECT_EQ(dlg.RemapCount(), 1);
    EXPECT_FALSE(Shown(kWarning));
}

TEST_F(NotifyTest, OneSilentBoardOfTwoWaitsThirtySecondsAndWarns) {
    Open();
    Choose("MAIN", "VIDEO");
    Pending("16-17", "240-241");
    // CRC-16/MODBUS of 00 02 00 10 00 F0 00 00 00 11 00 F1 is 0xF4C3.
    Report(1, 0, Record{1, 0, 0xC3, 0xF4, 0, 0, 0, 0});
    EXPECT_TRUE(Notify(IoType::Input, fw::FALSE));
    const auto message = Received();
    ASSERT_TRUE(message);
    EXPECT_EQ(Bytes(message->begin() + 24, message->end()),
              (Bytes{0x02, 0x49, 0xF4, 0xC3, 0x00, 0x02, 0x00, 0x10, 0x00, 0xF0, 0x00, 0x00, 0x00,
                     0x11, 0x00, 0xF1}));
    EXPECT_EQ(okEnabledAt - sentAt(), 30);
    EXPECT_FALSE(mainEnabledDuringWait);
    EXPECT_TRUE(dlg.IsWindowEnabled());
    EXPECT_EQ(refreshes, (std::vector<std::int64_t>{sentAt() + 2, sentAt() + 12, sentAt() + 22}));
    EXPECT_TRUE(dlg.BoardsResponded());
    EXPECT_TRUE(Shown(kWarning));
    EXPECT_EQ(Outcomes(),
              (std::vector{boards::BoardOutcome::Confirmed, boards::BoardOutcome::NoReport}));
    EXPECT_EQ(dlg.LastNotification().boards[1].name, "MAINVID");
    // The silent one of the two MAINVID boards is told apart by its number.
    EXPECT_EQ(sentList, (std::vector<std::string>{"MAINVID", "MAINVID (board 2: no report)"}));
    EXPECT_EQ(WarningDetail(),
              "MAINVID, board 0: confirmed\n"
              "MAINVID, board 2, partner of board 0: no report");
}

TEST_F(NotifyTest, WrongAnswersAreJudgedAndNoneConfirms) {
    Open();
    Pending("16-16", "240-240");  // MAIN VIDEO: boards 0 and 2
    // CRC-16/MODBUS of 00 01 00 10 00 F0 is 0x5A3C.
    Report(3, 0, Record{1, 0, 0x3D, 0x5A, 0, 0, 0, 0});
    Report(3, 2, Record{1, 0, 0x3C, 0x5A, 0, 0, 1, 0});
    EXPECT_TRUE(Notify(IoType::Input, fw::FALSE));
    EXPECT_FALSE(dlg.BoardsResponded());
    EXPECT_TRUE(Shown(kWarning));
    EXPECT_EQ(Outcomes(),
              (std::vector{boards::BoardOutcome::CrcDiffers, boards::BoardOutcome::StatusNotZero}));
    EXPECT_EQ(sentList, (std::vector<std::string>{"MAINVID (board 0: CRC differs)",
                                                  "MAINVID (board 2: status not 0)"}));
    EXPECT_EQ(WarningDetail(),
              "MAINVID, board 0: CRC differs\n"
              "MAINVID, board 2, partner of board 0: status not 0");
}

TEST_F(NotifyTest, FailedSendShowsTheBoardsTheWarningAndNeedsOk) {
    Open([](control::Config& c) { c.rebootPort = 0; });
    Pending("16-16", "240-240");
    EXPECT_FALSE(Notify(IoType::Input, fw::FALSE));
    EXPECT_EQ(okEnabledAt - sentAt(), 0);
    EXPECT_FALSE(dlg.BoardsResponded());
    EXPECT_TRUE(Shown(kWarning));
    EXPECT_FALSE(dlg.LastNotification().sent);
    EXPECT_TRUE(refreshes.empty());
    EXPECT_EQ(WarningDetail(),
              "The message was not sent.\n"
              "MAINVID, board 0: no report\n"
              "MAINVID, board 2, partner of board 0: no report");
}

// MAINVID, its partner, and STUDIO for the row that has no entry now; only row 0's group.
// CRC-16/MODBUS of 00 01 00 05 00 64 is 0x312C.
const Bytes kRowZeroAndStudio{0x52, 0x45, 0x2D, 0x4D, 0x41, 0x50, 0x02, 0x00, 0x00, 0x00,
                              0x00, 0x01, 0x02, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x00,
                              0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                              0x01, 0x49, 0x31, 0x2C, 0x00, 0x01, 0x00, 0x05, 0x00, 0x64};

TEST_F(NotifyTest, RestoringTheLastEntryOfARowTellsItsBoardWithNoGroupForIt) {
    Open([this](control::Config& c) { PutTwoRowsInForce(c); });
    ASSERT_EQ(dlg.RowsInForce(IoType::Input), (std::vector<unsigned>{0, 3}));
    dlg.Table(IoType::Input)->pop_back();  // STUDIO VIDEO 7 restored; MAIN VIDEO 5 stays
    EXPECT_TRUE(Commit(IoType::Input));
    EXPECT_EQ(Received(), kRowZeroAndStudio);
}

TEST_F(NotifyTest, ASelectedTableWithoutARowStillTellsThatRowsBoard) {
    Open([this](control::Config& c) {
        PutTwoRowsInForce(c);
        Put("SPARE.IXT", "CONFIGCRC(" + std::to_string(c.activeSetCrc) +
                             ")\r\n14:05:09,March 03 2002,MAIN,VIDEO,0,5,5,100,100, \r\n");
    });
    dlg.SelectRemapTable(IoType::Input, "SPARE.IXT");
    ASSERT_EQ(dlg.Table(IoType::Input)->size(), 1u);
    EXPECT_TRUE(Commit(IoType::Input));
    EXPECT_EQ(Received(), kRowZeroAndStudio);
}

struct InForceCase {
    const char* name;
    std::vector<std::uint16_t> answering;  // the boards that confirm
    std::vector<unsigned> inForce;         // afterwards
};

void PrintTo(const InForceCase& c, std::ostream* os) {
    *os << c.name;
}

class RowsInForce : public NotifyTest, public ::testing::WithParamInterface<InForceCase> {};

TEST_P(RowsInForce, ARowStaysInForceUntilEveryBoardToldOfItConfirmed) {
    Open([this](control::Config& c) { PutTwoRowsInForce(c); });
    dlg.Table(IoType::Input)->pop_back();
    for (std::uint16_t board : GetParam().answering) {
        Report(4, board, Record{1, 0, 0x2C, 0x31, 0, 0, 0, 0});
    }
    EXPECT_TRUE(Commit(IoType::Input));
    EXPECT_TRUE(Received());
    EXPECT_EQ(dlg.RowsInForce(IoType::Input), GetParam().inForce);
}

INSTANTIATE_TEST_SUITE_P(Boards, RowsInForce,
                         ::testing::Values(InForceCase{"EveryBoardConfirmed", {0, 2, 3}, {0}},
                                           InForceCase{"StudioSilent", {0, 2}, {0, 3}},
                                           InForceCase{
                                               "PartnerOfAnotherRowSilent", {0, 3}, {0, 3}}),
                         [](const auto& param) { return std::string(param.param.name); });

constexpr char kNotTold[] =
    "text=\"The boards were not told of this change and still hold their previous remap "
    "data.\\nThe remap table is left as it was.\"";

// A change the boards cannot be told of: how it fails, and the operator's clicks it takes.
struct NotToldCase {
    const char* name;
    bool refusedSend = false;  // the socket library takes nothing (reboot port 0)
    std::function<void()> fault;
    std::function<void(CTavDlg&)> before;  // before the change (KeepTableBeforeChange)
    std::function<void(RemapTable&)> change;
    int errorDialogs = 0;  // error reports to close (143)
};

void PrintTo(const NotToldCase& c, std::ostream* os) {
    *os << c.name;
}

class NotTold : public NotifyTest, public ::testing::WithParamInterface<NotToldCase> {};

TEST_P(NotTold, NothingGoesOutTheOperatorIsToldAndTableAndFileStayAsTheyWere) {
    const NotToldCase& c = GetParam();
    std::string file;
    Open([&](control::Config& config) {
        PutTwoRowsInForce(config);
        if (c.refusedSend) {
            config.rebootPort = 0;
        }
    });
    file = Get("TAV.IXT");
    if (c.before) {
        c.before(dlg);
    }
    dlg.KeepTableBeforeChange(IoType::Input);
    const std::string before = remaptest::Lines(*dlg.Table(IoType::Input));
    c.change(*dlg.Table(IoType::Input));
    if (c.fault) {
        c.fault();
    }
    for (int i = 0; i < c.errorDialogs; ++i) {
        driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    }
    if (c.refusedSend) {
        ArmOk();
    }
    EXPECT_FALSE(dlg.CommitTableChange(IoType::Input, fw::FALSE));
    EXPECT_FALSE(Received());
    // Only a send the socket refused had a progress window to show; a component that failed
    // first was reported in the error dialog.
    EXPECT_EQ(Shown(OpenLine(IDD_SEND_REMAP_DATA)), c.refusedSend);
    EXPECT_EQ(Shown(OpenLine(IDD_ERROR)), c.errorDialogs > 0);
    ASSERT_FALSE(driver.MessageBoxes().empty());
    EXPECT_TRUE(Shown(kNotTold));
    ASSERT_TRUE(dlg.Table(IoType::Input));
    EXPECT_EQ(remaptest::Lines(*dlg.Table(IoType::Input)), before);
    EXPECT_EQ(Get("TAV.IXT"), file);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, NotTold,
    ::testing::Values(
        NotToldCase{"NoSystemDefinitionTable", false, nullptr,
                    [](CTavDlg& d) { d.SetSysDefTable(nullptr); },
                    [](RemapTable& table) { table.pop_back(); }},
        NotToldCase{"MoreThan64Ports", false, nullptr, nullptr,
                    [](RemapTable& table) { table.push_back(remaptest::Entry(1, 0, 63, 0)); }},
        NotToldCase{"BoardListFails", false,
                    [] {
                        control::InjectFault(control::Fault(control::ComponentId::SwitcherDescTable,
                                                            "GetLevelBoard", com::E_FAIL));
                    },
                    nullptr, [](RemapTable& table) { table.pop_back(); }, 1},
        NotToldCase{"DataDoNotFitTheirCount", false, nullptr, nullptr,
                    [](RemapTable& table) { table.push_back(remaptest::Entry(7, 5, 5, 100)); }},
        NotToldCase{"SendRefused", true, nullptr, nullptr,
                    [](RemapTable& table) { table.pop_back(); }},
        NotToldCase{"RebootPortUnreadable", false,
                    [] {
                        control::InjectFault(control::Fault(control::ComponentId::CorvaneRegistry,
                                                            "GetRebootPort", com::E_FAIL));
                    },
                    nullptr, [](RemapTable& table) { table.pop_back(); }, 1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(NotifyTest, RestoreDoesNotDependOnTheLevelTheMainDialogShows) {
    Open();
    Choose("MAIN", "NO SUCH LEVEL");
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(0, 5, 5, 100));
    EXPECT_TRUE(Commit(IoType::Input));
    const auto message = Received();
    ASSERT_TRUE(message);
    EXPECT_EQ(Bytes(message->end() - 10, message->end()),
              (Bytes{0x01, 0x49, 0x31, 0x2C, 0x00, 0x01, 0x00, 0x05, 0x00, 0x64}));
}

TEST_F(NotifyTest, RefreshFailureIsReportedAndTheWaitGoesOn) {
    Open();
    control::InjectFault(control::Fault(control::ComponentId::BoardStatusServer,
                                        "RetrieveBoardRemapInfo", com::E_FAIL, 0, 1));
    Pending("16-16", "240-240");
    Report(5, 0, Record{1, 0, 0x3C, 0x5A, 0, 0, 0, 0});
    Report(5, 2, Record{1, 0, 0x3C, 0x5A, 0, 0, 0, 0});
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });  // error dialog
    EXPECT_TRUE(Notify(IoType::Input, fw::FALSE));
    EXPECT_TRUE(Shown(OpenLine(IDD_ERROR)));
    EXPECT_EQ(okEnabledAt - sentAt(), 5);
    EXPECT_TRUE(dlg.BoardsResponded());
}

TEST_F(NotifyTest, APendingRemapWithoutASystemDefinitionRowIsNotSent) {
    Open();
    Choose("MAIN", "NO SUCH LEVEL");
    Pending("16-16", "240-240");
    EXPECT_FALSE(dlg.NotifyBoards(IoType::Input, fw::FALSE));
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_FALSE(Received());
}

TEST_F(NotifyTest, MessageLongerThanSixteenBitsCanCountIsRefusedNotCutShort) {
    // 5,461 levels, each served by a board with a same-name partner: 10,922 boards, whose
    // addresses alone make the message 65,548 bytes.
    Open([](control::Config& c) {
        c.levels.clear();
        c.boards.clear();
        for (int k = 0; k < 5461; ++k) {
            const std::string name = "B" + std::to_string(k);
            for (std::uint8_t flag : {0, 1}) {
                control::BoardConfig board;
                board.name = name;
                board.address = {2,
                                 0,
                                 0,
                                 flag,
                                 static_cast<std::uint8_t>(k >> 8),
                                 static_cast<std::uint8_t>(k & 0xFF)};
                board.flag = flag;
                c.boards.push_back(board);
            }
            c.levels.push_back(
                {"SW", "L" + std::to_string(k), 8, 8, static_cast<std::uint16_t>(2 * k)});
        }
    });
    EXPECT_FALSE(dlg.NotifyBoards(IoType::Input, fw::TRUE));
    EXPECT_EQ(dlg.NotifyBoardList().size(), 10922u);
    EXPECT_TRUE(Shown("The remap data for 10922 boards does not fit in one message."));
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_FALSE(Received());
}

TEST_F(NotifyTest, SixtyFourPortLimitCountsOnlyTheTableOfTheType) {
    Open();
    Pending("16-31", "240-255");
    dlg.Table(IoType::Input) = std::make_unique<RemapTable>();
    dlg.Table(IoType::Input)->push_back(remaptest::Entry(1, 0, 59, 100));
    EXPECT_FALSE(dlg.CheckRemapLimit(IoType::Input, 64));
    EXPECT_EQ(dlg.RemapCount(), 0);
    ASSERT_EQ(Transcript().size(), 1u);
    EXPECT_EQ(Transcript()[0],
              "msgbox caption=\"tavora\" icon=stop buttons=ok text=\"There are more than 64 "
              "remaps in the Input and Output Remap Tables.\\nThe system can not remap more than "
              "64 inputs/outputs.\\n\\nPlease check the Remap Table again to assure no more than "
              "64 remaps in the system.\" -> ok");
    EXPECT_TRUE(dlg.CheckRemapLimit(IoType::Output, 64));
    EXPECT_EQ(dlg.RemapCount(), 16);
    // The notification stops at the limit without a window.
    EXPECT_FALSE(dlg.NotifyBoards(IoType::Input, fw::FALSE));
    EXPECT_FALSE(Shown(OpenLine(IDD_SEND_REMAP_DATA)));
    EXPECT_FALSE(Received());
}

}  // namespace
}  // namespace apptest
