// The simulated router boards on the loopback network, seen from the server's side of it: what
// they take, what they report and when, and that nothing malformed moves them.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "platform/control/boards/board_simulator.h"
#include "platform/control/crc16.h"
#include "platform/control/socket_thread.h"
#include "platform/control/tests/loopback.h"

namespace control {
namespace {

using testing::kPatience;
using testing::ReceiveWithin;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

const Bytes kWorkedData = {0x03, 0x01, 0x00, 0x05, 0x00, 0x78};
const BoardAddress kVideo = {2, 0, 0, 0, 0, 1};
const BoardAddress kAudio = {2, 0, 0, 0, 0, 2};
const BoardAddress kVideoPair = {2, 0, 0, 0, 0, 3};
// Board 0 already holds output data (flag 1, CRC 0x1234): input data must leave it alone.
const BoardRecord kVideoBefore = {0, 1, 0, 0, 0x34, 0x12, 0, 0};
// Board 0 after taking the worked example's input data.
const BoardRecord kVideoAfter = {1, 1, 0x2D, 0xCB, 0x34, 0x12, 0, 0};

std::vector<SimulatedBoard> FourBoards() {
    return {
        {0, "MAINVID", kVideo, kVideoBefore, {}, {}, {}},
        {1, "MAINAUD", kAudio, {}, {}, {}, {}},
        {2, "MAINVID", kVideoPair, {}, {}, {}, {}},
        {3, "STUDIO", {2, 0, 0, 0, 0, 4}, {0, 0, 0, 0, 0, 0, 7, 7}, {}, {}, {}},
    };
}

class BoardSimulatorTest : public ::testing::Test {
  protected:
    // The simulator reports to `server`, which stands for the Board Status Server.
    void StartBoards(std::vector<SimulatedBoard> boards = FourBoards(), bool knowServer = true) {
        simulator = std::make_unique<BoardSimulator>(
            std::move(boards),
            BoardSimulatorOptions{0, knowServer ? server.LocalPort() : std::uint16_t{0},
                                  [this](const std::string& line) {
                                      std::lock_guard lock(logMutex);
                                      log.push_back(line);
                                  }});
    }

    void Send(const Bytes& bytes) {
        ASSERT_EQ(
            sender.Send(simulator->Port(), static_cast<std::uint16_t>(bytes.size()), bytes.data()),
            1);
    }
    void SendFrom(const UdpSocket& socket, const Bytes& bytes) {
        ASSERT_TRUE(socket.SendTo(LoopbackAddress(simulator->Port()), bytes));
    }

    std::optional<BoardReport> NextReport(const UdpSocket& at) {
        const auto datagram = ReceiveWithin(at);
        if (!datagram) {
            return std::nullopt;
        }
        const auto report = DecodeBoardReport(datagram->bytes);
        EXPECT_TRUE(report) << "not a report: " << HexBytes(datagram->bytes);
        return report;
    }
    std::optional<BoardReport> NextReport() { return NextReport(server); }
    // The next report, or a failure and a report from no board.
    BoardReport Report(const UdpSocket& at) {
        const auto report = NextReport(at);
        if (!report) {
            ADD_FAILURE() << "no report came";
        }
        return report.value_or(BoardReport{0xFFFF, {}});
    }
    BoardReport Report() { return Report(server); }

    bool Handled(std::uint64_t datagrams) {
        return simulator->WaitFor(
            [datagrams](const BoardSimulator::Counts& c) { return c.received >= datagrams; },
            kPatience);
    }

    bool Logged(const std::string& part) {
        std::lock_guard lock(logMutex);
        return std::any_of(log.begin(), log.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    }

    UdpSocket server = UdpSocket::BindLoopback(0);
    SocketThread sender{0};
    std::mutex logMutex;
    std::vector<std::string> log;
    std::unique_ptr<BoardSimulator> simulator;  // last: stopped before the log goes
};

TEST_F(BoardSimulatorTest, TheWorkedExampleIsTakenReportedAndLoggedAndAnEmptyTableClearsIt) {
    StartBoards();
    Send(BuildRemapMessage({kVideo}, 'I', kWorkedData));
    auto report = Report();
    EXPECT_EQ(report.board, 0);
    EXPECT_EQ(report.record, kVideoAfter) << "the other bytes as before";
    EXPECT_EQ(simulator->HeldRecord(0), report.record);
    EXPECT_EQ(simulator->HeldData(0, 0), kWorkedData);
    EXPECT_EQ(simulator->HeldData(0, 1), std::nullopt);
    EXPECT_EQ(simulator->HeldRecord(1), BoardRecord{}) << "a board not named is not touched";
    ASSERT_TRUE(Handled(1));
    EXPECT_EQ(simulator->GetCounts().accepted, 1u);
    EXPECT_TRUE(Logged("received 28 bytes from 127.0.0.1:"));
    EXPECT_TRUE(
        Logged(": 52 45 2D 4D 41 50 02 00 00 00 00 01 00 00 00 00 00 00 01 49 CB 2D 03 01 00 "
               "05 00 78"));
    EXPECT_TRUE(Logged("board 0 (MAINVID) reports 01 01 2D CB 34 12 00 00"));

    // An empty table is reported as flag 0 and CRC 0.
    Send(BuildRemapMessage({kVideo}, 'I', {}));
    report = Report();
    EXPECT_EQ(report.record, kVideoBefore);
    EXPECT_EQ(simulator->HeldData(0, 0), Bytes{});
}

TEST_F(BoardSimulatorTest, OutputDataFillTheOutputFieldsAndClearTheOutputStatus) {
    StartBoards();
    const Bytes data = {0x00, 0x01, 0x00, 0x02, 0x00, 0x30};
    Send(BuildRemapMessage({{2, 0, 0, 0, 0, 4}}, 'O', data));
    const auto report = Report();
    EXPECT_EQ(report.board, 3);
    const std::uint16_t crc = Crc16(data);
    EXPECT_EQ(report.record, (BoardRecord{0, 1, 0, 0, static_cast<std::uint8_t>(crc & 0xFF),
                                          static_cast<std::uint8_t>(crc >> 8), 7, 0}));
}

TEST_F(BoardSimulatorTest, EveryBoardNamedTakesTheDataOnceAndAnUnknownAddressIsLogged) {
    StartBoards();
    Send(BuildRemapMessage({kVideoPair, kVideo, kVideoPair, {9, 9, 9, 9, 9, 9}}, 'I', kWorkedData));
    std::vector<std::uint16_t> reported;
    for (int i = 0; i < 2; ++i) {
        const auto report = Report();
        EXPECT_EQ(report.record[2], 0x2D);
        EXPECT_EQ(report.record[3], 0xCB);
        reported.push_back(report.board);
    }
    EXPECT_EQ(reported, (std::vector<std::uint16_t>{2, 0}));
    // Datagrams are handled in order, so the next report tells whether a third one came.
    SendFrom(server, EncodeRefreshRequest(1));
    const auto next = Report();
    EXPECT_EQ(next.board, 1);
    EXPECT_TRUE(Logged("no simulated board has the address 09:09:09:09:09:09"));
    EXPECT_EQ(simulator->HeldRecord(3), (BoardRecord{0, 0, 0, 0, 0, 0, 7, 7}));
}

Bytes Cut(const Bytes& bytes, std::size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

TEST_F(BoardSimulatorTest, MalformedDatagramsAreLoggedAndLeaveEveryBoardUnchanged) {
    StartBoards();
    const Bytes good = BuildRemapMessage({kVideo, kAudio}, 'I', kWorkedData);
    Bytes longer = good, wrongCrc = good, wrongLetter = good;
    longer.push_back(0);
    wrongCrc[good.size() - 7] ^= 0x01;
    wrongLetter[25] = 'X';
    std::vector<Bytes> bad = {longer, wrongCrc, wrongLetter, Cut(EncodeRefreshRequest(-1), 9),
                              Bytes(60000, 0xA5)};
    for (std::size_t length = 0; length < good.size(); ++length) {
        bad.push_back(Cut(good, length));
    }
    std::mt19937 random(7);
    for (int i = 0; i < 50; ++i) {
        Bytes noise(static_cast<std::size_t>(random() % 1400 + 1));
        for (auto& b : noise) {
            b = static_cast<std::uint8_t>(random());
        }
        bad.push_back(noise);
    }
    // One at a time: a burst this size could overflow the socket's receive buffer.
    for (std::size_t i = 0; i < bad.size(); ++i) {
        SendFrom(server, bad[i]);
        ASSERT_TRUE(Handled(i + 1)) << "datagram " << i;
    }
    const auto counts = simulator->GetCounts();
    EXPECT_EQ(counts.rejected, bad.size());
    EXPECT_EQ(counts.accepted, 0u);
    EXPECT_EQ(counts.reportsSent, 0u);
    for (std::uint16_t b = 0; b < 4; ++b) {
        EXPECT_EQ(simulator->HeldRecord(b), FourBoards()[b].record) << "board " << b;
        EXPECT_EQ(simulator->HeldData(b, 0), std::nullopt) << "board " << b;
    }
    EXPECT_TRUE(Logged("ignored: truncated"));
    EXPECT_TRUE(Logged("ignored: over-long"));
    EXPECT_TRUE(Logged("ignored: CRC mismatch"));
    EXPECT_TRUE(Logged("(" + std::to_string(60000 - 256) + " more)"));

    // Still listening, and still right.
    Send(good);
    const auto report = Report();
    EXPECT_EQ(report.board, 0);
    EXPECT_EQ(report.record, kVideoAfter);
}

TEST_F(BoardSimulatorTest, BehavioursShapeWhatIsReportedButNotWhatIsHeld) {
    StartBoards();
    const std::pair<BoardBehaviour, BoardRecord> cases[] = {
        {BoardBehaviour::Normal(), kVideoAfter},
        {BoardBehaviour::WrongCrc(), {1, 1, 0x2E, 0xCB, 0x34, 0x12, 0, 0}},
        {BoardBehaviour::BadStatus(), {1, 1, 0x2D, 0xCB, 0x34, 0x12, 1, 0}},
    };
    for (const auto& [behaviour, reported] : cases) {
        SCOPED_TRACE(DescribeBehaviour(behaviour));
        ASSERT_TRUE(simulator->SetBehaviour(0, behaviour));
        Send(BuildRemapMessage({kVideo}, 'I', kWorkedData));
        const auto report = Report();
        EXPECT_EQ(report.record, reported);
        EXPECT_EQ(simulator->HeldRecord(0), kVideoAfter);
        // A refresh reports the same way, and only the data taken are misreported.
        SendFrom(server, EncodeRefreshRequest(0));
        const auto again = Report();
        EXPECT_EQ(again.record, reported);
    }
    // A wrong CRC for an empty table is still wrong.
    simulator->SetBehaviour(1, BoardBehaviour::WrongCrc());
    Send(BuildRemapMessage({kAudio}, 'O', {}));
    const auto report = Report();
    EXPECT_EQ(report.record, (BoardRecord{0, 0, 0, 0, 0x01, 0x00, 0, 0}));
}

TEST_F(BoardSimulatorTest, ASilentBoardNeverReportsAndADelayedOneDoesNotHoldOthersUp) {
    StartBoards();
    constexpr std::chrono::milliseconds kDelay{150};
    ASSERT_TRUE(simulator->SetBehaviour(0, BoardBehaviour::Silent()));
    ASSERT_TRUE(simulator->SetBehaviour(1, BoardBehaviour::Delayed(kDelay)));
    EXPECT_FALSE(simulator->SetBehaviour(9, BoardBehaviour::Silent()));
    const auto sent = Clock::now();
    Send(BuildRemapMessage({kVideo, kAudio}, 'I', kWorkedData));
    SendFrom(server, EncodeRefreshRequest(-1));
    std::vector<std::uint16_t> reported;
    for (int i = 0; i < 4; ++i) {
        const auto report = Report();
        reported.push_back(report.board);
        if (report.board == 1) {
            EXPECT_GE(Clock::now() - sent, kDelay);
            EXPECT_EQ(report.record, (BoardRecord{1, 0, 0x2D, 0xCB, 0, 0, 0, 0}));
        }
    }
    // Boards 2 and 3 answer the refresh at once; the delayed board's two reports come later on a
    // quiet machine, but a loaded one may hold the refresh up, so only the set is certain.
    std::sort(reported.begin(), reported.end());
    EXPECT_EQ(reported, (std::vector<std::uint16_t>{1, 1, 2, 3}));
    // The simulator counts a report after sending it, so the count may trail the last arrival.
    EXPECT_TRUE(
        simulator->WaitFor([](const BoardSimulator::Counts& c) { return c.reportsSent >= 4; },
                           std::chrono::seconds(2)));
    EXPECT_EQ(simulator->GetCounts().reportsSent, 4u);
    EXPECT_EQ(simulator->HeldRecord(0), kVideoAfter) << "the silent board took the data";
    EXPECT_TRUE(Logged("board 0 (MAINVID) stays silent"));
}

TEST_F(BoardSimulatorTest, StoppingWithAReportPendingIsPromptAndSendsNothing) {
    StartBoards();
    simulator->SetBehaviour(0, BoardBehaviour::Delayed(std::chrono::minutes(5)));
    Send(BuildRemapMessage({kVideo}, 'I', kWorkedData));
    ASSERT_TRUE(Handled(1));
    const auto start = Clock::now();
    simulator.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(server.TryReceive());
}

TEST_F(BoardSimulatorTest, ARefreshRequestHasTheBoardsReportToTheRequester) {
    StartBoards(FourBoards(), /*knowServer=*/false);
    Send(BuildRemapMessage({kVideo}, 'I', kWorkedData));
    ASSERT_TRUE(Handled(1));
    EXPECT_EQ(simulator->GetCounts().reportsSent, 0u);
    EXPECT_TRUE(Logged("has nobody to report to yet"));

    const UdpSocket requester = UdpSocket::BindLoopback(0);
    SendFrom(requester, EncodeRefreshRequest(-1));
    const std::vector<BoardRecord> expected = {kVideoAfter, {}, {}, {0, 0, 0, 0, 0, 0, 7, 7}};
    for (std::uint16_t b = 0; b < 4; ++b) {
        const auto report = Report(requester);
        EXPECT_EQ(report.board, b);
        EXPECT_EQ(report.record, expected[b]);
    }
    // An unknown board is only logged; one board reports alone.
    SendFrom(requester, EncodeRefreshRequest(40));
    SendFrom(requester, EncodeRefreshRequest(3));
    auto report = Report(requester);
    EXPECT_EQ(report.board, 3);
    ASSERT_TRUE(Handled(4));
    EXPECT_EQ(simulator->GetCounts().refreshes, 3u);
    EXPECT_TRUE(Logged("no simulated board has the number 40"));
    // From now on the requester hears the reports of new data too.
    Send(BuildRemapMessage({kAudio}, 'I', kWorkedData));
    report = Report(requester);
    EXPECT_EQ(report.board, 1);
}

// Any local sender can send a refresh request; it must not take the boards' reports away from the
// configured status port, and once the first requester is known, nobody else can either.
TEST_F(BoardSimulatorTest, ARefreshFromAnotherSenderDoesNotRedirectTheReports) {
    for (const bool configured : {true, false}) {
        SCOPED_TRACE(configured ? "status port configured" : "first requester");
        StartBoards(FourBoards(), configured);
        if (!configured) {
            SendFrom(server, EncodeRefreshRequest(3));
            ASSERT_TRUE(NextReport());
        }
        const UdpSocket intruder = UdpSocket::BindLoopback(0);
        SendFrom(intruder, EncodeRefreshRequest(-1));
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(NextReport()) << "report " << i << " still reaches the server";
        }
        Send(BuildRemapMessage({kAudio}, 'I', kWorkedData));
        const auto report = Report();
        EXPECT_EQ(report.board, 1);
        EXPECT_FALSE(intruder.TryReceive());
        simulator.reset();
    }
}

// A flood of datagrams neither floods the log nor queues reports without bound.
TEST_F(BoardSimulatorTest, TheLogAndTheQueueOfDelayedReportsAreBounded) {
    StartBoards();
    ASSERT_TRUE(simulator->SetBehaviour(0, BoardBehaviour::Delayed(std::chrono::minutes(5))));
    constexpr int kFlood = 300;
    const auto start = Clock::now();
    for (int i = 0; i < kFlood; ++i) {
        SendFrom(server, EncodeRefreshRequest(0));
        if (i % 25 == 24) {
            ASSERT_TRUE(Handled(static_cast<std::uint64_t>(i + 1)));  // no socket buffer overrun
        }
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start).count();
    std::size_t shown = 0;
    std::size_t queued = 0;
    {
        std::lock_guard lock(logMutex);
        for (const std::string& line : log) {
            shown += line.rfind("received ", 0) == 0 ? 1 : 0;
            queued += line.find("reports in 300000 ms") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_LE(shown, static_cast<std::size_t>(100 * (seconds + 2))) << "100 a second at most";
    EXPECT_LE(queued, 4u);
    EXPECT_EQ(simulator->GetCounts().refreshes, static_cast<std::uint64_t>(kFlood));
    EXPECT_TRUE(Logged("already owes 4 delayed reports"));
}

TEST(SimulatedBoardsOf, TheConfigurationsBoardsInOrder) {
    const Config config = ParseConfig(R"({"rebootPort": 4000, "levels": [], "boards": [
        {"name": "A", "address": "02:00:00:00:00:01:AA:BB", "type": "Q",
         "remapInfo": [0, 0, 0, 0, 0, 0, 0, 9], "behaviour": "silent"},
        {"name": "B", "address": [2, 0, 0, 0, 0, 2], "type": "B", "behaviour": {"delayMs": 20}}
      ]})",
                                      "test.json", {});
    const auto boards = SimulatedBoardsOf(config);
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0].name, "A");
    EXPECT_EQ(boards[0].address, kVideo) << "the first 6 bytes identify a board";
    EXPECT_EQ(boards[0].record, (BoardRecord{0, 0, 0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(boards[0].behaviour, BoardBehaviour::Silent());
    EXPECT_EQ(boards[1].number, 1);
    EXPECT_EQ(boards[1].behaviour, BoardBehaviour::Delayed(std::chrono::milliseconds(20)));
}

TEST_F(BoardSimulatorTest, PortZeroChoosesAFreePortAndABusyPortIsRefused) {
    StartBoards();
    EXPECT_NE(simulator->Port(), 0);
    BoardSimulator other(FourBoards(), {});
    EXPECT_NE(other.Port(), simulator->Port());
    try {
        BoardSimulator(FourBoards(), {simulator->Port(), 0, {}});
        ADD_FAILURE() << "bound a port already in use";
    } catch (const SocketError& e) {
        EXPECT_NE(std::string(e.what()).find(std::to_string(simulator->Port())), std::string::npos)
            << e.what();
    }
}

}  // namespace
}  // namespace control
