// Choosing the boards that take the remap data, against the simulated Switcher and Network
// Description Tables.
#include "boards/board_choice.h"
#include "app/tests/app_fixture.h"
#include "app/tests/transcript_lines.h"
#include "platform/com/com.h"
#include "res/resource.h"

namespace apptest {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ChoiceCase {
    const char* name;
    std::vector<unsigned> rows;
    std::function<void(control::Config&)> change;
    // "number name" of each board chosen ("/number" after a same-name partner: the board it was
    // told with), or "!" and a part of the refusal
    std::string chosen;
};

class BoardChoiceTest : public AppTest {
  protected:
    fw::CWnd owner;
};

TEST_F(BoardChoiceTest, Cases) {
    // clang-format off
    const std::vector<ChoiceCase> cases = {
        {"no rows: every row of the configuration, each board once, partner right after",
         {}, nullptr, "0 MAINVID 2 MAINVID/0 1 MAINAUD 3 STUDIO"},
        {"two rows served by one board name it once", {1, 2}, nullptr, "1 MAINAUD"},
        {"rows in the order given", {3, 0}, nullptr, "3 STUDIO 0 MAINVID 2 MAINVID/0"},
        {"partner without flag 1 is not told", {0},
         [](control::Config& c) { c.boards[2].flag = 0; }, "0 MAINVID"},
        {"only the first board of the same name is considered", {0},
         [](control::Config& c) { c.boards[1].name = "MAINVID"; },  // flag 0: 2 is not looked at
         "0 MAINVID"},
        {"no board of type Q or B", {4}, nullptr, "!The remap data does not apply"},
        {"short address refused", {1},
         [](control::Config& c) { c.boards[1].address = {2, 0, 0, 0, 2}; },
         "!has 5 bytes; a board address has at least 6"},
        {"board outside the board table refused", {3},
         [](control::Config& c) { c.levels[3].board = 6; }, "!is not one of the 6 boards"},
    };
    // clang-format on
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
        const bool refused = c.chosen[0] == '!';
        EXPECT_EQ(boards::ChooseBoards(*app, c.rows, chosen, networkBoards, owner), !refused);
        EXPECT_EQ(networkBoards, 6);
        std::string got;
        for (const auto& board : chosen) {
            got += (got.empty() ? "" : " ") + std::to_string(board.number) + " " + board.name;
            if (board.partnerOf >= 0) {
                got += "/" + std::to_string(board.partnerOf);
            }
            const auto& configured = config.boards[board.number].address;
            Bytes address(configured.begin(), configured.end());
            address.push_back(0);
            EXPECT_EQ(board.address, address);
        }
        if (!refused) {
            EXPECT_EQ(got, c.chosen);
            EXPECT_TRUE(Transcript().empty());
        } else {
            ASSERT_FALSE(Transcript().empty());
            EXPECT_NE(Transcript().back().find("icon=stop"), std::string::npos);
            EXPECT_NE(Transcript().back().find(c.chosen.substr(1)), std::string::npos)
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
    EXPECT_NE(Transcript().front().find(OpenLine(IDD_ERROR)), std::string::npos)
        << Transcript().front();
}

}  // namespace
}  // namespace apptest
