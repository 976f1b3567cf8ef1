// The application's board table kept current by simulated boards on the loopback network: the
// RE-MAP message goes out through the socket sender, the board's report comes back through the
// Board Status Server and the board notify sink.
#include <chrono>
#include <memory>

#include "app/tests/app_fixture.h"
#include "platform/control/boards/board_simulator.h"
#include "platform/control/tests/example_remap_message.h"
#include "platform/fw/message_queue.h"

namespace apptest {
namespace {

using control::testing::kExampleRemapMessage;

class BoardTableTest : public AppTest {
  protected:
    // The built-in configuration's boards simulated in this process, board 0 (address
    // 02 00 00 00 00 01) holding output data already; the application connected to them.
    void ConnectWithBoards() {
        control::Config config = control::DefaultConfig();
        config.boards[0].remapInfo = {0, 1, 0, 0, 0x34, 0x12, 0, 0};
        config.boards[3].remapInfo = {1, 0, 0x11, 0x22, 0, 0, 0, 0};
        boards = std::make_unique<control::BoardSimulator>(control::SimulatedBoardsOf(config),
                                                           control::BoardSimulatorOptions{});
        config.rebootPort = boards->Port();
        config.statusPort = 0;
        Connect(config);
        std::string error;
        const std::uint16_t statusPort = control::ConnectBoardNetwork(&error);
        ASSERT_NE(statusPort, 0) << error;
        boards->SetStatusPort(statusPort);
        ASSERT_TRUE(app->SetupSocket());
        std::uint32_t cookie = 0;
        ASSERT_EQ(app->GetBoardStatus()->Advise(app->GetBoardNotifySink(), control::kAllBoards,
                                                control::kNotifyRemapInfo, &cookie),
                  com::S_OK);
    }

    // Pumps as the board notification's wait does, until the record differs from `before`.
    bool PumpUntilChanged(std::uint16_t board, const BoardInfo& before) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;) {
            fw::PumpWaitingMessages();
            if (*app->GetBoardInfo(board) != before) {
                return true;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            fw::TheMessageQueue().WaitFor(50);
        }
    }

    void TearDown() override { boards.reset(); }

    std::unique_ptr<control::BoardSimulator> boards;
};

TEST_F(BoardTableTest, TheWorkedExampleShowsInTheBoardTable) {
    ConnectWithBoards();
    BoardInfo* record = app->GetBoardInfo(0);
    ASSERT_NE(record, nullptr);
    // As the main dialog fills it at start.
    ASSERT_EQ(app->GetBoardStatus()->GetBoardRemapInfo(0, record->data(), nullptr, nullptr),
              com::S_OK);
    const BoardInfo before = *record;
    ASSERT_EQ(before, (BoardInfo{0, 1, 0, 0, 0x34, 0x12, 0, 0}));

    ASSERT_EQ(app->GetSocketThread()->Send(app->m_wRebootPort,
                                           static_cast<std::uint16_t>(kExampleRemapMessage.size()),
                                           kExampleRemapMessage.data()),
              1);
    ASSERT_TRUE(PumpUntilChanged(0, before));
    EXPECT_EQ(*app->GetBoardInfo(0), (BoardInfo{1, 1, 0x2D, 0xCB, 0x34, 0x12, 0, 0}));
    for (std::uint16_t b = 1; b < app->GetBoardCount(); ++b) {
        EXPECT_EQ(*app->GetBoardInfo(b), BoardInfo{}) << "board " << b;
    }
}

TEST_F(BoardTableTest, ARefreshOfAllBoardsFillsEveryRecord) {
    ConnectWithBoards();
    ASSERT_EQ(app->GetBoardStatusEx()->RetrieveBoardRemapInfo(control::kAllBoards), com::S_OK);
    ASSERT_TRUE(PumpUntilChanged(3, BoardInfo{}));
    ASSERT_TRUE(PumpUntilChanged(0, BoardInfo{}));
    EXPECT_EQ(*app->GetBoardInfo(0), (BoardInfo{0, 1, 0, 0, 0x34, 0x12, 0, 0}));
    EXPECT_EQ(*app->GetBoardInfo(3), (BoardInfo{1, 0, 0x11, 0x22, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace apptest
