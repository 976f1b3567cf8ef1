// The pieces that TavResources() assembles, one function per source file.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/fw/resources.h"

namespace tav::resparts {

// A control placed the way resource scripts state it: left, top, width and height in dialog units.
inline fw::ControlTemplate Ctl(int id, fw::ControlKind kind, std::string text, int x, int y, int cx,
                               int cy, std::uint32_t style = 0) {
    return fw::ControlTemplate{id, kind, std::move(text), fw::Rect{x, y, x + cx, y + cy}, style};
}

// The control, called name by a screen reader: for a control whose label does not stand just
// before it in the template. The name is a text the window shows.
inline fw::ControlTemplate Named(fw::ControlTemplate control, std::string name) {
    control.accessibleName = std::move(name);
    return control;
}

// A dialog of cx by cy dialog units in the dialog font.
inline fw::DialogTemplate Dialog(int id, std::string title, int cx, int cy, std::uint32_t style,
                                 std::vector<fw::ControlTemplate> controls, int menuId = 0) {
    fw::DialogTemplate d;
    d.id = id;
    d.title = std::move(title);
    d.rect = fw::Rect{0, 0, cx, cy};
    d.style = style;
    d.menuId = menuId;
    d.controls = std::move(controls);
    return d;
}

std::vector<fw::StringResource> StringTable();

// Shell dialogs: About, please-wait, error, print chooser, the remap table file dialog and the
// wait for another workstation.
std::vector<fw::DialogTemplate> ShellDialogs();
// Remapping and board notification: the main window, the two confirmations, the progress
// window and the remap table view.
std::vector<fw::DialogTemplate> RemapDialogs();
// System Definition and idle ports.
std::vector<fw::DialogTemplate> SysDefDialogs();

fw::MenuTemplate MainMenu();

// Icon 128 is kBakedIconSize pixels square.
inline constexpr int kBakedIconSize = 32;
// Icon 128 drawn at any size (icon.cpp).
fw::IconResource ProgramIcon(int size = kBakedIconSize);
// Icon 128 at kBakedIconSize, from the pixels ProgramIcon drew when the program was built.
fw::IconResource BakedProgramIcon();

}  // namespace tav::resparts
