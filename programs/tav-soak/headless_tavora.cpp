#include "programs/tav-soak/headless_tavora.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/com/com.h"
#include "platform/control/control.h"
#include "platform/fw/message_queue.h"
#include "res/resources.h"

HeadlessTavora::HeadlessTavora(const std::filesystem::path& dataDir) {
    std::filesystem::create_directories(dataDir / "run");
    ::setenv("TAVORA_DATA_DIR", dataDir.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (dataDir / "run").c_str(), 1);
    // Thousands of remaps are made here: their audit trail goes beside the data, never to the
    // journal or the user's own trail.
    ::setenv("XDG_STATE_HOME", (dataDir / "state").c_str(), 1);
    ::setenv("TAVORA_AUDIT_JOURNAL", "off", 1);
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    fw::InstallResources(&tav::TavResources());
    fw::InstallBackend(&backend);
    fw::InstallClock(&clock);
}

HeadlessTavora::~HeadlessTavora() {
    app.reset();
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    clock.SetSecondHook(nullptr);
    fw::InstallClock(nullptr);
    fw::InstallBackend(nullptr);
}

bool HeadlessTavora::Start(control::Config config, std::string* error) {
    control::StartSimulation(std::move(config));
    app = std::make_unique<CTavApp>("tavora");
    if (com::FAILED(com::CoInitialize(nullptr)) || !app->ConnectComponents()) {
        *error = "the application could not connect to its components";
        return false;
    }
    return true;
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
