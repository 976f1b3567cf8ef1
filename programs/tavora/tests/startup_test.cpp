// Tavora's start-up order and command line, on the headless back end.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/tests/app_fixture.h"
#include "platform/control/simulation.h"
#include "platform/control/udp_socket.h"
#include "platform/fw/clock.h"
#include "platform/fw/message_queue.h"
#include "platform/fw/named_mutex.h"
#include "programs/tavora/command_line.h"
#include "programs/tavora/startup.h"
#include "res/resources.h"

namespace {

// The application fixture's folders, back end and clock, without its application object: the
// start-up makes its own.
class StartupTest : public apptest::AppTest {
  protected:
    std::vector<std::string> configurationErrors;
    std::function<void(const std::string&)> report = [this](const std::string& error) {
        configurationErrors.push_back(error);
    };
};

// The refused copy is given a configuration that cannot load: had it started the simulation (and
// with it the board network) before its check, it would have said so.
TEST_F(StartupTest, RefusedSecondCopyStartsNothingAndSaysOnlyItsMessage) {
    fw::DWORD lastError = 0;
    const auto running = fw::CreateMutex("Tavora", &lastError);
    ASSERT_EQ(lastError, 0u);
    control::SimulationOptions simulation;
    simulation.boardNetwork = true;
    simulation.configFile = dir / "missing.json";

    ::testing::internal::CaptureStderr();
    const int code = tavora::RunTavora("tavora", simulation, report);
    const std::string printed = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(code, 0);
    EXPECT_EQ(printed, "");
    EXPECT_TRUE(configurationErrors.empty());
    EXPECT_FALSE(control::SimulationRunning());
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Another Tavora is already running");
}

// Another program holds the port the boards report to: the program would never hear a board,
// and every remap it sent would be taken by the boards and recorded as failed. It says so and
// starts nothing, rather than listening on another port the boards do not know.
TEST_F(StartupTest, AStatusPortHeldByAnotherProgramEndsTheStartWithAMessage) {
    const control::UdpSocket squatter = control::UdpSocket::BindLoopback(0);
    const std::string port = std::to_string(squatter.LocalPort());
    std::ofstream(dir / "held.json")
        << R"({"rebootPort": 9, "statusPort": )" + port + R"(, "levels": [],
               "boards": [{"name": "B0", "address": [1,2,3,4,5,6], "type": "Q"}]})";
    control::SimulationOptions simulation;
    simulation.boardNetwork = true;
    simulation.configFile = dir / "held.json";

    EXPECT_EQ(tavora::RunTavora("tavora", simulation, report), 1);
    EXPECT_TRUE(configurationErrors.empty());
    EXPECT_FALSE(control::SimulationRunning());
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    const fw::MessageBoxRequest& box = driver.MessageBoxes()[0];
    EXPECT_EQ(box.text,
              tavora::BoardNetworkMessage("127.0.0.1:" + port + " is in use by another program"));
    EXPECT_EQ(box.caption, "tavora");
    EXPECT_EQ(box.type & fw::MB_ICONMASK, fw::MB_ICONHAND);
    fw::DWORD lastError = 1;
    EXPECT_TRUE(fw::CreateMutex("Tavora", &lastError));
    EXPECT_EQ(lastError, 0u) << "the marker is let go when the start ends";
}

TEST_F(StartupTest, ConfigurationThatCannotLoadIsReportedAndEndsWithCodeTwo) {
    control::SimulationOptions simulation;
    simulation.configFile = dir / "missing.json";
    EXPECT_EQ(tavora::RunTavora("tavora", simulation, report), 2);
    ASSERT_EQ(configurationErrors.size(), 1u);
    EXPECT_NE(configurationErrors[0].find("missing.json"), std::string::npos);
    EXPECT_TRUE(driver.MessageBoxes().empty());
}

TEST(CommandLine, TakesNothingButHelpAndVersion) {
    using Action = tavora::CommandLine::Action;
    const struct {
        std::vector<std::string> arguments;
        Action action;
        const char* error;
    } cases[] = {
        {{}, Action::Run, ""},
        {{"--help"}, Action::Help, ""},
        {{"-h"}, Action::Help, ""},
        {{"--version"}, Action::Version, ""},
        {{"--config"}, Action::Error, "unknown argument '--config'"},
        {{"table.rmp"}, Action::Error, "unknown argument 'table.rmp'"},
        {{"--help", "--version"}, Action::Error, "takes at most one argument"},
    };
    for (const auto& c : cases) {
        const tavora::CommandLine line = tavora::ParseCommandLine(c.arguments);
        EXPECT_EQ(line.action, c.action) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.error, c.error);
    }
    EXPECT_EQ(tavora::VersionText(), "tavora 7.1.0\n");
    EXPECT_NE(tavora::UsageText().find("TAVORA_DATA_DIR"), std::string::npos);
}

}  // namespace
