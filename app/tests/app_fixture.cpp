#include "app/tests/app_fixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/com/com.h"
#include "platform/fw/message_queue.h"
#include "res/resources.h"

namespace apptest {

AppTest::AppTest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::filesystem::temp_directory_path() /
          ("tavora-app-" + std::to_string(::getpid()) + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "data");
    std::filesystem::create_directories(dir / "run");
    ::setenv("TAVORA_DATA_DIR", (dir / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    fw::InstallResources(&tav::TavResources());
    fw::InstallBackend(&backend);
    fw::InstallClock(&clock);
}

AppTest::~AppTest() {
    ExpectScriptUsed();
    app.reset();
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    fw::InstallClock(nullptr);
    fw::InstallBackend(nullptr);
    std::filesystem::remove_all(dir);
}

void AppTest::Start(control::Config config) {
    control::StartSimulation(std::move(config));
    app = std::make_unique<CTavApp>("tavora");
}

void AppTest::Connect(control::Config config) {
    Start(std::move(config));
    ASSERT_EQ(com::CoInitialize(nullptr), com::S_OK);
    ASSERT_TRUE(app->ConnectComponents());
}

void AppTest::Put(const std::string& name, const std::string& content) {
    std::ofstream(dir / "data" / name, std::ios::binary) << content;
}

std::string AppTest::Get(const std::string& name) {
    std::ifstream in(dir / "data" / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void AppTest::ExpectScriptUsed() {
    EXPECT_EQ(driver.Unused(), "");
    driver = headless::QueuedDriver();
}

void AppTest::Pump() {
    fw::PumpWaitingMessages();
}

}  // namespace apptest
