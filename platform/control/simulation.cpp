#include "platform/control/simulation.h"

#include <cstdlib>

#include "platform/com/runtime.h"
#include "platform/control/components.h"
#include "platform/control/system.h"

namespace control {

namespace {

std::optional<std::filesystem::path> ChosenFile(const SimulationOptions& options) {
    if (options.configFile) {
        return options.configFile;
    }
    const char* env = std::getenv("TAVORA_CONFIG");
    if (env != nullptr && env[0] != '\0') {
        return std::filesystem::path(env);
    }
    return std::nullopt;
}

}  // namespace

bool StartSimulation(const SimulationOptions& options, std::string* error, StartFailure* failure) {
    const auto fail = [&](StartFailure kind, const std::string& why) {
        if (error != nullptr) {
            *error = why;
        }
        if (failure != nullptr) {
            *failure = kind;
        }
        return false;
    };
    if (failure != nullptr) {
        *failure = StartFailure::None;
    }
    const auto file = ChosenFile(options);
    Config config;
    try {
        config = file ? LoadConfigFile(*file) : DefaultConfig();
    } catch (const ConfigError& e) {
        return fail(StartFailure::Configuration, e.what());
    }
    System::Instance().Start(std::move(config), file,
                             options.watchConfigFile && file
                                 ? std::optional<std::chrono::milliseconds>(options.watchSettle)
                                 : std::nullopt);
    RegisterComponentClasses();
    if (options.boardNetwork) {
        std::string why;
        if (ConnectBoardNetwork(&why) == 0) {
            StopSimulation();
            return fail(StartFailure::BoardNetwork, why);
        }
    }
    return true;
}

void StartSimulation(Config config, std::optional<std::filesystem::path> watchedFile,
                     bool watchInThread) {
    System::Instance().Start(
        std::move(config), std::move(watchedFile),
        watchInThread ? std::optional<std::chrono::milliseconds>(std::chrono::milliseconds(200))
                      : std::nullopt);
    RegisterComponentClasses();
}

void StopSimulation() {
    RevokeComponentClasses();
    System::Instance().Stop();
}

void ResetSimulation() {
    StopSimulation();
    System::Instance().Faults().ClearAll();
    com::ResetForTests();
}

bool SimulationRunning() {
    return System::Instance().Snapshot().running;
}

std::shared_ptr<const Config> CurrentConfig() {
    return System::Instance().Snapshot().config;
}

std::filesystem::path DataFolder() {
    const auto files = System::Instance().Files();
    return files ? files->Folder() : std::filesystem::path();
}

void InjectFault(const Fault& fault) {
    System::Instance().Faults().Inject(fault);
}

void ClearInjectedFaults() {
    System::Instance().Faults().ClearInjected();
}

void StartCallTrace() {
    System::Instance().Faults().StartTrace();
}

std::vector<ComponentCall> TakeCallTrace() {
    return System::Instance().Faults().TakeTrace();
}

bool CheckConfigFileNow() {
    return System::Instance().CheckConfigFileNow();
}

void AnnounceConfigSetChanging() {
    if (const auto clients = System::Instance().Clients()) {
        clients->AnnounceConfigSetChanging();
    }
}

void AcceptBoardReport(std::uint16_t board, const std::array<std::uint8_t, 8>& record) {
    if (const auto hub = System::Instance().BoardStatus()) {
        hub->AcceptBoardReport(board, record);
    }
}

void SetBoardRefreshHandler(std::function<void(std::int32_t board)> handler) {
    if (const auto hub = System::Instance().BoardStatus()) {
        hub->SetRefreshHandler(std::move(handler));
    }
}

std::uint16_t ConnectBoardNetwork(std::string* error) {
    return System::Instance().ConnectBoardNetwork(error);
}

std::uint16_t BoardStatusPort() {
    return System::Instance().BoardStatusPort();
}

std::string BoardStatusEndpoint() {
    return System::Instance().BoardStatusEndpoint();
}

std::size_t RegisteredClientCount() {
    const auto clients = System::Instance().Clients();
    return clients ? clients->Count() : 0;
}

std::size_t BoardConnectionCount() {
    const auto hub = System::Instance().BoardStatus();
    return hub ? hub->ConnectionCount() : 0;
}

std::uint64_t BoardReportCount() {
    const auto hub = System::Instance().BoardStatus();
    std::uint64_t reports = 0;
    for (std::size_t board = 0; hub && board < hub->BoardCount(); ++board) {
        BoardStatusHub::Status status;
        if (hub->Get(static_cast<std::uint16_t>(board), status)) {
            reports += status.reportCount;
        }
    }
    return reports;
}

std::uint64_t RefusedBoardReportCount() {
    const auto hub = System::Instance().BoardStatus();
    return hub ? hub->RefusedReportCount() : 0;
}

std::size_t OpenFileCount() {
    const auto files = System::Instance().Files();
    return files ? files->OpenCount() : 0;
}

}  // namespace control
