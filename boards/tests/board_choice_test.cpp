// Choosing the boards that take the remap data, against the simulated Switcher and Network
// Description Tables.
#include "boards/board_choice.h"
#include "app/tests/app_fixture.h"
#include "platform/com/com.h"

namespace apptest {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ChoiceCase {
    const char* name;
    std::vector<unsigned> rows;
    std::function<void(control::Config&)> change;
    bool chosen;
    std::vector<std::uint16_t> numbers;
    std::vector<std::string> names;
    std::string lastLine;  // the transcript's last line holds this
};

class BoardChoiceTest : public AppTest {
  protected:
    fw::CWnd owner;
};

TEST_F(BoardChoiceTest, Cases) {
    const std::vector<ChoiceCase> cases = {
        {"no rows: every row of the configuration, each board once, partner right after",
         {},
         nullptr,
         true,
         {0, 2, 1, 3},
         {"MAINVID", "MAINVID", "MAINAUD", "STUDIO"},
         ""},
        {"two rows served by one board name it once", {1, 2}, nullptr, true, {1}, {"MAINAUD"}, ""},
        {"rows in the order given",
         {3, 0},
         nullptr,
         true,
         {3, 0, 2},
         {"STUDIO", "MAINVID", "MAINVID"},
         ""},
        {"partner without flag 1 is not told",
         {0},
         [](control::Config& c) { c.boards[2].flag = 0; },
         true,
         {0},
         {"MAINVID"},
         ""},
        {"only the first board of the same name is considered",
         {0},
         [](control::Config& c) {
             c.boards[1].name = "MAINVID";  // found first, flag 0: board 2 is not looked at
         },
         true,
         {0},
         {"MAINVID"},
         ""},
        {"no board of type Q or B", {4}, nullptr, false, {}, {}, "The remap data does not apply"},
        {"short address refused",
         {1},
         [](control::Config& c) {
             c.boards[1].address = {2, 0, 0, 0, 2};
         },
         false,
         {},
         {},
         "has 5 bytes; a board address has at least 6"},
        {"board outside the board table refused",
         {3},
         [](control::Config& c) { c.levels[3].board = 6; },
         false,
         {},
         {},
         "is not one of the 6 boards"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        app.reset();
        control::ResetSimulation();
        backend.GetTranscript().Clear();
        control::Config config = control::DefaultConfig();
        if (c.change) {
            c.change(config);
        }
        Connect(config);
        ASSERT_TRUE(app->LoadLevelList());
        std::vector<boards::NotifyBoard> chosen;
        std::uint16_t networkBoards = 0;
        EXPECT_EQ(boards::ChooseBoards(*app, c.rows, chosen, networkBoards, owner), c.chosen);
        EXPECT_EQ(networkBoards, 6);
        std::vector<std::uint16_t> numbers;
        std::vector<std::string> names;
        for (const auto& board : chosen) {
            numbers.push_back(board.number);
            names.push_back(board.name);
            const auto& configured = config.boards[board.number].address;
            Bytes address(configured.begin(), configured.end());
            address.push_back(0);
            EXPECT_EQ(board.address, address);
        }
        if (c.chosen) {
            EXPECT_EQ(numbers, c.numbers);
            EXPECT_EQ(names, c.names);
            EXPECT_TRUE(Transcript().empty());
        } else {
            ASSERT_FALSE(Transcript().empty());
            EXPECT_NE(Transcript().back().find("icon=stop"), std::string::npos);
            EXPECT_NE(Transcript().back().find(c.lastLine), std::string::npos)
                << Transcript().back();
        }
    }
}

TEST_F(BoardChoiceTest, ComponentFailureIsReportedAndKeepsWhatWasFound) {
    Connect();
    ASSERT_TRUE(app->LoadLevelList());
    control::InjectFault(
        control::Fault(control::ComponentId::NetworkDescTable, "GetBoardType", com::E_FAIL, 1, 1));
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    std::vector<boards::NotifyBoard> chosen;
    std::uint16_t networkBoards = 0;
    EXPECT_FALSE(boards::ChooseBoards(*app, {0, 1}, chosen, networkBoards, owner));
    ASSERT_EQ(chosen.size(), 2u);  // board 0 and its partner came before the failure
    ASSERT_FALSE(Transcript().empty());
    EXPECT_NE(Transcript().front().find("open 143"), std::string::npos) << Transcript().front();
}

}  // namespace
}  // namespace apptest
