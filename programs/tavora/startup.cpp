#include "programs/tavora/startup.h"

#include "app/tav_app.h"
#include "platform/fw/app.h"
#include "platform/fw/named_mutex.h"

namespace tavora {

namespace {

int RunApplication(const std::string& appTitle, bool markerCreated, fw::DWORD lastError) {
    CTavApp app(appTitle);
    app.MarkerCreatedAtStart(markerCreated, lastError);
    return app.Run();
}

}  // namespace

std::string BoardNetworkMessage(const std::string& error) {
    return "Tavora cannot receive the router boards' reports: " + error +
           ".\n\nA remap sent now would be taken by the boards but never confirmed, so Tavora "
           "does not start. Free the port, or correct the board network in the configuration, "
           "and start Tavora again.";
}

int RunTavora(const std::string& appTitle, const control::SimulationOptions& simulation,
              const std::function<void(const std::string&)>& configurationError) {
    // Taken before anything else starts and held until everything has stopped: of two copies
    // started together only one gets past it, and only that one ever starts the control system
    // (its sockets, File Access's clean-up). A copy started while this one shuts down still
    // finds it taken until the board network has let its ports go.
    fw::DWORD lastError = 0;
    const auto marker = fw::CreateMutex("Tavora", &lastError);
    if (marker == nullptr || lastError == fw::ERROR_ALREADY_EXISTS) {
        return RunApplication(appTitle, marker != nullptr, lastError);  // shows its message
    }
    std::string error;
    control::StartFailure failure = control::StartFailure::None;
    if (!control::StartSimulation(simulation, &error, &failure)) {
        if (failure == control::StartFailure::BoardNetwork) {
            // A program that cannot hear the boards would send remaps they take and never
            // confirm: every one would be recorded as failed while the boards hold it.
            fw::SystemMessageBox(nullptr, BoardNetworkMessage(error), appTitle.c_str(),
                                 fw::MB_ICONHAND);
            return 1;
        }
        configurationError(error);
        return 2;
    }
    const int code = RunApplication(appTitle, true, lastError);
    control::StopSimulation();
    return code;
}

}  // namespace tavora
