// Tavora's start: the single-instance check, the simulated control system, the application.
#pragma once

#include <functional>
#include <string>

#include "platform/control/simulation.h"

namespace tavora {

// Runs the application on the installed back end and returns its exit code. A copy that another
// running copy refuses starts nothing: no simulation, no board network, nothing printed but the
// application's own message. A configuration that cannot be loaded goes to configurationError
// and gives exit code 2.
int RunTavora(const std::string& appTitle, const control::SimulationOptions& simulation,
              const std::function<void(const std::string&)>& configurationError);

}  // namespace tavora
