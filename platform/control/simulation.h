// Starting and stopping the simulated control system of this process, and the hooks tests and
// scenario runs use to steer it.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/control/configuration/config.h"

namespace control {

struct SimulationOptions {
    // The configuration file; when absent $TAVORA_CONFIG names it, and without that the built-in
    // configuration is used (and nothing is watched).
    std::optional<std::filesystem::path> configFile;
    // Watch the configuration file for changes on a thread of its own. Tests turn it off and call
    // CheckConfigFileNow instead.
    bool watchConfigFile = true;
    // How long after the first sign of a change the file is compared (writes within it make one
    // change), and how often it is compared while its folder cannot be watched.
    std::chrono::milliseconds watchSettle{200};
    // Open the Board Status Server's end of the board network (ConnectBoardNetwork), so that
    // boards in another process (tav-boards) answer. Off, RetrieveBoardRemapInfo reports the
    // records held, which keeps scripted runs independent of whatever listens on the machine.
    bool boardNetwork = false;
};

// Why StartSimulation started nothing.
enum class StartFailure {
    None,
    Configuration,  // the configuration was refused
    BoardNetwork,   // the board network could not be had (its status port taken, say)
};

// Loads the configuration, registers every component class, starts the watcher and, when asked,
// connects the board network. When the configuration is refused, or the board network that was
// asked for cannot be had (the program would never hear a board), nothing is left running: the
// result is false, *error (when given) says why, naming the file and the entry or the port, and
// *failure (when given) which of the two it was.
bool StartSimulation(const SimulationOptions& options = {}, std::string* error = nullptr,
                     StartFailure* failure = nullptr);
// Starts on a configuration already read (for tests that build one in code); the named file, if
// any, is watched as above.
void StartSimulation(Config config, std::optional<std::filesystem::path> watchedFile = {},
                     bool watchInThread = false);
// Revokes the classes, lets every registered sink go and stops the watcher; objects still held
// answer RPC_E_DISCONNECTED from then on.
void StopSimulation();
// StopSimulation, plus: faults injected from code cleared, and the component object runtime back
// to a fresh process's state (com::ResetForTests). For tests and for runs that start over.
void ResetSimulation();
bool SimulationRunning();

// The configuration in force (null when stopped) and File Access's folder.
std::shared_ptr<const Config> CurrentConfig();
std::filesystem::path DataFolder();

// Failures on demand from code, in addition to the configuration's.
void InjectFault(const Fault& fault);
void ClearInjectedFaults();
// Records every component call from now on (operations, creations and interface queries, as a
// fault entry names them) until TakeCallTrace, so that a test can make each call of a run fail in
// turn: the n-th call of a pair fails with Fault{component, operation, hr, after = n - 1, times =
// 1}.
void StartCallTrace();
std::vector<ComponentCall> TakeCallTrace();

// Runs the configuration watcher's check at once; true when the file changed (the Control
// Center's clients then hear of it through the message queue).
bool CheckConfigFileNow();
// The Control Center announces that the configuration set is changing, as it does when the file
// changes, whatever configuration is in force (scenario runs on the built-in one use it).
void AnnounceConfigSetChanging();

// The network side of the Board Status Server: a board's report arrives (any thread), and the
// handler that asks boards to report when the program calls RetrieveBoardRemapInfo (without one
// the server reports the records it holds).
void AcceptBoardReport(std::uint16_t board, const std::array<std::uint8_t, 8>& record);
void SetBoardRefreshHandler(std::function<void(std::int32_t board)> handler);

// The Board Status Server's end of the board network, for the running simulation: reports taken
// at this workstation's address on the board network (127.0.0.1 by default) and the
// configuration's statusPort (0: a port the system chooses), each believed only from the
// endpoint of the board it names; RetrieveBoardRemapInfo sent to the boards at the reboot port as
// a refresh request. Returns the port it listens on, or 0 (*error says why: a port held by
// another program is never traded for another one, the boards would not be heard there).
// StartSimulation calls it when SimulationOptions::boardNetwork is set; tests call it after
// StartSimulation(Config). It ends with the simulation.
std::uint16_t ConnectBoardNetwork(std::string* error = nullptr);
// The port board reports are taken at; 0 when the board network is not connected.
std::uint16_t BoardStatusPort();
// "127.0.0.1:5151": the address and port board reports are taken at; empty when not connected.
std::string BoardStatusEndpoint();

// Counts for tests: Control Center registrations, Board Status connections, open files.
std::size_t RegisteredClientCount();
std::size_t BoardConnectionCount();
// Reports the Board Status Server has taken since the simulation started, over all boards.
std::uint64_t BoardReportCount();
// Datagrams it refused at the status port since then (not a report, or not from the board named).
std::uint64_t RefusedBoardReportCount();
std::size_t OpenFileCount();

}  // namespace control
