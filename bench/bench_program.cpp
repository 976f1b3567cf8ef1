#include "bench/bench_program.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/com/com.h"
#include "platform/fw/message_queue.h"
#include "res/resources.h"

namespace bench {

namespace fs = std::filesystem;

Program::Program(control::Config config) {
    m_dir = fs::temp_directory_path() / ("tavora-bench-" + std::to_string(::getpid()));
    m_data = m_dir / "data";
    fs::create_directories(m_data);
    fs::create_directories(m_dir / "run");
    ::setenv("TAVORA_DATA_DIR", m_data.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (m_dir / "run").c_str(), 1);
    // What the benchmarks change is no operator's doing: its audit trail stays in the folder.
    ::setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
    ::setenv("TAVORA_AUDIT_JOURNAL", "off", 1);
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    fw::InstallResources(&tav::TavResources());
    fw::InstallBackend(&m_backend);
    control::StartSimulation(std::move(config));
    m_app = std::make_unique<CTavApp>("tavora");
    com::CoInitialize(nullptr);
    m_app->ConnectComponents();
    m_app->SetupSocket();
    m_app->LoadLevelList();
}

Program::~Program() {
    m_app.reset();
    control::ResetSimulation();
    fw::TheMessageQueue().Clear();
    fw::InstallBackend(nullptr);
    fs::remove_all(m_dir);
}

}  // namespace bench
