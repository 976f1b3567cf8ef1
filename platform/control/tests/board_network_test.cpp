// The Board Status Server with simulated boards behind it on the loopback network: a board's
// report reaches the advised sinks as a type-8 notification through the queue, and
// RetrieveBoardRemapInfo reaches the boards.
#include <gtest/gtest.h>

#include <functional>

#include "platform/control/boards/board_simulator.h"
#include "platform/control/boards/remap_message.h"
#include "platform/control/socket_thread.h"
#include "platform/control/tests/example_remap_message.h"
#include "platform/control/tests/fixture.h"
#include "platform/control/tests/loopback.h"
#include "platform/control/tests/test_sinks.h"

namespace control {
namespace {

using testing::kPatience;
using testing::MakeSink;
using testing::RecordingBoardSink;
using testing::RunPostedCalls;
using Bytes = std::vector<std::uint8_t>;

using testing::kExampleRemapMessage;

class BoardNetwork : public testing::SimulationTest {
  protected:
    // The built-in configuration's boards, simulated in this process; the server's status port
    // is one the system chooses, so that tests can run side by side.
    void StartNetwork(const std::function<void(Config&)>& adjust = {}) {
        Config config = DefaultConfig();
        config.dataFolder = DataDir();
        config.boards[0].remapInfo = {0, 1, 0, 0, 0x34, 0x12, 0, 0};
        if (adjust) {
            adjust(config);
        }
        boards =
            std::make_unique<BoardSimulator>(SimulatedBoardsOf(config), BoardSimulatorOptions{});
        config.rebootPort = boards->Port();
        config.statusPort = 0;
        StartSimulation(std::move(config));
        std::string error;
        statusPort = ConnectBoardNetwork(&error);
        ASSERT_NE(statusPort, 0) << error;
        boards->SetStatusPort(statusPort);

        status = Create<IBoardStatus>(CLSID_BoardStatusServer);
        ASSERT_EQ(status.As(statusEx), com::S_OK);
        sink = MakeSink<RecordingBoardSink>();
        ASSERT_EQ(status->Advise(sink.Get(), kAllBoards, kNotifyRemapInfo, &cookie), com::S_OK);
    }

    void TearDown() override {
        boards.reset();
        testing::SimulationTest::TearDown();
    }

    void Send(const Bytes& message) {
        SocketThread sender(boards->Port());
        ASSERT_EQ(
            sender.Send(boards->Port(), static_cast<std::uint16_t>(message.size()), message.data()),
            1);
    }

    // Pumps the queue as the program's wait does, until the sink has heard `count` reports.
    bool PumpUntilReports(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        for (;;) {
            RunPostedCalls();
            if (sink->reports.size() >= count) {
                return true;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            fw::TheMessageQueue().WaitFor(50);
        }
    }

    BoardRecord Held(std::uint16_t board) {
        BoardRecord record{};
        EXPECT_EQ(status->GetBoardRemapInfo(board, record.data(), nullptr, nullptr), com::S_OK);
        return record;
    }

    std::unique_ptr<BoardSimulator> boards;
    std::uint16_t statusPort = 0;
    com::ComPtr<IBoardStatus> status;
    com::ComPtr<IBoardStatusEx> statusEx;
    com::ComPtr<RecordingBoardSink> sink;
    std::uint32_t cookie = 0;
};

TEST_F(BoardNetwork, ReportsComeAsType8OnTheUserInterfaceThread) {
    StartNetwork();
    EXPECT_EQ(BoardStatusPort(), statusPort);
    Send(kExampleRemapMessage);
    ASSERT_TRUE(PumpUntilReports(1));
    const auto& report = sink->reports[0];
    EXPECT_EQ(report.board, 0);
    EXPECT_EQ(report.type, kNotifyRemapInfo);
    EXPECT_EQ(report.length, 8);
    EXPECT_EQ(report.cookie, cookie);
    EXPECT_EQ(report.thread, std::this_thread::get_id());
    EXPECT_EQ(report.data, (BoardRecord{1, 1, 0x2D, 0xCB, 0x34, 0x12, 0, 0}));
    EXPECT_EQ(Held(0), report.data);

    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(3), com::S_OK);
    ASSERT_TRUE(PumpUntilReports(2));
    EXPECT_EQ(sink->reports[1].board, 3);
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(kAllBoards), com::S_OK);
    const std::size_t count = CurrentConfig()->boards.size();
    ASSERT_TRUE(PumpUntilReports(2 + count));
    for (std::size_t b = 0; b < count; ++b) {
        EXPECT_EQ(sink->reports[2 + b].board, b);
    }
    EXPECT_EQ(sink->reports[2].data, (BoardRecord{1, 1, 0x2D, 0xCB, 0x34, 0x12, 0, 0}));
    EXPECT_TRUE(boards->WaitFor([](const BoardSimulator::Counts& c) { return c.refreshes >= 2; },
                                kPatience));
    EXPECT_EQ(boards->GetCounts().refreshes, 2u);
}

// Anyone on the machine can send to the status port: only the boards, from where they send,
// are believed. Every other datagram is refused and counted, and changes no record.
TEST_F(BoardNetwork, TheServerBelievesReportsOnlyFromTheBoardsEndpoint) {
    StartNetwork();
    const UdpSocket stray = UdpSocket::ForSending();
    const sockaddr_in to = LoopbackAddress(statusPort);
    ASSERT_TRUE(stray.SendTo(to, Bytes{'B', 'R', 'D', '-', 'I', 'N', 'F', 'O', 0, 1}));
    ASSERT_TRUE(stray.SendTo(to, Bytes(100, 0x42)));
    ASSERT_TRUE(stray.SendTo(to, EncodeBoardReport({200, {9, 9, 9, 9, 9, 9, 9, 9}})));
    // Well formed, for a board that exists, from the boards' own address but not their port.
    ASSERT_TRUE(stray.SendTo(to, EncodeBoardReport({4, {1, 2, 3, 4, 5, 6, 7, 8}})));
    // The board itself, asked afterwards: its report is the first and only one believed.
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(1), com::S_OK);
    ASSERT_TRUE(PumpUntilReports(1));
    RunPostedCalls();
    ASSERT_EQ(sink->reports.size(), 1u);
    EXPECT_EQ(sink->reports[0].board, 1);
    EXPECT_EQ(Held(4), BoardRecord{});
    EXPECT_EQ(RefusedBoardReportCount(), 4u);
    std::uint32_t refused = 0;
    ASSERT_EQ(statusEx->GetRefusedReportCount(&refused), com::S_OK);
    EXPECT_EQ(refused, 4u);
    EXPECT_EQ(statusEx->GetRefusedReportCount(nullptr), com::E_POINTER);
}

// Boards at their own loopback addresses, as on a real network: each board is believed from its
// own address only, so one board (or whoever holds its address) cannot speak for another.
TEST_F(BoardNetwork, OneBoardsAddressCannotSpeakForAnother) {
    StartNetwork([](Config& config) {
        for (std::size_t i = 0; i < config.boards.size(); ++i) {
            config.boards[i].ip = 0x7F00000A + static_cast<Ipv4Address>(i);
        }
        config.boards[1].port = 0;  // any port of 127.0.0.11
    });
    const auto video = boards->ReportEndpoint(0);
    ASSERT_TRUE(video);
    EXPECT_EQ(EndpointText(*video), "127.0.0.10:" + std::to_string(boards->Port()));

    // Board 0 takes the worked example and reports it from its own address: believed.
    Send(kExampleRemapMessage);
    ASSERT_TRUE(PumpUntilReports(1));
    EXPECT_EQ(sink->reports[0].board, 0);
    const BoardRecord taken = Held(0);
    EXPECT_EQ(taken, (BoardRecord{1, 1, 0x2D, 0xCB, 0x34, 0x12, 0, 0}));

    // From board 1's address: a report for board 0 is refused, one for board 1 believed.
    const UdpSocket boardOne = UdpSocket::Bind(BindOptions{0x7F00000B, 0, {}, false});
    const sockaddr_in to = LoopbackAddress(statusPort);
    ASSERT_TRUE(boardOne.SendTo(to, EncodeBoardReport({0, {0, 0, 0, 0, 0, 0, 0, 0}})));
    ASSERT_TRUE(boardOne.SendTo(to, EncodeBoardReport({1, {0, 0, 0, 0, 0, 0, 1, 1}})));
    ASSERT_TRUE(PumpUntilReports(2));
    RunPostedCalls();
    ASSERT_EQ(sink->reports.size(), 2u);
    EXPECT_EQ(sink->reports[1].board, 1);
    EXPECT_EQ(Held(1), (BoardRecord{0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(Held(0), taken);
    EXPECT_EQ(RefusedBoardReportCount(), 1u);
}

TEST_F(BoardNetwork, ASilentBoardLeavesItsRecordAsItWas) {
    StartNetwork([](Config& config) { config.boards[0].behaviour = BoardBehaviour::Silent(); });
    Send(kExampleRemapMessage);
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(1), com::S_OK);
    ASSERT_TRUE(PumpUntilReports(1));
    EXPECT_EQ(sink->reports[0].board, 1) << "the silent board's report would have come first";
    EXPECT_EQ(Held(0), (BoardRecord{0, 1, 0, 0, 0x34, 0x12, 0, 0}));
}

TEST_F(BoardNetwork, RetrieveWithNoBoardsListeningSendsTheRequestAndSucceeds) {
    StartNetwork();
    // The boards go away; a plain socket takes their port to see what arrives there.
    const std::uint16_t boardsPort = boards->Port();
    boards.reset();
    const UdpSocket listener = UdpSocket::BindLoopback(boardsPort);
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(kAllBoards), com::S_OK);
    const auto request = testing::ReceiveWithin(listener);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->bytes, EncodeRefreshRequest(kAllBoards));
    EXPECT_EQ(ntohs(request->from.sin_port), statusPort) << "sent from the status socket";
    RunPostedCalls();
    EXPECT_TRUE(sink->reports.empty()) << "no held records stand in for the boards";
}

// Boards report to the configured port: a free port instead would hear none of them. The
// network is refused, saying why, and the program's start tells the operator.
TEST_F(BoardNetwork, AStatusPortHeldByAnotherProgramIsNotTradedForAnother) {
    const UdpSocket squatter = UdpSocket::BindLoopback(0);
    Config config = DefaultConfig();
    config.dataFolder = DataDir();
    config.statusPort = squatter.LocalPort();
    StartSimulation(std::move(config));
    std::string error;
    EXPECT_EQ(ConnectBoardNetwork(&error), 0);
    EXPECT_EQ(error, "127.0.0.1:" + std::to_string(squatter.LocalPort()) +
                         " is in use by another program");
    EXPECT_EQ(BoardStatusPort(), 0);
}

// The server's socket is at this workstation's address on the board network, not at every
// address, and on the named interface only.
TEST_F(BoardNetwork, TheStatusSocketIsBoundToTheConfiguredAddress) {
    StartNetwork([](Config& config) {
        config.boardNetwork.interfaceName = "lo";
        config.boardNetwork.localAddress = 0x7F000007;  // 127.0.0.7
    });
    EXPECT_EQ(BoardStatusEndpoint(), "127.0.0.7:" + std::to_string(statusPort));
    ResetSimulation();
    EXPECT_EQ(BoardStatusEndpoint(), "");
    Config config = DefaultConfig();
    config.dataFolder = DataDir();
    config.statusPort = 0;
    config.boardNetwork.interfaceName = "no-such-if0";
    StartSimulation(std::move(config));
    std::string error;
    EXPECT_EQ(ConnectBoardNetwork(&error), 0);
    EXPECT_NE(error.find("no-such-if0"), std::string::npos) << error;
}

TEST(BoardNetworkOff, ConnectingWithoutASimulationSaysWhy) {
    ResetSimulation();
    std::string error;
    EXPECT_EQ(ConnectBoardNetwork(&error), 0);
    EXPECT_NE(error.find("not running"), std::string::npos) << error;
}

}  // namespace
}  // namespace control
