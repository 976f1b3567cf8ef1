// Menu 128, the main window's menu bar. Commands the window does not handle itself go to the
// application object.
#include "res/res_parts.h"
#include "res/resource.h"

namespace tav::resparts {

namespace {

fw::MenuItem Item(std::string text, fw::UINT id, bool grayed = false) {
    fw::MenuItem item;
    item.text = std::move(text);
    item.id = id;
    item.grayed = grayed;
    return item;
}

fw::MenuItem Separator() {
    fw::MenuItem item;
    item.separator = true;
    return item;
}

fw::MenuItem Popup(std::string text, std::vector<fw::MenuItem> items) {
    fw::MenuItem item;
    item.text = std::move(text);
    item.popup = std::move(items);
    return item;
}

}  // namespace

fw::MenuTemplate MainMenu() {
    fw::MenuTemplate menu;
    menu.id = IDR_MAIN_MENU;
    menu.items = {
        Popup("&File",
              {
                  Item("Select &Remap Table", ID_FILE_SELECT_REMAP_TABLE),
                  Item("Save Remap Table &As...", ID_FILE_SAVE_REMAP_TABLE_AS),
                  Separator(),
                  Item("&Print Remap Table...\tCtrl+P", ID_FILE_PRINT_REMAP_TABLE),
                  Item("Page Set&up", fw::ID_FILE_PRINT_SETUP),
                  Separator(),
                  Item("E&xit", fw::ID_APP_EXIT),
              }),
        Popup("&View",
              {
                  Item("&System Definition...", ID_VIEW_SYSTEM_DEFINITION),
                  Item("&Input Remap Table...", ID_VIEW_INPUT_REMAP_TABLE),
                  Item("&Output Remap Table...", ID_VIEW_OUTPUT_REMAP_TABLE),
              }),
        // There is no help file, so Help Topics stays greyed.
        Popup("&Help",
              {
                  Item("&Help Topics", fw::ID_HELP_FINDER, true),
                  Separator(),
                  Item("&About Tavora...", fw::ID_APP_ABOUT),
              }),
    };
    return menu;
}

}  // namespace tav::resparts
