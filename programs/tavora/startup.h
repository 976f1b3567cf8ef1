// Tavora's start: the single-instance check, the simulated control system, the application.
#pragma once

#include <functional>
#include <string>

#include "platform/control/simulation.h"

namespace tavora {

// Runs the application on the installed back end and returns its exit code. The single-instance
// marker is taken before anything else and held until everything has stopped. A copy that
// another running copy refuses starts nothing: no simulation, no board network, nothing printed
// but the application's own message. A configuration that cannot be loaded goes to
// configurationError and gives exit code 2. When the board network was asked for and cannot be
// had (its status port held by another program, say), a stop-icon message box says so
// (BoardNetworkMessage) and the program ends with exit code 1 before its windows open.
int RunTavora(const std::string& appTitle, const control::SimulationOptions& simulation,
              const std::function<void(const std::string&)>& configurationError);

// The operator's message when the boards' reports cannot be received; error says why.
std::string BoardNetworkMessage(const std::string& error);

}  // namespace tavora
