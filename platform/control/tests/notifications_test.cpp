#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "platform/control/tests/fixture.h"
#include "platform/control/tests/test_sinks.h"

namespace control {
namespace {

using testing::MakeSink;
using testing::RecordingBoardSink;
using testing::RecordingControlCenterSink;
using testing::RunPostedCalls;
using testing::SimulationTest;

constexpr const char* kConfigA = R"({
  "rebootPort": 4000,
  "levels": [{"switcher": "SW", "level": "LV", "inputs": 8, "outputs": 4, "board": 0}],
  "boards": [{"name": "B0", "address": [1, 2, 3, 4, 5, 6], "type": "Q"}]
})";

constexpr const char* kConfigB = R"({
  "rebootPort": 4001, "configSetChanging": true,
  "levels": [{"switcher": "SW", "level": "LV", "inputs": 16, "outputs": 4, "board": 0},
             {"switcher": "SW", "level": "LV2", "inputs": 16, "outputs": 4, "board": 1}],
  "boards": [{"name": "B0", "address": [1, 2, 3, 4, 5, 6], "type": "Q"},
             {"name": "B1", "address": [1, 2, 3, 4, 5, 7], "type": "B"}]
})";

class ConfigChange : public SimulationTest {
  protected:
    // Starts on a configuration file; the Control Center has `sink` registered unless polling.
    std::filesystem::path StartWatched(
        bool poll = false, std::chrono::milliseconds interval = SimulationOptions().watchSettle) {
        const auto file = Dir() / "tavora.json";
        testing::WriteFile(file, kConfigA);
        SimulationOptions options;
        options.configFile = file;
        options.watchConfigFile = poll;
        options.watchSettle = interval;
        std::string error;
        EXPECT_TRUE(StartSimulation(options, &error)) << error;
        if (!poll) {
            center = Create<IControlCenter>(CLSID_ControlCenter);
            EXPECT_EQ(center->Register(sink.Get(), 6, "Tavora", &cookie), com::S_OK);
        }
        return file;
    }
    void TearDown() override {
        center.Reset();
        SimulationTest::TearDown();
    }

    com::ComPtr<IControlCenter> center;
    com::ComPtr<RecordingControlCenterSink> sink = MakeSink<RecordingControlCenterSink>();
    std::uint32_t cookie = 0;
};

TEST_F(ConfigChange, EditingOrReplacingTheFileReachesTheRegisteredSinkThroughTheQueue) {
    const auto file = StartWatched();
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(RegisteredClientCount(), 1u);

    EXPECT_FALSE(CheckConfigFileNow()) << "nothing changed yet";
    testing::WriteFile(file, kConfigB);
    EXPECT_TRUE(CheckConfigFileNow());
    EXPECT_EQ(sink->changing, 0) << "delivered through the queue, not from the watcher's call";
    EXPECT_EQ(RunPostedCalls(), 1);
    ASSERT_EQ(sink->changing, 1);
    EXPECT_EQ(sink->threads[0], std::this_thread::get_id());

    // The new set is in force for the components.
    std::uint8_t changing = 0;
    EXPECT_EQ(center->IsConfigSetChanging(&changing), com::S_OK);
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(CurrentConfig()->levels.size(), 2u);

    // An invalid replacement is still announced; the set in force stays.
    const auto replacement = Dir() / "new.json";
    testing::WriteFile(replacement, "{ broken");
    std::filesystem::rename(replacement, file);
    EXPECT_TRUE(CheckConfigFileNow());
    RunPostedCalls();
    EXPECT_EQ(sink->changing, 2);
    EXPECT_EQ(CurrentConfig()->rebootPort, 4001);

    // A sink unregistered before the pump runs is not called, nor for a later change.
    testing::WriteFile(file, kConfigA);
    EXPECT_TRUE(CheckConfigFileNow());
    ASSERT_EQ(center->Unregister(cookie), com::S_OK);
    EXPECT_EQ(center->Unregister(cookie), com::CONNECT_E_NOCONNECTION);
    RunPostedCalls();
    testing::WriteFile(file, kConfigB);
    EXPECT_TRUE(CheckConfigFileNow());
    RunPostedCalls();
    EXPECT_EQ(sink->changing, 2) << "an unregistered sink hears nothing";
}

// A damaged or hostile replacement never takes the running program down: it is announced, and the
// configuration in force stays.
TEST_F(ConfigChange, ADamagedReplacementKeepsTheConfigurationInForce) {
    const auto file = StartWatched();
    const std::string deep = std::string(75000, '[') + std::string(75000, ']');
    const std::vector<std::string> replacements = {
        "{ broken",
        "[7e8888",
        R"({"rebootPort": 1e400, "levels": [], "boards": []})",
        R"({"rebootPort": 4009, "levels": [], "boards": [], "comment": )" + deep + "}",
        R"({"rebootPort": 4009, "rebootPort": 4010, "levels": [], "boards": []})",
    };
    int announced = 0;
    for (const std::string& text : replacements) {
        SCOPED_TRACE(text.substr(0, 80));
        testing::WriteFile(file, text);
        EXPECT_TRUE(CheckConfigFileNow());
        RunPostedCalls();
        EXPECT_EQ(sink->changing, ++announced);
        EXPECT_EQ(CurrentConfig()->rebootPort, 4000);
    }
    // Not a file at all: a folder, then a FIFO nobody writes to (reading it would wait forever).
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_TRUE(CheckConfigFileNow());
    RunPostedCalls();
    std::filesystem::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_TRUE(CheckConfigFileNow());
    RunPostedCalls();
    EXPECT_EQ(CurrentConfig()->rebootPort, 4000);
    EXPECT_EQ(CurrentConfig()->levels.size(), 1u);
}

TEST_F(ConfigChange, StoppingTheSystemDropsRegistrationsAndPendingAnnouncements) {
    const auto file = StartWatched();
    testing::WriteFile(file, kConfigB);
    EXPECT_TRUE(CheckConfigFileNow());
    StopSimulation();
    RunPostedCalls();
    EXPECT_EQ(sink->changing, 0);
    EXPECT_EQ(sink->AddRef(), 2u) << "the server let its reference go";
    sink->Release();
}

// The watcher would look at the file an hour after a change here: a stop that waited for its
// thread's next turn would hang until the test's timeout instead of returning.
TEST_F(ConfigChange, TheWatcherStopsWithoutWaitingForItsNextLook) {
    StartWatched(true, std::chrono::hours(1));
    StopSimulation();
    EXPECT_FALSE(SimulationRunning());
}

TEST_F(ConfigChange, TheBuiltInConfigurationIsNotWatched) {
    StartDefault();
    EXPECT_FALSE(CheckConfigFileNow());
}

TEST_F(ConfigChange, TheEnvironmentNamesTheFile) {
    const auto file = Dir() / "env.json";
    testing::WriteFile(file, kConfigB);
    ::setenv("TAVORA_CONFIG", file.c_str(), 1);
    SimulationOptions options;
    options.watchConfigFile = false;
    std::string error;
    const bool started = StartSimulation(options, &error);
    ::unsetenv("TAVORA_CONFIG");
    ASSERT_TRUE(started) << error;
    EXPECT_EQ(CurrentConfig()->rebootPort, 4001);
}

TEST_F(ConfigChange, ARefusedFileStartsNothingAndSaysWhy) {
    const auto file = Dir() / "long.json";
    testing::WriteFile(file, R"({"rebootPort": 1, "levels": [], "boards": [
        {"name": "TOOLONGNAME", "address": [1,2,3,4,5,6], "type": "Q"}]})");
    SimulationOptions options;
    options.configFile = file;
    std::string error;
    EXPECT_FALSE(StartSimulation(options, &error));
    EXPECT_FALSE(SimulationRunning());
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_NE(error.find("TOOLONGNAME"), std::string::npos) << error;
}

class BoardStatus : public SimulationTest {
  protected:
    void SetUp() override {
        SimulationTest::SetUp();
        StartDefault();
        status = Create<IBoardStatus>(CLSID_BoardStatusServer);
        ASSERT_EQ(status.As(statusEx), com::S_OK);
        sink = MakeSink<RecordingBoardSink>();
    }

    com::ComPtr<IBoardStatus> status;
    com::ComPtr<IBoardStatusEx> statusEx;
    com::ComPtr<RecordingBoardSink> sink;
};

TEST_F(BoardStatus, ABoardsReportIsKeptAndRetrievesDeliverTheRecordsHeldThroughTheQueue) {
    std::uint32_t cookie = 0;
    ASSERT_EQ(status->Advise(sink.Get(), kAllBoards, kNotifyRemapInfo, &cookie), com::S_OK);
    EXPECT_EQ(BoardConnectionCount(), 1u);
    const std::array<std::uint8_t, 8> report{1, 0, 0x2D, 0xCB, 0, 0, 0, 0};
    AcceptBoardReport(2, report);
    ASSERT_EQ(RunPostedCalls(), 1);
    ASSERT_EQ(sink->reports.size(), 1u);
    EXPECT_EQ(sink->reports[0].board, 2);
    EXPECT_EQ(sink->reports[0].data, report);

    std::array<std::uint8_t, 8> record{};
    std::uint8_t reported = 0;
    std::uint32_t reportCount = 0;
    ASSERT_EQ(status->GetBoardRemapInfo(2, record.data(), &reported, &reportCount), com::S_OK);
    EXPECT_EQ(record, report);
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(reportCount, 1u);
    ASSERT_EQ(status->GetBoardRemapInfo(1, record.data(), &reported, nullptr), com::S_OK);
    EXPECT_EQ(record, (std::array<std::uint8_t, 8>{}));
    EXPECT_EQ(reported, 0);

    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(kAllBoards), com::S_OK);
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(2), com::S_OK);
    EXPECT_EQ(sink->reports.size(), 1u) << "nothing before the queue runs";
    const std::size_t boards = CurrentConfig()->boards.size();
    EXPECT_EQ(RunPostedCalls(), static_cast<int>(boards) + 1);
    ASSERT_EQ(sink->reports.size(), boards + 2);
    for (std::size_t i = 1; i < sink->reports.size(); ++i) {
        const auto& r = sink->reports[i];
        EXPECT_EQ(r.board, i <= boards ? i - 1 : 2);
        EXPECT_EQ(r.type, 8);
        EXPECT_EQ(r.length, 8);
        EXPECT_EQ(r.cookie, cookie);
        EXPECT_EQ(r.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(sink->reports[3].data, report) << "a retrieve reports the record held";
    EXPECT_EQ(sink->reports.back().data, report);
    EXPECT_EQ(status->Unadvise(kAllBoards16, cookie), com::S_OK);
    EXPECT_EQ(BoardConnectionCount(), 0u);
}

TEST_F(BoardStatus, ASinkHearsOnlyTheBoardAndTypesItAdvisedFor) {
    std::uint32_t cookie = 0;
    ASSERT_EQ(status->Advise(sink.Get(), 1, kNotifyRemapInfo, &cookie), com::S_OK);
    auto otherTypes = MakeSink<RecordingBoardSink>();
    std::uint32_t otherCookie = 0;
    ASSERT_EQ(status->Advise(otherTypes.Get(), kAllBoards, 1 | 2, &otherCookie), com::S_OK);
    ASSERT_EQ(statusEx->RetrieveBoardRemapInfo(kAllBoards), com::S_OK);
    RunPostedCalls();
    ASSERT_EQ(sink->reports.size(), 1u);
    EXPECT_EQ(sink->reports[0].board, 1);
    EXPECT_TRUE(otherTypes->reports.empty()) << "a sink not asking for type 8";
    EXPECT_EQ(status->Unadvise(0, cookie), com::CONNECT_E_NOCONNECTION);
    EXPECT_EQ(status->Unadvise(1, cookie), com::S_OK);
    EXPECT_EQ(status->Unadvise(kAllBoards16, otherCookie), com::S_OK);
}

TEST_F(BoardStatus, RefusedCallsDescribeThemselves) {
    std::uint32_t cookie = 0;
    EXPECT_EQ(status->Advise(sink.Get(), 99, kNotifyRemapInfo, &cookie), com::E_INVALIDARG);
    EXPECT_EQ(Describe(status), "Board Status Server: Advise: board 99 out of range (6 boards)");
    EXPECT_EQ(status->Advise(sink.Get(), kAllBoards, 64, &cookie), com::E_INVALIDARG);
    auto crc = Create<IActiveSetCrc>(CLSID_ActiveSetCrc);
    EXPECT_EQ(status->Advise(crc.Get(), kAllBoards, kNotifyRemapInfo, &cookie),
              com::CONNECT_E_CANNOTCONNECT);
    std::array<std::uint8_t, 8> record{};
    EXPECT_EQ(status->GetBoardRemapInfo(6, record.data(), nullptr, nullptr), com::E_INVALIDARG);
    EXPECT_EQ(statusEx->RetrieveBoardRemapInfo(-2), com::E_INVALIDARG);
    EXPECT_EQ(status->Unadvise(kAllBoards16, 12345), com::CONNECT_E_NOCONNECTION);
}

}  // namespace
}  // namespace control
