// Dialog templates of the System Definition: the table itself and the idle port lists.
#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

using fw::ControlKind;
using namespace fw;  // style bits and button ids

// The grid takes the place of the frame 1022 (5, 5, 234 x 89); the buttons stand in a column to
// its right. The idle buttons come on only when a row with a board range is clicked.
DialogTemplate SystemDefinition() {
    return Dialog(
        IDD_SYSDEF, "System Definition", 303, 99, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            Ctl(IDC_GRID, ControlKind::GridPlaceholder, "", 5, 5, 234, 89),
            Ctl(IDOK, ControlKind::DefPushButton, "&OK", 244, 5, 54, 14, kGroup | kTabStop),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Cancel", 244, 22, 54, 14, kTabStop),
            Ctl(IDC_SYSDEF_PRINT, ControlKind::PushButton, "&Print", 244, 45, 54, 14, kTabStop),
            Ctl(IDC_IDLE_INPUTS, ControlKind::PushButton, "&Idle Inputs", 244, 63, 54, 14,
                kDisabled | kTabStop),
            Ctl(IDC_IDLE_OUTPUTS, ControlKind::PushButton, "I&dle Outputs", 244, 80, 54, 14,
                kDisabled | kTabStop),
        });
}

// The idle port list of one level and direction; the title ("Idle Inputs - SW1 - VIDEO") is set
// when it opens. The grid takes the place of the frame 1022 (7, 6, 119 x 92).
DialogTemplate IdlePorts() {
    return Dialog(
        IDD_IDLE, "", 190, 104, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            Ctl(IDC_GRID, ControlKind::GridPlaceholder, "", 7, 6, 119, 92),
            Ctl(IDOK, ControlKind::DefPushButton, "&OK", 133, 6, 50, 14, kGroup | kTabStop),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Cancel", 133, 24, 50, 14, kTabStop),
        });
}

}  // namespace

std::vector<DialogTemplate> SysDefDialogs() {
    return {SystemDefinition(), IdlePorts()};
}

}  // namespace tav::resparts
