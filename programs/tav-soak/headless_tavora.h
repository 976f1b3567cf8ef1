// Tavora on the headless back end inside this process, for the crash and soak runs: a data folder
// of its own, the program's clock under the run's control, the simulated control system on the
// built-in configuration, and the application connected to its components as the start-up
// connects it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/tav_app.h"
#include "platform/control/configuration/config.h"
#include "platform/fw/clock.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"

class HeadlessTavora {
  public:
    // Points File Access at dataDir (created when missing) and installs the back end and clock.
    explicit HeadlessTavora(const std::filesystem::path& dataDir);
    ~HeadlessTavora();
    HeadlessTavora(const HeadlessTavora&) = delete;
    HeadlessTavora& operator=(const HeadlessTavora&) = delete;

    // Starts the simulation on config and connects the application; false, with the reason in
    // *error, when the components cannot be had.
    bool Start(control::Config config, std::string* error);

    headless::QueuedDriver driver;
    headless::HeadlessBackend backend{driver};
    fw::ManualClock clock;
    std::unique_ptr<CTavApp> app;
};

// The files a run rewrites, and the whole content of one, byte for byte ("" when it is missing).
inline constexpr const char* kRewrittenFiles[] = {"TAV.SDF", "TAV.IXT", "TAV.OXT"};
std::string ReadWholeFile(const std::filesystem::path& file);
