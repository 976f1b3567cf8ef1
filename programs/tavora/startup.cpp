#include "programs/tavora/startup.h"

#include "app/tav_app.h"
#include "platform/fw/named_mutex.h"

namespace tavora {

namespace {

// The application object makes the authoritative check itself; this one only decides whether
// there is anything to start for it. The marker is let go again at once, so the application's
// own check finds it free.
bool AnotherCopyRuns() {
    fw::DWORD lastError = 0;
    const auto marker = fw::CreateMutex("Tavora", &lastError);
    return marker != nullptr && lastError == fw::ERROR_ALREADY_EXISTS;
}

int RunApplication(const std::string& appTitle) {
    CTavApp app(appTitle);
    return app.Run();
}

}  // namespace

int RunTavora(const std::string& appTitle, const control::SimulationOptions& simulation,
              const std::function<void(const std::string&)>& configurationError) {
    if (AnotherCopyRuns()) {
        return RunApplication(appTitle);  // shows its message and ends
    }
    std::string error;
    if (!control::StartSimulation(simulation, &error)) {
        configurationError(error);
        return 2;
    }
    const int code = RunApplication(appTitle);
    control::StopSimulation();
    return code;
}

}  // namespace tavora
