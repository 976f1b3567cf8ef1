#include "platform/control/system.h"

#include <cstdio>

#include "platform/com/runtime.h"
#include "platform/control/files/data_folder.h"

namespace control {

namespace {

std::vector<BoardRecord> InitialRecords(const Config& config) {
    std::vector<BoardRecord> records;
    for (const BoardConfig& board : config.boards) {
        records.push_back(board.remapInfo);
    }
    return records;
}

// Library failures named by a configuration hold while it is in force.
void ApplyComFailures(const Config* config) {
    com::SetCoInitializeFailure(config != nullptr ? config->coInitializeFailure.value_or(com::S_OK)
                                                  : com::S_OK);
    com::SetCoInitializeSecurityFailure(
        config != nullptr ? config->coInitializeSecurityFailure.value_or(com::S_OK) : com::S_OK);
}

bool HasComFailures(const Config& config) {
    return config.coInitializeFailure || config.coInitializeSecurityFailure;
}

}  // namespace

System& System::Instance() {
    static System system;
    return system;
}

void System::Start(Config config, std::optional<std::filesystem::path> watchedFile,
                   std::optional<std::chrono::milliseconds> settle) {
    Stop();
    auto shared = std::make_shared<const Config>(std::move(config));
    std::shared_ptr<ConfigWatcher> watcher;
    if (watchedFile) {
        watcher = std::make_shared<ConfigWatcher>(*watchedFile,
                                                  settle.value_or(std::chrono::milliseconds(200)),
                                                  [this] { ConfigFileChanged(); });
    }
    m_faults.SetConfigFaults(shared->faults);
    if (HasComFailures(*shared)) {
        ApplyComFailures(shared.get());
    }
    {
        std::lock_guard lock(m_mutex);
        m_running = true;
        ++m_generation;
        m_config = shared;
        m_file = std::move(watchedFile);
        m_clients = std::make_shared<ClientRegistry>();
        m_boards = std::make_shared<BoardStatusHub>(InitialRecords(*shared));
        m_files = std::make_shared<FileStore>(ResolveDataFolder(*shared));
        m_watcher = watcher;
    }
    if (watcher && settle) {
        watcher->Start();
    }
}

void System::Stop() {
    std::shared_ptr<ConfigWatcher> watcher;
    std::shared_ptr<ClientRegistry> clients;
    std::shared_ptr<BoardStatusHub> boards;
    std::shared_ptr<FileStore> files;
    std::shared_ptr<BoardLink> link;
    bool comFailures = false;
    {
        std::lock_guard lock(m_mutex);
        comFailures = m_config && HasComFailures(*m_config);
        m_running = false;
        m_config.reset();
        m_file.reset();
        watcher = std::move(m_watcher);
        clients = std::move(m_clients);
        boards = std::move(m_boards);
        files = std::move(m_files);
        link = std::move(m_link);
    }
    // Before the hub lets its sinks go, so that no report arrives half-way.
    if (link) {
        link->Stop();
    }
    // Outside the lock: the watcher's thread may be waiting for it in ConfigFileChanged.
    if (watcher) {
        watcher->Stop();
    }
    if (clients) {
        clients->ReleaseAll();
    }
    if (boards) {
        boards->ReleaseAll();
    }
    if (files) {
        files->CloseAll();
    }
    m_faults.SetConfigFaults({});
    if (comFailures) {
        ApplyComFailures(nullptr);
    }
}

SystemSnapshot System::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return SystemSnapshot{m_running, m_generation, m_config};
}

std::shared_ptr<ClientRegistry> System::Clients() const {
    std::lock_guard lock(m_mutex);
    return m_clients;
}

std::shared_ptr<BoardStatusHub> System::BoardStatus() const {
    std::lock_guard lock(m_mutex);
    return m_boards;
}

std::shared_ptr<FileStore> System::Files() const {
    std::lock_guard lock(m_mutex);
    return m_files;
}

bool System::CheckConfigFileNow() {
    std::shared_ptr<ConfigWatcher> watcher;
    {
        std::lock_guard lock(m_mutex);
        watcher = m_watcher;
    }
    return watcher && watcher->CheckNow();
}

void System::ConfigFileChanged() {
    std::optional<std::filesystem::path> file;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running || !m_file) {
            return;
        }
        file = m_file;
    }
    std::shared_ptr<const Config> reloaded;
    try {
        reloaded = std::make_shared<const Config>(LoadConfigFile(*file));
    } catch (const ConfigError& e) {
        // The announcement stands: the set is changing even if the new one cannot be used yet.
        std::fprintf(stderr, "tavora: configuration kept: %s\n", e.what());
    }
    std::shared_ptr<ClientRegistry> clients;
    bool comFailuresBefore = false;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) {
            return;
        }
        if (reloaded) {
            comFailuresBefore = HasComFailures(*m_config);
            m_config = reloaded;
            m_boards->Resize(InitialRecords(*reloaded));
            m_files->SetFolder(ResolveDataFolder(*reloaded));
        }
        clients = m_clients;
    }
    if (reloaded) {
        m_faults.SetConfigFaults(reloaded->faults);
        if (comFailuresBefore || HasComFailures(*reloaded)) {
            ApplyComFailures(reloaded.get());
        }
    }
    clients->AnnounceConfigSetChanging();
}

}  // namespace control
