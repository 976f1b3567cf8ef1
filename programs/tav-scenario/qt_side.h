// The Qt half of a scenario run with --qt: the Qt application, its back end and the back end that
// joins it to the script.
#pragma once

#include <memory>
#include <string>

#include "platform/fw/backend.h"
#include "platform/headless/headless_backend.h"

class QtSide {
  public:
    virtual ~QtSide() = default;
    virtual fw::Backend* Backend() = 0;
    // Saves a picture of the window as it is shown now (PNG); false when it cannot.
    virtual bool Snapshot(const fw::CWnd& window, const std::string& path) = 0;
    // Saves a picture of the message box as the Qt back end shows it (with its detailed text
    // shown, as after "Show Details...", when detailsShown); false when it cannot.
    virtual bool SnapshotMessageBox(const fw::MessageBoxRequest& request, const std::string& path,
                                    bool detailsShown) = 0;
};

// Null when this build has no Qt back end.
std::unique_ptr<QtSide> MakeQtSide(headless::HeadlessBackend& driven);
