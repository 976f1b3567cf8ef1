// The Remap command from the button to the rewritten table file, with boards that answer the
// refresh requests as they are told to, on a clock the test controls.
#include <map>

#include "boards/compute_crc16.h"
#include "platform/control/udp_socket.h"
#include "platform/fw/message_queue.h"
#include "remap/tests/main_dialog_fixture.h"

namespace apptest {
namespace {

enum class Board { Normal, Silent, WrongCrc, BadStatus, ChangesConfiguration };

class RemapCommand : public MainDialogTest {
  protected:
    void Start(const std::function<void(control::Config&)>& change = nullptr) {
        control::Config config = control::DefaultConfig();
        config.rebootPort = listener.LocalPort();
        config.statusPort = 0;
        if (change) {
            change(config);
        }
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
            const Board behaviour = boards.count(b.number) ? boards[b.number] : Board::Normal;
            if (behaviour == Board::Silent) {
                continue;
            }
            if (behaviour == Board::ChangesConfiguration) {
                fw::PostMessage(dlg.GetSafeHwnd(), WM_CONFIGSET_CHANGING, 0, 0);
                continue;
            }
            std::array<std::uint8_t, 8> record = *app->GetBoardInfo(b.number);
            record[io] = last[at] > 0 ? 1 : 0;
            record[2 + 2 * io] =
                static_cast<std::uint8_t>(last[at + 3] + (behaviour == Board::WrongCrc ? 1 : 0));
            record[3 + 2 * io] = last[at + 2];
            record[6 + io] = behaviour == Board::BadStatus ? 1 : 0;
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
        driver.Then([this](fw::CWnd& w) {
            okAt = fw::GetClock().Now();
            headless::Item(w, fw::IDOK).UserClick();
        });
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
    std::string Crc() { return "CONFIGCRC(" + std::to_string(app->GetActiveSetCrc()) + ")\r\n"; }

    control::UdpSocket listener = control::UdpSocket::BindLoopback(0);
    std::vector<std::uint8_t> last;
    std::map<std::uint16_t, Board> boards;
    std::string newNumber;
    std::int64_t okAt = 0;
};

constexpr char kWarning[] = "text=\"Some board(s) are not responding.";

TEST_F(RemapCommand, EveryBoardConfirmsTheEntryIsAddedAndTheFileRewrittenWithItLast) {
    Start();
    SetUpSingle("5", "spare card");
    Proceed();
    CloseProgress();
    const std::int64_t start = fw::GetClock().Now();
    Click(IDC_REMAP);
    EXPECT_EQ(okAt - start, 4);
    EXPECT_FALSE(Shown(kWarning));
    ASSERT_EQ(Entries(), 1u);
    const CRemapEntry& e = *dlg.Table(0)->back();
    EXPECT_EQ(e.m_strSwitcher + "," + e.m_strLevel + "," + std::to_string(e.m_nOrigFirst),
              "MAIN,VIDEO,5");
    EXPECT_EQ(e.m_strComment, "spare card");
    const std::string file = Get("TAV.IXT");
    EXPECT_EQ(file.substr(0, Crc().size()), Crc());
    EXPECT_NE(file.find(Line("5", "spare card") + "\r\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("\n", Crc().size()), file.size() - 1) << "two lines only: " << file;
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER), "");
    EXPECT_FALSE(Enabled(IDC_REMAP));
    EXPECT_TRUE(dlg.IsWindowEnabled());
}

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
    auto entry = [](int original, int replacement) {
        auto e = std::make_unique<CRemapEntry>();
        e->m_strSwitcher = "MAIN";
        e->m_strLevel = "VIDEO";
        e->m_nOrigFirst = e->m_nOrigLast = original;
        e->m_nNewFirst = e->m_nNewLast = replacement;
        return e;
    };
    SetUpSingle("5");
    dlg.Table(0) = std::make_unique<RemapTable>();
    dlg.Table(0)->push_back(entry(5, 90));
    dlg.Table(0)->push_back(entry(6, std::stoi(newNumber)));
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

struct FailureCase {
    const char* name;
    std::function<void(std::map<std::uint16_t, Board>&)> arrange;
    bool confirm;           // Proceed at the confirmation
    bool progress;          // the progress window opens
    std::size_t entries;    // in the table after
    const char* fileAfter;  // "crc": only the checksum line; "entry": checksum and entry;
                            // "": not looked at
    bool warned;
    bool reset;  // the fields are emptied
    std::function<void(control::Config&)> config = nullptr;
    bool closeProgress = true;  // the operator closes the progress window with OK
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class RemapCommandCases : public RemapCommand, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RemapCommandCases, EndAsTheFailureTableSays) {
    const FailureCase& c = GetParam();
    Start(c.config);
    if (c.arrange) {
        c.arrange(boards);
    }
    SetUpSingle("7");
    if (c.confirm) {
        Proceed();
    } else {
        driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDCANCEL).UserClick(); });
    }
    if (c.progress && c.closeProgress) {
        CloseProgress();
    }
    Click(IDC_REMAP);
    EXPECT_TRUE(driver.Exhausted());
    EXPECT_TRUE(dlg.IsWindowEnabled());
    EXPECT_EQ(Shown("open 139"), c.progress);
    EXPECT_EQ(Entries(), c.entries);
    EXPECT_EQ(Shown(kWarning), c.warned);
    const std::string file = Get("TAV.IXT");
    if (std::string(c.fileAfter) == "crc") {
        EXPECT_EQ(file, Crc());
    } else if (std::string(c.fileAfter) == "untouched") {
        EXPECT_EQ(file, "");
    } else if (std::string(c.fileAfter) == "entry") {
        EXPECT_EQ(file.substr(0, Crc().size()), Crc());
        EXPECT_NE(file.find(Line("7")), std::string::npos);
    }
    EXPECT_EQ(dlg.GetDlgItemText(IDC_ORIGINAL_NUMBER).empty(), c.reset);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RemapCommandCases,
    ::testing::Values(
        FailureCase{"Cancel at the confirmation", nullptr, false, false, 0, "", false, false},
        FailureCase{"one board of two silent: the entry is added",
                    [](std::map<std::uint16_t, Board>& behaviour) { behaviour[2] = Board::Silent; },
                    true, true, 1, "entry", true, true},
        FailureCase{"every board silent: the rewrite leaves the appended line out",
                    [](std::map<std::uint16_t, Board>& behaviour) {
                        behaviour[0] = Board::Silent;
                        behaviour[2] = Board::Silent;
                    },
                    true, true, 0, "crc", true, true},
        FailureCase{"wrong CRC and nonzero status: nobody confirmed",
                    [](std::map<std::uint16_t, Board>& behaviour) {
                        behaviour[0] = Board::WrongCrc;
                        behaviour[2] = Board::BadStatus;
                    },
                    true, true, 0, "crc", true, true},
        FailureCase{"the send fails: no line, no entry, the file still rewritten", nullptr, true,
                    true, 0, "crc", true, true,
                    [](control::Config& config) { config.rebootPort = 0; }},
        FailureCase{"the configuration changes during the wait: nothing recorded, no rewrite",
                    [](std::map<std::uint16_t, Board>& behaviour) {
                        behaviour[0] = Board::ChangesConfiguration;
                    },
                    true, true, 0, "untouched", false, false, nullptr, false}));

}  // namespace
}  // namespace apptest
