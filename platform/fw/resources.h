// Resources as data: the string table, dialog templates, menus and icons. The program supplies one
// ResourceSet at start; both back ends build their windows from the same templates.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/fw/types.h"

namespace fw {

enum class ControlKind {
    Static,           // text label
    Icon,             // static picture of an icon resource (text = icon id in decimal)
    Frame,            // static etched frame, no text
    GridPlaceholder,  // static frame whose place a grid window takes at run time
    Grid,             // a grid made at run time (CGridCtrl); never in a template
    PushButton,
    DefPushButton,
    RadioButton,  // auto radio button; a group starts at a control with kGroup
    CheckBox,
    GroupBox,
    Edit,  // single-line edit
    MultiLineEdit,
    DropDownList,   // combo box without an edit part
    DropDownCombo,  // combo box with an edit part
    ListBox,
};

// Control style bits (our own numbering; the templates state them by name).
enum ControlStyle : std::uint32_t {
    kDisabled = 0x0001,  // created disabled
    kGroup = 0x0002,     // first control of a group
    kTabStop = 0x0004,
    kReadOnly = 0x0008,      // edit: read-only
    kVScroll = 0x0010,       // vertical scroll bar
    kSorted = 0x0020,        // list or combo: items kept sorted
    kMultiColumn = 0x0040,   // list box: several columns
    kAlignCenter = 0x0080,   // static: centred text
    kAlignRight = 0x0100,    // static: right-aligned text
    kHidden = 0x0200,        // created invisible
    kNoWantReturn = 0x0400,  // multi-line edit that does not take Enter as a new line
    kBorder = 0x0800,
};

struct ControlTemplate {
    int id = 0;  // -1 for IDC_STATIC
    ControlKind kind = ControlKind::Static;
    std::string text;
    Rect rect;  // dialog units: left, top, right, bottom
    std::uint32_t style = 0;
    // What a screen reader calls a control that has no label of its own just before it in the
    // template (a group box's title, say); empty: its label, or its own text.
    std::string accessibleName{};
};

// Dialog window style bits.
enum DialogStyle : std::uint32_t {
    kCaption = 0x0001,
    kSysMenu = 0x0002,
    kMinimizeBox = 0x0004,
    kModalFrame = 0x0008,
    kAppWindow = 0x0010,  // extended style that gives the window a taskbar button
    kCentered = 0x0020,
    kVisible = 0x0040,
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    Rect rect;  // dialog units; the window's client area is rect's size
    std::uint32_t style = kCaption | kSysMenu | kModalFrame;
    int menuId = 0;
    std::string fontFace = "MS Sans Serif";
    int fontPoints = 8;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* FindControl(int controlId) const;
};

struct MenuItem {
    std::string text;  // "&File"; empty for a separator
    UINT id = 0;
    bool grayed = false;
    bool separator = false;
    std::vector<MenuItem> popup;  // non-empty for a popup menu
};

struct MenuTemplate {
    int id = 0;
    std::vector<MenuItem> items;
};

struct IconResource {
    int id = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height pixels, 0xAARRGGBB, row by row
};

struct StringResource {
    UINT id = 0;
    std::string text;
};

struct ResourceSet {
    std::vector<StringResource> strings;
    std::vector<DialogTemplate> dialogs;
    std::vector<MenuTemplate> menus;
    std::vector<IconResource> icons;

    const std::string* FindString(UINT id) const;
    const DialogTemplate* FindDialog(int id) const;
    const MenuTemplate* FindMenu(int id) const;
    const IconResource* FindIcon(int id) const;
};

// The program's resources, installed once at start. Lookups before installation find nothing.
void InstallResources(const ResourceSet* resources);
const ResourceSet* InstalledResources();

// The string of a resource id; an empty text when the id has no string.
std::string LoadString(UINT id);

// Removes the mnemonic markers of a control or menu text ("&Remap" -> "Remap", "&&" -> "&").
std::string StripMnemonic(const std::string& text);

}  // namespace fw
