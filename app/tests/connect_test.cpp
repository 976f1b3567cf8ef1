// Connecting to the components, the level list, the board table and the release.
#include "app/tests/app_fixture.h"
#include "platform/com/com.h"

namespace apptest {
namespace {

class ConnectTest : public AppTest {};

TEST_F(ConnectTest, ConnectedApplicationKnowsCrcBoardsAndRegistration) {
    control::Config config = control::DefaultConfig();
    config.activeSetCrc = 0xBEEF;
    Connect(config);
    EXPECT_EQ(app->GetActiveSetCrc(), 0xBEEF);
    EXPECT_EQ(app->GetBoardCount(), config.boards.size());
    EXPECT_EQ(control::RegisteredClientCount(), 1u);
    ASSERT_NE(app->GetBoardInfo(0), nullptr);
    EXPECT_EQ(*app->GetBoardInfo(0), BoardInfo{});
    EXPECT_EQ(app->GetBoardInfo(app->GetBoardCount()), nullptr);
    EXPECT_TRUE(app->GetLevels().empty());  // read only when the main window opens
}

TEST_F(ConnectTest, NoBoardsOrLevelsMeansNoBoardTableAndAnEmptyList) {
    control::Config config = control::DefaultConfig();
    config.boards.clear();
    config.levels.clear();
    Connect(config);
    EXPECT_EQ(app->GetBoardCount(), 0);
    for (std::uint16_t board : {0, 1, 0xFFFF}) {
        EXPECT_EQ(app->GetBoardInfo(board), nullptr);
    }
    EXPECT_TRUE(app->LoadLevelList());
    EXPECT_TRUE(app->GetLevels().empty());
}

TEST_F(ConnectTest, ReleasingTwiceReleasesEachInterfaceOnce) {
    Connect();
    app->FreeConfiguration();
    EXPECT_EQ(control::RegisteredClientCount(), 0u);
    app->FreeConfiguration();  // at exit, after a release on configuration change
    EXPECT_EQ(app->GetSwitcherDescTable(), nullptr);
    EXPECT_EQ(app->GetFileAccess(), nullptr);
}

TEST_F(ConnectTest, LevelListInConfigurationOrder) {
    Connect();
    ASSERT_TRUE(app->LoadLevelList());
    const auto& levels = app->GetLevels();
    ASSERT_EQ(levels.size(), 5u);
    EXPECT_EQ(app->GetLevelCount(), 5);
    EXPECT_EQ(levels[2]->m_strSwitcher, "MAIN");
    EXPECT_EQ(levels[2]->m_strLevel, "AUDIO2");
    EXPECT_EQ(levels[2]->m_nIndex, 2);
    EXPECT_EQ(levels[2]->m_nInputs, 64);
    EXPECT_EQ(levels[2]->m_nOutputs, 32);
    EXPECT_EQ(com::TaskMemLiveBlocks(), 0u);  // every name handed out was freed
}

TEST_F(ConnectTest, FailedReadKeepsTheLevelsReadSoFarAndReports) {
    Connect();
    control::InjectFault(
        control::Fault(control::ComponentId::SwitcherDescTable, "GetInputCount", com::E_FAIL, 2));
    driver.Then([](fw::CWnd& w) { headless::Item(w, fw::IDOK).UserClick(); });
    EXPECT_FALSE(app->LoadLevelList());
    EXPECT_EQ(app->GetLevels().size(), 2u);
    EXPECT_EQ(com::TaskMemLiveBlocks(), 0u);  // the names of the failed level too
    EXPECT_NE(std::find(Transcript().begin(), Transcript().end(), R"(open 143 "Error")"),
              Transcript().end());
}

}  // namespace
}  // namespace apptest
