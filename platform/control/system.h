// The simulated control system of one process: the configuration in force and the state its
// component servers share. Components reach it through System::Instance(); objects created before
// the system stopped (or restarted) answer RPC_E_DISCONNECTED, as objects of a server that went
// away do.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/control/boards/board_link.h"
#include "platform/control/boards/board_status_hub.h"
#include "platform/control/client_registry.h"
#include "platform/control/configuration/config.h"
#include "platform/control/configuration/config_watcher.h"
#include "platform/control/fault_table.h"
#include "platform/control/files/file_store.h"

namespace control {

struct SystemSnapshot {
    bool running = false;
    std::uint64_t generation = 0;
    std::shared_ptr<const Config> config;
};

class System {
  public:
    static System& Instance();

    // Replaces whatever ran before. With a watched file, a change of it is announced as the
    // configuration set changing; the watcher runs its thread only when `settle` is set.
    void Start(Config config, std::optional<std::filesystem::path> watchedFile,
               std::optional<std::chrono::milliseconds> settle);
    void Stop();

    SystemSnapshot Snapshot() const;
    FaultTable& Faults() { return m_faults; }
    std::shared_ptr<ClientRegistry> Clients() const;
    std::shared_ptr<BoardStatusHub> BoardStatus() const;
    std::shared_ptr<FileStore> Files() const;

    // Opens the Board Status Server's end of the board network (board_network.cpp); 0 and *error
    // when no socket could be had.
    std::uint16_t ConnectBoardNetwork(std::string* error);
    std::uint16_t BoardStatusPort() const;
    std::string BoardStatusEndpoint() const;

    // Runs the watcher's check now; false when nothing changed or no file is watched.
    bool CheckConfigFileNow();
    // Reads the watched file again (keeping the old configuration when the new one is refused)
    // and announces the change to the Control Center's clients.
    void ConfigFileChanged();

  private:
    System() = default;

    mutable std::mutex m_mutex;
    bool m_running = false;
    std::uint64_t m_generation = 0;
    std::shared_ptr<const Config> m_config;
    std::optional<std::filesystem::path> m_file;
    std::shared_ptr<ClientRegistry> m_clients;
    std::shared_ptr<BoardStatusHub> m_boards;
    std::shared_ptr<FileStore> m_files;
    std::shared_ptr<ConfigWatcher> m_watcher;
    std::shared_ptr<BoardLink> m_link;
    FaultTable m_faults;
};

}  // namespace control
