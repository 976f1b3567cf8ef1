// What the desktop's screen readers learn of the framework's windows beyond what Qt tells them
// itself: a framework window is a dialog (or, with a taskbar button of its own, an application
// window), and a framework radio button is a radio button (Qt would call it a check box, as the
// framework keeps its groups), which a reader's toggle clicks as the user would.
#pragma once

class QWidget;

namespace fwqt {

// The dynamic property of a framework window's top-level widget: true for a dialog.
inline constexpr const char* kDialogRoleProperty = "tavDialog";

// Installs the accessibility factory once; later calls do nothing.
void InstallAccessibility();

}  // namespace fwqt
