// The program's application object on the headless back end against a simulated control system
// built in code, with a clock, a data folder and a runtime folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/tav_app.h"
#include "platform/control/control.h"
#include "platform/fw/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"

namespace apptest {

class AppTest : public ::testing::Test {
  protected:
    AppTest();
    ~AppTest() override;

    // Starts the simulation on config and creates the application object (not yet started).
    void Start(control::Config config = control::DefaultConfig());
    // Start, then CoInitialize and ConnectComponents, as the start-up does.
    void Connect(control::Config config = control::DefaultConfig());
    // Runs what components posted to the queue.
    void Pump();
    const std::vector<std::string>& Transcript() { return backend.GetTranscript().Lines(); }
    // Fails the test when scripted actions or answers were left unused, then forgets them. The
    // destructor calls it for every test.
    void ExpectScriptUsed();
    // Files of the data folder, byte for byte.
    void Put(const std::string& name, const std::string& content);
    std::string Get(const std::string& name);

    headless::QueuedDriver driver;
    headless::HeadlessBackend backend{driver};
    fw::ManualClock clock;
    std::unique_ptr<CTavApp> app;
    std::filesystem::path dir;
};

}  // namespace apptest
