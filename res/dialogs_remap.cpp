// Dialog templates of remapping and board notification: the main window, the remap and restore
// confirmations, the progress window "Send Remap Data..." and the remap table view.
#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

using fw::ControlKind;
using namespace fw;  // style bits and button ids

// The main window. Everything below the I/O type stays off until the operator picks INPUT or
// OUTPUT; the bottom strip is left free for the status bar, which the window adds at run time.
// Labels next to "Original " and "New " and the "Single " radio are wide enough for the I/O word
// appended at run time ("Original Output", "Single Output").
DialogTemplate MainDialog() {
    return Dialog(
        IDD_TAV_DIALOG, "Tavora", 280, 208,
        kCaption | kSysMenu | kMinimizeBox | kModalFrame | kAppWindow | kCentered,
        {
            Ctl(IDC_STATIC, ControlKind::Static, "Remap I/O Type:", 7, 9, 60, 8),
            Ctl(IDC_INPUT, ControlKind::RadioButton, "INPUT", 72, 8, 45, 10, kGroup | kTabStop),
            Ctl(IDC_OUTPUT, ControlKind::RadioButton, "OUTPUT", 125, 8, 50, 10),

            Ctl(IDC_STATIC, ControlKind::GroupBox, "Select switcher and level", 7, 24, 266, 43,
                kGroup),
            Ctl(IDC_SWITCHER_LABEL, ControlKind::Static, "Switcher", 15, 38, 35, 8, kDisabled),
            Ctl(IDC_SWITCHER, ControlKind::DropDownList, "", 53, 36, 87, 12,
                kDisabled | kVScroll | kTabStop),
            Ctl(IDC_LEVEL_LABEL, ControlKind::Static, "Level", 150, 38, 22, 8, kDisabled),
            Ctl(IDC_LEVEL, ControlKind::DropDownList, "", 176, 36, 89, 12,
                kDisabled | kVScroll | kTabStop),
            Ctl(IDC_RANGE_LABEL, ControlKind::Static, "Range:", 15, 53, 30, 8, kDisabled),
            Ctl(IDC_SINGLE, ControlKind::RadioButton, "Single ", 53, 52, 75, 10,
                kDisabled | kGroup | kTabStop),
            Ctl(IDC_WHOLE_BOARD, ControlKind::RadioButton, "Whole Board", 134, 52, 64, 10,
                kDisabled),

            // Titled "Select Remap Inputs" or "Select Remap Outputs" once a type is chosen.
            Ctl(IDC_REMAP_GROUP, ControlKind::GroupBox, "", 7, 73, 266, 50, kGroup),
            Ctl(IDC_ORIGINAL_LABEL, ControlKind::Static, "Original ", 15, 88, 60, 8, kDisabled),
            Ctl(IDC_ORIGINAL_NUMBER, ControlKind::Edit, "", 78, 86, 50, 12,
                kDisabled | kBorder | kTabStop),
            Ctl(IDC_ORIGINAL_RANGE_LABEL, ControlKind::Static, "Range", 138, 88, 26, 8, kDisabled),
            Ctl(IDC_ORIGINAL_RANGE, ControlKind::DropDownCombo, "", 167, 86, 98, 12,
                kDisabled | kVScroll | kTabStop),
            Ctl(IDC_NEW_LABEL, ControlKind::Static, "New ", 15, 106, 60, 8, kDisabled),
            Ctl(IDC_NEW_NUMBER, ControlKind::DropDownList, "", 78, 104, 50, 12,
                kDisabled | kVScroll | kTabStop),
            Ctl(IDC_NEW_RANGE_LABEL, ControlKind::Static, "Range", 138, 106, 26, 8, kDisabled),
            Ctl(IDC_NEW_RANGE, ControlKind::DropDownCombo, "", 167, 104, 98, 12,
                kDisabled | kVScroll | kTabStop),

            Ctl(IDC_COMMENT_GROUP, ControlKind::GroupBox, "Comment:", 7, 129, 266, 38, kDisabled),
            // Enter in the comment presses Remap rather than starting a new line. Its label is
            // the group box's title.
            Named(Ctl(IDC_COMMENT, ControlKind::MultiLineEdit, "", 15, 141, 250, 20,
                      kDisabled | kNoWantReturn | kBorder | kTabStop),
                  "Comment:"),

            Ctl(IDC_REMAP, ControlKind::DefPushButton, "&Remap", 167, 175, 50, 14,
                kDisabled | kGroup | kTabStop),
            Ctl(IDC_CLOSE, ControlKind::PushButton, "&Close", 223, 175, 50, 14, kTabStop),
        },
        IDR_MAIN_MENU);
}

// The two "are you sure" questions share one layout.
DialogTemplate Confirmation(int id, const char* title, const char* question) {
    return Dialog(
        id, title, 186, 62, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            Ctl(IDC_STATIC, ControlKind::Icon, "128", 10, 10, 21, 20),
            Ctl(IDC_STATIC, ControlKind::Static, question, 40, 16, 140, 8),
            Ctl(IDOK, ControlKind::DefPushButton, "&Proceed", 38, 40, 50, 14, kGroup | kTabStop),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Cancel", 98, 40, 50, 14, kTabStop),
        });
}

// Modeless progress window of a board notification. No system menu: the only way out is OK,
// which is enabled when the wait for the boards is over.
DialogTemplate SendRemapData() {
    return Dialog(
        IDD_SEND_REMAP_DATA, "Send Remap Data...", 260, 166, kCaption | kModalFrame | kCentered,
        {
            Ctl(IDC_STATIC, ControlKind::Static, "Send Notification to Board:", 7, 7, 120, 8),
            Ctl(IDC_SENT_LIST, ControlKind::ListBox, "", 7, 17, 120, 100,
                kBorder | kVScroll | kTabStop),
            Ctl(IDC_STATIC, ControlKind::Static, "Total:", 7, 125, 24, 8),
            Ctl(IDC_SENT_TOTAL, ControlKind::Edit, "", 33, 123, 40, 12, kReadOnly | kBorder),

            Ctl(IDC_STATIC, ControlKind::Static, "Receive response from board:", 133, 7, 120, 8),
            Ctl(IDC_RESPONSE_LIST, ControlKind::ListBox, "", 133, 17, 120, 100,
                kBorder | kVScroll | kTabStop),
            Ctl(IDC_STATIC, ControlKind::Static, "Total:", 133, 125, 24, 8),
            Ctl(IDC_RESPONSE_TOTAL, ControlKind::Edit, "", 159, 123, 40, 12, kReadOnly | kBorder),

            Ctl(IDOK, ControlKind::DefPushButton, "OK", 105, 145, 50, 14,
                kDisabled | kGroup | kTabStop),
        });
}

// The remap table view; its title names the table and is set when it opens. The grid takes the
// place of the frame 1022. Restore, Restore All and Print wait until there are rows.
DialogTemplate RemapTableView() {
    return Dialog(IDD_REMAP_TABLE, "", 300, 199,
                  kCaption | kSysMenu | kMinimizeBox | kModalFrame | kCentered,
                  {
                      Ctl(IDC_GRID, ControlKind::GridPlaceholder, "", 7, 7, 286, 163),
                      Ctl(IDC_RESTORE, ControlKind::PushButton, "&Restore", 59, 178, 54, 14,
                          kDisabled | kGroup | kTabStop),
                      Ctl(IDC_RESTORE_ALL, ControlKind::PushButton, "Restore &All", 119, 178, 54,
                          14, kDisabled | kTabStop),
                      Ctl(IDC_TABLE_PRINT, ControlKind::PushButton, "&Print", 179, 178, 54, 14,
                          kDisabled | kTabStop),
                      Ctl(IDCANCEL, ControlKind::PushButton, "&Close", 239, 178, 54, 14, kTabStop),
                  });
}

}  // namespace

std::vector<DialogTemplate> RemapDialogs() {
    return {
        MainDialog(),
        Confirmation(IDD_REMAP_CONFIRM, "Tavora - REMAP", "Are you sure you want to remap?"),
        Confirmation(IDD_RESTORE_CONFIRM, "Tavora - RESTORE", "Are you sure you want to restore?"),
        SendRemapData(),
        RemapTableView(),
    };
}

}  // namespace tav::resparts
