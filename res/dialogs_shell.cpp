// Dialog templates of the application shell: the About box, the please-wait window, the error
// dialog, the print chooser and the remap table file dialog.
#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

using fw::ControlKind;
using namespace fw;  // style bits and button ids

// The program icon as a static picture.
ControlTemplate ProgramIconAt(int x, int y) {
    return Ctl(IDC_STATIC, ControlKind::Icon, "128", x, y, 21, 20);
}

DialogTemplate AboutBox() {
    return Dialog(
        IDD_ABOUTBOX, "About TAV", 220, 58, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            ProgramIconAt(11, 14),
            Ctl(IDC_STATIC, ControlKind::Static, "Tavora", 44, 12, 110, 8),
            // The release line is filled in when the box opens.
            Ctl(IDC_RELEASE, ControlKind::Static, "", 44, 28, 110, 8),
            Ctl(IDOK, ControlKind::DefPushButton, "OK", 163, 7, 50, 14, kGroup | kTabStop),
        });
}

// Shown modeless while the components are being connected. It has no system menu: nothing may
// close it except the program, which destroys it once the main window is ready.
DialogTemplate PleaseWait() {
    return Dialog(IDD_WAIT, "Tavora", 220, 52, kCaption | kModalFrame | kCentered,
                  {
                      ProgramIconAt(10, 12),
                      Ctl(IDC_STATIC, ControlKind::Static,
                          "Please wait while the Tavora program is connecting to the Corvane "
                          "Configuration Server.",
                          40, 10, 172, 32),
                  });
}

// Shown modeless while another workstation sharing the data folder changes the file this one is
// about to change; the message names the file when it opens. Give up ends the wait, and nothing
// is changed.
DialogTemplate LockWait() {
    return Dialog(
        IDD_LOCK_WAIT, "Tavora", 220, 62, kCaption | kModalFrame | kCentered,
        {
            ProgramIconAt(10, 12),
            Ctl(IDC_LOCK_WAIT_TEXT, ControlKind::Static, "", 40, 10, 172, 26),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Give up", 162, 41, 50, 14, kGroup | kTabStop),
        });
}

// The dialog opens at half its height, which shows only the upper part (icon, message, OK and
// DETAIL); DETAIL grows it to full height and reveals the detail text in the lower part. Keep
// everything of the upper part within the top 70 units so that nothing is cut at half height.
DialogTemplate ErrorDialog() {
    return Dialog(
        IDD_ERROR, "Error", 250, 160, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            ProgramIconAt(10, 10),
            Ctl(IDC_ERROR_MESSAGE, ControlKind::Static, "", 40, 10, 203, 34),
            Ctl(IDOK, ControlKind::DefPushButton, "&OK", 137, 50, 50, 14, kGroup | kTabStop),
            Ctl(IDC_DETAIL, ControlKind::PushButton, "&DETAIL", 193, 50, 50, 14, kTabStop),
            // The text DETAIL reveals, called after that button.
            Named(Ctl(IDC_ERROR_DETAIL, ControlKind::MultiLineEdit, "", 7, 80, 236, 73,
                      kReadOnly | kVScroll | kBorder | kTabStop),
                  "DETAIL"),
        });
}

DialogTemplate PrintChoice() {
    return Dialog(
        IDD_PRINT_CHOICE, "Print Remap Table", 186, 56,
        kCaption | kSysMenu | kModalFrame | kCentered,
        {
            Ctl(IDC_INPUT_TABLE, ControlKind::RadioButton, "Input Remap Table", 14, 12, 100, 10,
                kGroup | kTabStop),
            Ctl(IDC_OUTPUT_TABLE, ControlKind::RadioButton, "Output Remap Table", 14, 30, 100, 10),
            // Print stays off until a table type has been clicked.
            Ctl(IDOK, ControlKind::DefPushButton, "&Print", 126, 9, 50, 14,
                kDisabled | kGroup | kTabStop),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Cancel", 126, 29, 50, 14, kTabStop),
        });
}

// One template serves Save As and Select; the title and the OK button's text are set when it
// opens. Until a table type is picked only the type radios and Cancel can be used.
DialogTemplate FileDialog() {
    return Dialog(
        IDD_FILE, "", 190, 105, kCaption | kSysMenu | kModalFrame | kCentered,
        {
            Ctl(IDC_STATIC, ControlKind::Static, "&Type:", 7, 8, 24, 8),
            Ctl(IDC_INPUT, ControlKind::RadioButton, "Input", 34, 7, 40, 10, kGroup | kTabStop),
            Ctl(IDC_OUTPUT, ControlKind::RadioButton, "Output", 80, 7, 44, 10),
            Ctl(IDC_FILE_NAME_LABEL, ControlKind::Static, "File &name:", 7, 23, 117, 8,
                kDisabled | kGroup),
            Ctl(IDC_FILE_NAME, ControlKind::Edit, "", 7, 32, 117, 12,
                kDisabled | kBorder | kTabStop),
            // The names to pick from, under the name's field and called after its label.
            Named(Ctl(IDC_FILE_LIST, ControlKind::ListBox, "", 7, 48, 117, 28,
                      kDisabled | kSorted | kMultiColumn | kBorder | kTabStop),
                  "File name:"),
            Ctl(IDC_FILE_TYPE_LABEL, ControlKind::Static, "Save as &type:", 7, 79, 117, 8,
                kDisabled),
            Ctl(IDC_FILE_TYPE, ControlKind::DropDownList, "", 7, 88, 117, 12,
                kDisabled | kVScroll | kTabStop),
            Ctl(IDOK, ControlKind::DefPushButton, "OK", 133, 7, 50, 14,
                kDisabled | kGroup | kTabStop),
            Ctl(IDCANCEL, ControlKind::PushButton, "&Cancel", 133, 25, 50, 14, kTabStop),
        });
}

}  // namespace

std::vector<DialogTemplate> ShellDialogs() {
    return {AboutBox(), PleaseWait(), ErrorDialog(), PrintChoice(), FileDialog(), LockWait()};
}

}  // namespace tav::resparts
