// Dialog templates: the controls the program's code addresses by id must exist with the kind,
// text and initial state it relies on, and every template must lay out cleanly (nothing outside
// the window, nothing on top of anything else, labels wide enough for their text).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/fw/types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

using fw::ControlKind;
using fw::ControlTemplate;
using fw::DialogTemplate;

const DialogTemplate& Dlg(int id) {
    static const DialogTemplate empty;
    const DialogTemplate* d = tav::TavResources().FindDialog(id);
    EXPECT_NE(d, nullptr) << "no dialog " << id;
    return d != nullptr ? *d : empty;
}

bool HasText(const DialogTemplate& d, ControlKind kind, const std::string& text) {
    return std::any_of(d.controls.begin(), d.controls.end(),
                       [&](const ControlTemplate& c) { return c.kind == kind && c.text == text; });
}

std::string Describe(const DialogTemplate& d, const ControlTemplate& c) {
    return "dialog " + std::to_string(d.id) + " control " + std::to_string(c.id) + " \"" + c.text +
           "\"";
}

constexpr int kAllDialogs[] = {
    IDD_ABOUTBOX, IDD_TAV_DIALOG, IDD_REMAP_CONFIRM,   IDD_RESTORE_CONFIRM, IDD_SYSDEF,
    IDD_IDLE,     IDD_FILE,       IDD_SEND_REMAP_DATA, IDD_PRINT_CHOICE,    IDD_REMAP_TABLE,
    IDD_ERROR,    IDD_WAIT,       IDD_LOCK_WAIT};

class EveryDialog : public testing::TestWithParam<int> {};

// The dialog font; unique ids, unnamed controls only decoration; every control inside the client
// area; at most one default button; icons show the program icon; nothing overlaps except inside a
// group box, below its title; every radio group starts with kGroup.
TEST_P(EveryDialog, LayoutIsClean) {
    const DialogTemplate& d = Dlg(GetParam());
    EXPECT_EQ(d.fontFace, "MS Sans Serif");
    EXPECT_EQ(d.fontPoints, 8);
    EXPECT_TRUE(d.style & fw::kCaption);
    const fw::Rect client{0, 0, d.rect.Width(), d.rect.Height()};
    std::set<int> seen;
    int defaults = 0;
    const auto& cs = d.controls;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        const ControlTemplate& a = cs[i];
        if (a.id == IDC_STATIC) {
            EXPECT_TRUE(a.kind == ControlKind::Static || a.kind == ControlKind::Icon ||
                        a.kind == ControlKind::GroupBox || a.kind == ControlKind::Frame)
                << Describe(d, a);
        } else {
            EXPECT_TRUE(seen.insert(a.id).second) << Describe(d, a) << " twice";
        }
        EXPECT_TRUE(a.rect.Width() > 0 && a.rect.Height() > 0) << Describe(d, a);
        EXPECT_TRUE(client.ContainsRect(a.rect)) << Describe(d, a);
        defaults += a.kind == ControlKind::DefPushButton ? 1 : 0;
        if (a.kind == ControlKind::Icon) {
            EXPECT_EQ(a.text, "128") << Describe(d, a);
            EXPECT_NE(tav::TavResources().FindIcon(IDR_MAINFRAME), nullptr);
        }
        if (a.kind == ControlKind::RadioButton &&
            (i == 0 || cs[i - 1].kind != ControlKind::RadioButton)) {
            EXPECT_TRUE(a.style & fw::kGroup) << "radio group starts at " << Describe(d, a);
        }
        for (std::size_t j = i + 1; j < cs.size(); ++j) {
            const ControlTemplate& b = cs[j];
            if (!a.rect.Intersects(b.rect)) {
                continue;
            }
            const bool aFramesB = a.kind == ControlKind::GroupBox && a.rect.ContainsRect(b.rect);
            const bool bFramesA = b.kind == ControlKind::GroupBox && b.rect.ContainsRect(a.rect);
            EXPECT_TRUE(aFramesB || bFramesA) << Describe(d, a) << " overlaps " << Describe(d, b);
            EXPECT_TRUE(!aFramesB || b.rect.top >= a.rect.top + 9) << Describe(d, b) << " on title";
            EXPECT_TRUE(!bFramesA || a.rect.top >= b.rect.top + 9) << Describe(d, a) << " on title";
        }
    }
    EXPECT_LE(defaults, 1) << "dialog " << d.id;
}

// Approximate width of a text in MS Sans Serif 8, in horizontal dialog units (4 units are one
// average character). Deliberately a little generous so that a real font does not clip.
double TextWidth(const std::string& text) {
    double w = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '&' && (i + 1 >= text.size() || text[i + 1] != '&')) {
            continue;  // mnemonic marker
        }
        const bool narrow = std::string("il.:,;'!|Ij").find(ch) != std::string::npos;
        const bool thin = std::string("ftr -()/[]").find(ch) != std::string::npos;
        w += narrow                     ? 2.0
             : thin                     ? 2.7
             : (ch == 'm' || ch == 'w') ? 5.7
             : (ch == 'M' || ch == 'W') ? 6.7
             : (ch >= 'A' && ch <= 'Z') ? 5.0
                                        : 4.0;
    }
    return w;
}

TEST_P(EveryDialog, TextsFitTheirControls) {
    // The longest text the program puts into a control at run time, where it differs.
    static const std::map<std::pair<int, int>, std::string> runtime = {
        {{IDD_TAV_DIALOG, IDC_SINGLE}, "Single Output"},
        {{IDD_TAV_DIALOG, IDC_ORIGINAL_LABEL}, "Original Output"},
        {{IDD_TAV_DIALOG, IDC_NEW_LABEL}, "New Output"},
        {{IDD_TAV_DIALOG, IDC_REMAP_GROUP}, "Select Remap Outputs"},
        {{IDD_ABOUTBOX, IDC_RELEASE}, "Release 7.1.0"},
        {{IDD_FILE, fw::IDOK}, "Select"},
    };
    // Room a kind needs beside its text, and its least height; -1: the text is not checked.
    static const std::map<ControlKind, std::pair<int, int>> room = {
        {ControlKind::RadioButton, {12, 10}},  {ControlKind::CheckBox, {12, 10}},
        {ControlKind::PushButton, {8, 14}},    {ControlKind::DefPushButton, {8, 14}},
        {ControlKind::GroupBox, {10, 0}},      {ControlKind::Edit, {-1, 12}},
        {ControlKind::DropDownList, {-1, 12}}, {ControlKind::DropDownCombo, {-1, 12}},
    };
    const DialogTemplate& d = Dlg(GetParam());
    for (const ControlTemplate& c : d.controls) {
        const auto it = runtime.find({d.id, c.id});
        const std::string text = it != runtime.end() ? it->second : c.text;
        const double need = TextWidth(text);
        const int width = c.rect.Width();
        const int height = c.rect.Height();
        SCOPED_TRACE(Describe(d, c) + " showing \"" + text + "\"");
        if (c.kind == ControlKind::Static && height >= 16) {
            // Wrapping text: the lines it has room for, with slack for word breaks.
            EXPECT_LE(need, 0.8 * width * (height / 8));
        } else if (c.kind == ControlKind::Static) {
            EXPECT_GE(height, 8);
            EXPECT_LE(need, width);
        } else if (const auto r = room.find(c.kind); r != room.end()) {
            EXPECT_GE(height, r->second.second);
            EXPECT_TRUE(r->second.first < 0 || need + r->second.first <= width);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, EveryDialog, testing::ValuesIn(kAllDialogs),
                         [](const testing::TestParamInfo<int>& p) {
                             return "Dialog" + std::to_string(p.param);
                         });

// For each style bit the code relies on, the named controls that have it; no other named control
// has it. The main window and the file and print choosers wait for an I/O type, the idle buttons
// for a row click, Restore and Print for a selection, the progress window's OK for the end; lists
// keep the order items are added in, except the file list.
TEST(DialogControls, CarryTheStylesTheCodeRelies) {
    const std::pair<std::uint32_t, std::map<int, std::set<int>>> rules[] = {
        {fw::kDisabled,
         {{IDD_TAV_DIALOG,
           {IDC_SWITCHER_LABEL, IDC_SWITCHER, IDC_LEVEL_LABEL, IDC_LEVEL, IDC_RANGE_LABEL,
            IDC_SINGLE, IDC_WHOLE_BOARD, IDC_ORIGINAL_LABEL, IDC_ORIGINAL_NUMBER,
            IDC_ORIGINAL_RANGE_LABEL, IDC_ORIGINAL_RANGE, IDC_NEW_LABEL, IDC_NEW_NUMBER,
            IDC_NEW_RANGE_LABEL, IDC_NEW_RANGE, IDC_COMMENT_GROUP, IDC_COMMENT, IDC_REMAP}},
          {IDD_SYSDEF, {IDC_IDLE_INPUTS, IDC_IDLE_OUTPUTS}},
          {IDD_FILE,
           {IDC_FILE_LIST, IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_FILE_TYPE_LABEL, IDC_FILE_TYPE,
            fw::IDOK}},
          {IDD_SEND_REMAP_DATA, {fw::IDOK}},
          {IDD_PRINT_CHOICE, {fw::IDOK}},
          {IDD_REMAP_TABLE, {IDC_RESTORE, IDC_RESTORE_ALL, IDC_TABLE_PRINT}}}},
        {fw::kSorted, {{IDD_FILE, {IDC_FILE_LIST}}}},
        {fw::kMultiColumn, {{IDD_FILE, {IDC_FILE_LIST}}}},
        {fw::kReadOnly,
         {{IDD_SEND_REMAP_DATA, {IDC_SENT_TOTAL, IDC_RESPONSE_TOTAL}},
          {IDD_ERROR, {IDC_ERROR_DETAIL}}}},
        {fw::kNoWantReturn, {{IDD_TAV_DIALOG, {IDC_COMMENT}}}},
    };
    for (auto [bit, where] : rules) {
        for (const DialogTemplate& d : tav::TavResources().dialogs) {
            for (const ControlTemplate& c : d.controls) {
                const bool has = (c.style & bit) != 0;
                EXPECT_TRUE(c.id == IDC_STATIC || has == (where[d.id].count(c.id) != 0))
                    << Describe(d, c) << " style bit " << bit;
            }
        }
    }
}

// Kinds the code relies on, and texts it extends at run time or that are easy to get wrong.
TEST(DialogControls, HaveTheKindAndTextTheCodeRelies) {
    const struct {
        int dialog;
        int id;
        ControlKind kind;
        const char* text;
    } cases[] = {
        {IDD_TAV_DIALOG, IDC_SINGLE, ControlKind::RadioButton, "Single "},
        {IDD_TAV_DIALOG, IDC_ORIGINAL_LABEL, ControlKind::Static, "Original "},
        {IDD_TAV_DIALOG, IDC_NEW_LABEL, ControlKind::Static, "New "},
        {IDD_TAV_DIALOG, IDC_NEW_NUMBER, ControlKind::DropDownList, ""},
        {IDD_TAV_DIALOG, IDC_ORIGINAL_RANGE, ControlKind::DropDownCombo, ""},
        {IDD_TAV_DIALOG, IDC_NEW_RANGE, ControlKind::DropDownCombo, ""},
        {IDD_TAV_DIALOG, IDC_COMMENT, ControlKind::MultiLineEdit, ""},
        {IDD_SYSDEF, IDC_IDLE_OUTPUTS, ControlKind::PushButton, "I&dle Outputs"},
        {IDD_SYSDEF, IDC_GRID, ControlKind::GridPlaceholder, ""},
        {IDD_IDLE, IDC_GRID, ControlKind::GridPlaceholder, ""},
        {IDD_SEND_REMAP_DATA, IDC_SENT_LIST, ControlKind::ListBox, ""},
        {IDD_SEND_REMAP_DATA, IDC_RESPONSE_LIST, ControlKind::ListBox, ""},
        {IDD_REMAP_TABLE, IDC_GRID, ControlKind::GridPlaceholder, ""},
        {IDD_REMAP_TABLE, IDC_RESTORE_ALL, ControlKind::PushButton, "Restore &All"},
        {IDD_ERROR, IDC_ERROR_DETAIL, ControlKind::MultiLineEdit, ""},
        {IDD_ERROR, IDC_DETAIL, ControlKind::PushButton, "&DETAIL"},
    };
    for (const auto& e : cases) {
        const ControlTemplate* c = Dlg(e.dialog).FindControl(e.id);
        ASSERT_NE(c, nullptr) << "dialog " << e.dialog << " control " << e.id;
        EXPECT_EQ(c->kind, e.kind) << Describe(Dlg(e.dialog), *c);
        EXPECT_EQ(c->text, e.text) << Describe(Dlg(e.dialog), *c);
    }
    for (const auto& [dialog, id] : {std::pair{IDD_SEND_REMAP_DATA, IDC_SENT_LIST},
                                     {IDD_SEND_REMAP_DATA, IDC_RESPONSE_LIST},
                                     {IDD_ERROR, IDC_ERROR_DETAIL}}) {
        EXPECT_TRUE(Dlg(dialog).FindControl(id)->style & fw::kVScroll) << id << " scrolls";
    }
}

// Radio groups as the framework forms them: a group runs from a control with kGroup up to the
// next one.
TEST(DialogControls, RadioGroupsPairTheRightButtons) {
    using Groups = std::vector<std::vector<int>>;
    std::map<int, Groups> expected = {
        {IDD_TAV_DIALOG, {{IDC_INPUT, IDC_OUTPUT}, {IDC_SINGLE, IDC_WHOLE_BOARD}}},
        {IDD_FILE, {{IDC_INPUT, IDC_OUTPUT}}},
        {IDD_PRINT_CHOICE, {{IDC_INPUT_TABLE, IDC_OUTPUT_TABLE}}}};
    for (const DialogTemplate& d : tav::TavResources().dialogs) {
        Groups groups;
        bool open = false;
        for (const ControlTemplate& c : d.controls) {
            open = open && !(c.style & fw::kGroup);
            if (c.kind == ControlKind::RadioButton) {
                if (!open) {
                    groups.emplace_back();
                }
                groups.back().push_back(c.id);
                open = true;
            }
        }
        EXPECT_EQ(groups, expected[d.id]) << "dialog " << d.id;
    }
}

// Every template once; the titles and messages no scenario shows (the scenarios' window lines
// check the others' titles), and the program icon beside each message.
TEST(DialogSet, HasEveryTemplateWithItsTitleAndMessage) {
    EXPECT_EQ(tav::TavResources().dialogs.size(), std::size(kAllDialogs));
    const std::tuple<int, const char*, const char*> cases[] = {
        {IDD_REMAP_CONFIRM, "Tavora - REMAP", "Are you sure you want to remap?"},
        {IDD_RESTORE_CONFIRM, "Tavora - RESTORE", "Are you sure you want to restore?"},
        {IDD_WAIT, "Tavora",
         "Please wait while the Tavora program is connecting to the Corvane Configuration "
         "Server."},
    };
    for (const auto& [id, title, text] : cases) {
        EXPECT_EQ(Dlg(id).title, title) << "dialog " << id;
        EXPECT_TRUE(HasText(Dlg(id), ControlKind::Icon, "128")) << id;
        EXPECT_TRUE(HasText(Dlg(id), ControlKind::Static, text)) << id;
    }
    for (int id : {IDD_IDLE, IDD_FILE, IDD_REMAP_TABLE}) {  // titled when they open
        EXPECT_EQ(Dlg(id).title, "") << id;
    }
}

// The main window has menu 128 and can be minimized, as can the table view; the progress window
// cannot be closed. The main window's controls sit in their group boxes, above the status bar.
TEST(DialogLayout, WindowStylesAndTheMainWindowsGroups) {
    const DialogTemplate& d = Dlg(IDD_TAV_DIALOG);
    EXPECT_EQ(d.menuId, IDR_MAIN_MENU);
    const std::uint32_t minimizable = fw::kSysMenu | fw::kMinimizeBox;
    EXPECT_EQ(d.style & (minimizable | fw::kAppWindow), minimizable | fw::kAppWindow);
    EXPECT_EQ(Dlg(IDD_REMAP_TABLE).style & minimizable, minimizable);
    EXPECT_FALSE(Dlg(IDD_SEND_REMAP_DATA).style & fw::kSysMenu);
    EXPECT_TRUE(HasText(d, ControlKind::Static, "Remap I/O Type:"));
    const auto box = std::find_if(d.controls.begin(), d.controls.end(), [](const auto& c) {
        return c.kind == ControlKind::GroupBox && c.text == "Select switcher and level";
    });
    ASSERT_NE(box, d.controls.end());
    const std::pair<fw::Rect, std::vector<int>> groups[] = {
        {box->rect, {IDC_SWITCHER_LABEL, IDC_SWITCHER, IDC_LEVEL_LABEL, IDC_LEVEL}},
        {d.FindControl(IDC_REMAP_GROUP)->rect,
         {IDC_ORIGINAL_LABEL, IDC_ORIGINAL_NUMBER, IDC_ORIGINAL_RANGE_LABEL, IDC_ORIGINAL_RANGE,
          IDC_NEW_LABEL, IDC_NEW_NUMBER, IDC_NEW_RANGE_LABEL, IDC_NEW_RANGE}},
        {d.FindControl(IDC_COMMENT_GROUP)->rect, {IDC_COMMENT}},
    };
    for (const auto& [frame, members] : groups) {
        for (int id : members) {
            EXPECT_TRUE(frame.ContainsRect(d.FindControl(id)->rect)) << id;
        }
    }
    for (const ControlTemplate& c : d.controls) {
        EXPECT_LE(c.rect.bottom, d.rect.Height() - 14) << Describe(d, c);
    }
}

TEST(DialogLayout, FileDialogSizeAndGridPlaces) {
    EXPECT_EQ(Dlg(IDD_FILE).rect.Width(), 190);
    EXPECT_EQ(Dlg(IDD_FILE).rect.Height(), 105);
    EXPECT_EQ(Dlg(IDD_SYSDEF).FindControl(IDC_GRID)->rect, (fw::Rect{5, 5, 5 + 234, 5 + 89}));
    EXPECT_EQ(Dlg(IDD_IDLE).FindControl(IDC_GRID)->rect, (fw::Rect{7, 6, 7 + 119, 6 + 92}));
    // The remap table view's grid fills the upper part, above every button.
    const DialogTemplate& view = Dlg(IDD_REMAP_TABLE);
    const fw::Rect grid = view.FindControl(IDC_GRID)->rect;
    EXPECT_GE(grid.Width(), view.rect.Width() * 9 / 10);
    for (const ControlTemplate& c : view.controls) {
        EXPECT_TRUE(c.kind != ControlKind::PushButton || c.rect.top >= grid.bottom)
            << Describe(view, c);
    }
    // The progress window's lists each have their "Total:" label and count below them.
    const DialogTemplate& progress = Dlg(IDD_SEND_REMAP_DATA);
    for (const auto& [list, total] : {std::pair{IDC_SENT_LIST, IDC_SENT_TOTAL},
                                      std::pair{IDC_RESPONSE_LIST, IDC_RESPONSE_TOTAL}}) {
        EXPECT_GE(progress.FindControl(total)->rect.top, progress.FindControl(list)->rect.bottom);
    }
    EXPECT_EQ(std::count_if(progress.controls.begin(), progress.controls.end(),
                            [](const ControlTemplate& c) {
                                return c.kind == ControlKind::Static && c.text == "Total:";
                            }),
              2);
}

// The error dialog opens at half its window height. Caption and borders take about 16 dialog
// units of the window, so at half height the client shows height / 2 - 8 units: the message, the
// icon and both buttons must fit there, and the detail edit must lie wholly below it.
TEST(DialogLayout, ErrorDialogUpperHalfShowsMessageAndButtonsLowerHalfHidesDetail) {
    const DialogTemplate& d = Dlg(IDD_ERROR);
    const int visibleAtHalf = d.rect.Height() / 2 - 8;
    for (const ControlTemplate& c : d.controls) {
        if (c.id == IDC_ERROR_DETAIL) {
            EXPECT_GE(c.rect.top, visibleAtHalf + 4) << Describe(d, c);
        } else {
            EXPECT_LE(c.rect.bottom, visibleAtHalf - 2) << Describe(d, c);
        }
    }
    EXPECT_TRUE(HasText(d, ControlKind::Icon, "128"));
    EXPECT_LT(d.FindControl(IDC_ERROR_MESSAGE)->rect.top, d.FindControl(fw::IDOK)->rect.top);
}

}  // namespace
