// Dialog templates: the controls the program's code addresses by id must exist with the kind,
// text and initial state it relies on, and every template must lay out cleanly (nothing outside
// the window, nothing on top of anything else, labels wide enough for their text).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/fw/types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

using fw::ControlKind;
using fw::ControlTemplate;
using fw::DialogTemplate;

const DialogTemplate& Dlg(int id) {
    const DialogTemplate* d = tav::TavResources().FindDialog(id);
    if (d == nullptr) {
        ADD_FAILURE() << "no dialog " << id;
        static const DialogTemplate empty;
        return empty;
    }
    return *d;
}

const ControlTemplate* FindByText(const DialogTemplate& d, ControlKind kind, const char* text) {
    for (const ControlTemplate& c : d.controls) {
        if (c.kind == kind && c.text == text) {
            return &c;
        }
    }
    return nullptr;
}

std::string Describe(const ControlTemplate& c) {
    return "control " + std::to_string(c.id) + " \"" + c.text + "\"";
}

constexpr int kAllDialogs[] = {
    IDD_ABOUTBOX, IDD_TAV_DIALOG,      IDD_REMAP_CONFIRM, IDD_RESTORE_CONFIRM, IDD_SYSDEF, IDD_IDLE,
    IDD_FILE,     IDD_SEND_REMAP_DATA, IDD_PRINT_CHOICE,  IDD_REMAP_TABLE,     IDD_ERROR,  IDD_WAIT,
};

TEST(DialogSet, HasEveryTemplateOnceWithItsNumber) {
    const std::vector<int> expected = {100, 102, 131, 133, 134, 137, 138, 139, 140, 141, 143, 145};
    std::vector<int> ids;
    for (const DialogTemplate& d : tav::TavResources().dialogs) {
        ids.push_back(d.id);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, expected);
    std::vector<int> named(std::begin(kAllDialogs), std::end(kAllDialogs));
    std::sort(named.begin(), named.end());
    EXPECT_EQ(named, expected);
}

TEST(DialogSet, BuiltOnceAndShared) {
    EXPECT_EQ(&tav::TavResources(), &tav::TavResources());
}

// ---------------------------------------------------------------------------------------------
// Layout rules that hold for every template.

class EveryDialog : public testing::TestWithParam<int> {
  protected:
    const DialogTemplate& D() const { return Dlg(GetParam()); }
    fw::Rect Client() const { return fw::Rect{0, 0, D().rect.Width(), D().rect.Height()}; }
};

TEST_P(EveryDialog, UsesTheDialogFont) {
    EXPECT_EQ(D().fontFace, "MS Sans Serif");
    EXPECT_EQ(D().fontPoints, 8);
    EXPECT_TRUE(D().style & fw::kCaption);
}

TEST_P(EveryDialog, ControlIdsAreUniqueExceptUnnamedStatics) {
    std::set<int> seen;
    for (const ControlTemplate& c : D().controls) {
        if (c.id == IDC_STATIC) {
            continue;
        }
        EXPECT_TRUE(seen.insert(c.id).second) << "dialog " << D().id << ": id " << c.id << " twice";
    }
}

TEST_P(EveryDialog, UnnamedControlsAreOnlyDecoration) {
    for (const ControlTemplate& c : D().controls) {
        if (c.id == IDC_STATIC) {
            EXPECT_TRUE(c.kind == ControlKind::Static || c.kind == ControlKind::Icon ||
                        c.kind == ControlKind::GroupBox || c.kind == ControlKind::Frame)
                << "dialog " << D().id << ": " << Describe(c);
        }
    }
}

TEST_P(EveryDialog, EveryControlLiesInsideTheClientArea) {
    for (const ControlTemplate& c : D().controls) {
        EXPECT_GT(c.rect.Width(), 0) << "dialog " << D().id << ": " << Describe(c);
        EXPECT_GT(c.rect.Height(), 0) << "dialog " << D().id << ": " << Describe(c);
        EXPECT_TRUE(Client().ContainsRect(c.rect)) << "dialog " << D().id << ": " << Describe(c);
    }
}

TEST_P(EveryDialog, NoControlsOverlapExceptInsideAGroupBox) {
    const auto& cs = D().controls;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        for (std::size_t j = i + 1; j < cs.size(); ++j) {
            const ControlTemplate& a = cs[i];
            const ControlTemplate& b = cs[j];
            if (!a.rect.Intersects(b.rect)) {
                continue;
            }
            const bool aFramesB = a.kind == ControlKind::GroupBox && a.rect.ContainsRect(b.rect);
            const bool bFramesA = b.kind == ControlKind::GroupBox && b.rect.ContainsRect(a.rect);
            EXPECT_TRUE(aFramesB || bFramesA)
                << "dialog " << D().id << ": " << Describe(a) << " overlaps " << Describe(b);
        }
    }
}

TEST_P(EveryDialog, ControlsInsideAGroupBoxClearItsTitle) {
    for (const ControlTemplate& box : D().controls) {
        if (box.kind != ControlKind::GroupBox) {
            continue;
        }
        for (const ControlTemplate& c : D().controls) {
            if (&c != &box && box.rect.ContainsRect(c.rect)) {
                EXPECT_GE(c.rect.top, box.rect.top + 9)
                    << "dialog " << D().id << ": " << Describe(c) << " on the title of "
                    << Describe(box);
            }
        }
    }
}

TEST_P(EveryDialog, EveryRadioGroupStartsWithGroupStyle) {
    const auto& cs = D().controls;
    for (std::size_t i = 0; i < cs.size(); ++i) {
        if (cs[i].kind != ControlKind::RadioButton) {
            continue;
        }
        const bool followsRadio = i > 0 && cs[i - 1].kind == ControlKind::RadioButton;
        if (!followsRadio) {
            EXPECT_TRUE(cs[i].style & fw::kGroup)
                << "dialog " << D().id << ": radio group starts at " << Describe(cs[i])
                << " without kGroup";
        }
    }
}

TEST_P(EveryDialog, DefaultButtonAtMostOnce) {
    int defaults = 0;
    for (const ControlTemplate& c : D().controls) {
        defaults += c.kind == ControlKind::DefPushButton ? 1 : 0;
    }
    EXPECT_LE(defaults, 1) << "dialog " << D().id;
}

TEST_P(EveryDialog, IconsShowTheProgramIcon) {
    for (const ControlTemplate& c : D().controls) {
        if (c.kind == ControlKind::Icon) {
            EXPECT_EQ(c.text, "128") << "dialog " << D().id;
            EXPECT_NE(tav::TavResources().FindIcon(std::stoi(c.text)), nullptr);
        }
    }
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
        if (std::string("il.:,;'!|Ij").find(ch) != std::string::npos) {
            w += 2.0;
        } else if (std::string("ftr -()/[]").find(ch) != std::string::npos) {
            w += 2.7;
        } else if (ch == 'm' || ch == 'w') {
            w += 5.7;
        } else if (ch == 'M' || ch == 'W') {
            w += 6.7;
        } else if (ch >= 'A' && ch <= 'Z') {
            w += 5.0;
        } else {
            w += 4.0;
        }
    }
    return w;
}

// The longest text the program puts into a control at run time, where it differs from the
// template's.
std::string LongestText(int dialog, const ControlTemplate& c) {
    static const std::map<std::pair<int, int>, std::string> runtime = {
        {{IDD_TAV_DIALOG, IDC_SINGLE}, "Single Output"},
        {{IDD_TAV_DIALOG, IDC_ORIGINAL_LABEL}, "Original Output"},
        {{IDD_TAV_DIALOG, IDC_NEW_LABEL}, "New Output"},
        {{IDD_TAV_DIALOG, IDC_REMAP_GROUP}, "Select Remap Outputs"},
        {{IDD_ABOUTBOX, IDC_RELEASE}, "Release 7.1.0"},
        {{IDD_FILE, fw::IDOK}, "Select"},
    };
    const auto it = runtime.find({dialog, c.id});
    return it != runtime.end() ? it->second : c.text;
}

TEST_P(EveryDialog, TextsFitTheirControls) {
    for (const ControlTemplate& c : D().controls) {
        const std::string text = LongestText(D().id, c);
        const double need = TextWidth(text);
        const int width = c.rect.Width();
        switch (c.kind) {
            case ControlKind::Static:
                if (c.rect.Height() >= 16) {
                    // Wrapping text: the lines it has room for, with slack for word breaks.
                    const int lines = c.rect.Height() / 8;
                    EXPECT_LE(need, 0.8 * width * lines) << "dialog " << D().id << ": " << text;
                } else {
                    EXPECT_GE(c.rect.Height(), 8) << "dialog " << D().id << ": " << text;
                    EXPECT_LE(need, width) << "dialog " << D().id << ": " << text;
                }
                break;
            case ControlKind::RadioButton:
            case ControlKind::CheckBox:
                EXPECT_GE(c.rect.Height(), 10) << "dialog " << D().id << ": " << text;
                EXPECT_LE(need + 12, width) << "dialog " << D().id << ": " << text;
                break;
            case ControlKind::PushButton:
            case ControlKind::DefPushButton:
                EXPECT_GE(c.rect.Height(), 14) << "dialog " << D().id << ": " << text;
                EXPECT_LE(need + 8, width) << "dialog " << D().id << ": " << text;
                break;
            case ControlKind::GroupBox:
                EXPECT_LE(need + 10, width) << "dialog " << D().id << ": " << text;
                break;
            case ControlKind::Edit:
            case ControlKind::DropDownList:
            case ControlKind::DropDownCombo:
                EXPECT_GE(c.rect.Height(), 12) << "dialog " << D().id << ": " << Describe(c);
                break;
            default:
                break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, EveryDialog, testing::ValuesIn(kAllDialogs),
                         [](const testing::TestParamInfo<int>& p) {
                             return "Dialog" + std::to_string(p.param);
                         });

// ---------------------------------------------------------------------------------------------
// The controls each dialog's code relies on.

struct ExpectedControl {
    int dialog;
    int id;
    ControlKind kind;
    const char* text;
    std::uint32_t required = 0;   // style bits that must be set
    std::uint32_t forbidden = 0;  // style bits that must be clear
};

constexpr std::uint32_t kOff = fw::kDisabled;

const ExpectedControl kControls[] = {
    // Main window: only the I/O type, the Close button and the two group boxes start enabled.
    {102, 1002, ControlKind::RadioButton, "INPUT", fw::kGroup, kOff},
    {102, 1020, ControlKind::RadioButton, "OUTPUT", 0, kOff | fw::kGroup},
    {102, 1001, ControlKind::Static, "Switcher", kOff},
    {102, 1005, ControlKind::DropDownList, "", kOff, fw::kSorted},
    {102, 1008, ControlKind::Static, "Level", kOff},
    {102, 1007, ControlKind::DropDownList, "", kOff, fw::kSorted},
    {102, 1015, ControlKind::Static, "Range:", kOff},
    {102, 1004, ControlKind::RadioButton, "Single ", kOff | fw::kGroup},
    {102, 1006, ControlKind::RadioButton, "Whole Board", kOff, fw::kGroup},
    {102, 1050, ControlKind::GroupBox, "", 0, kOff},
    {102, 1016, ControlKind::Static, "Original ", kOff},
    {102, 1026, ControlKind::Edit, "", kOff, fw::kReadOnly},
    {102, 1021, ControlKind::Static, "Range", kOff},
    {102, 1011, ControlKind::DropDownCombo, "", kOff, fw::kSorted},
    {102, 1017, ControlKind::Static, "New ", kOff},
    {102, 1009, ControlKind::DropDownList, "", kOff, fw::kSorted},
    {102, 1022, ControlKind::Static, "Range", kOff},
    {102, 1012, ControlKind::DropDownCombo, "", kOff, fw::kSorted},
    {102, 1018, ControlKind::GroupBox, "Comment:", kOff},
    {102, 1013, ControlKind::MultiLineEdit, "", kOff | fw::kNoWantReturn, fw::kReadOnly},
    {102, 1000, ControlKind::DefPushButton, "&Remap", kOff},
    {102, 1019, ControlKind::PushButton, "&Close", 0, kOff},
    // About box.
    {100, 1053, ControlKind::Static, ""},
    {100, 1, ControlKind::DefPushButton, "OK", 0, kOff},
    // Confirmations.
    {131, 1, ControlKind::DefPushButton, "&Proceed", 0, kOff},
    {131, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    {133, 1, ControlKind::DefPushButton, "&Proceed", 0, kOff},
    {133, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    // System Definition: the idle buttons wait for a row click.
    {134, 1022, ControlKind::GridPlaceholder, ""},
    {134, 1016, ControlKind::PushButton, "&Idle Inputs", kOff},
    {134, 1015, ControlKind::PushButton, "I&dle Outputs", kOff},
    {134, 1017, ControlKind::PushButton, "&Print", 0, kOff},
    {134, 1, ControlKind::DefPushButton, "&OK", 0, kOff},
    {134, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    // Idle ports.
    {137, 1022, ControlKind::GridPlaceholder, ""},
    {137, 1, ControlKind::DefPushButton, "&OK", 0, kOff},
    {137, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    // File dialog: only the type radios and Cancel work until a type is chosen.
    {138, 1002, ControlKind::RadioButton, "Input", fw::kGroup, kOff},
    {138, 1020, ControlKind::RadioButton, "Output", 0, kOff | fw::kGroup},
    {138, 1029, ControlKind::ListBox, "", kOff | fw::kSorted | fw::kMultiColumn},
    {138, 1031, ControlKind::Static, "File &name:", kOff},
    {138, 1030, ControlKind::Edit, "", kOff, fw::kReadOnly},
    {138, 1034, ControlKind::Static, "Save as &type:", kOff},
    {138, 1035, ControlKind::DropDownList, "", kOff, fw::kSorted},
    {138, 1, ControlKind::DefPushButton, "OK", kOff},
    {138, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    // Progress window: lists keep the order boards are added in; OK waits for the end.
    {139, 1049, ControlKind::ListBox, "", fw::kVScroll, fw::kSorted | kOff},
    {139, 1050, ControlKind::ListBox, "", fw::kVScroll, fw::kSorted | kOff},
    {139, 1051, ControlKind::Edit, "", fw::kReadOnly},
    {139, 1052, ControlKind::Edit, "", fw::kReadOnly},
    {139, 1, ControlKind::DefPushButton, "OK", kOff},
    // Print chooser: neither type chosen, Print off.
    {140, 1002, ControlKind::RadioButton, "Input Remap Table", fw::kGroup, kOff},
    {140, 1020, ControlKind::RadioButton, "Output Remap Table", 0, kOff | fw::kGroup},
    {140, 1, ControlKind::DefPushButton, "&Print", kOff},
    {140, 2, ControlKind::PushButton, "&Cancel", 0, kOff},
    // Remap table view.
    {141, 1022, ControlKind::GridPlaceholder, ""},
    {141, 3, ControlKind::PushButton, "&Restore", kOff},
    {141, 4, ControlKind::PushButton, "Restore &All", kOff},
    {141, 1028, ControlKind::PushButton, "&Print", kOff},
    {141, 2, ControlKind::PushButton, "&Close", 0, kOff},
    // Error dialog.
    {143, 1043, ControlKind::Static, ""},
    {143, 1041, ControlKind::MultiLineEdit, "", fw::kReadOnly | fw::kVScroll, kOff},
    {143, 1042, ControlKind::PushButton, "&DETAIL", 0, kOff},
    {143, 1, ControlKind::DefPushButton, "&OK", 0, kOff},
};

void PrintTo(const ExpectedControl& e, std::ostream* os) {
    *os << "dialog " << e.dialog << " control " << e.id;
}

class DialogControl : public testing::TestWithParam<ExpectedControl> {};

TEST_P(DialogControl, HasKindTextAndInitialState) {
    const ExpectedControl& e = GetParam();
    const ControlTemplate* c = Dlg(e.dialog).FindControl(e.id);
    ASSERT_NE(c, nullptr) << "dialog " << e.dialog << " lacks control " << e.id;
    EXPECT_EQ(c->kind, e.kind) << "dialog " << e.dialog << " control " << e.id;
    EXPECT_EQ(c->text, e.text) << "dialog " << e.dialog << " control " << e.id;
    EXPECT_EQ(c->style & e.required, e.required)
        << "dialog " << e.dialog << " control " << e.id << " style " << c->style;
    EXPECT_EQ(c->style & e.forbidden, 0u)
        << "dialog " << e.dialog << " control " << e.id << " style " << c->style;
}

INSTANTIATE_TEST_SUITE_P(Table, DialogControl, testing::ValuesIn(kControls),
                         [](const testing::TestParamInfo<ExpectedControl>& p) {
                             return "Dialog" + std::to_string(p.param.dialog) + "_Control" +
                                    std::to_string(p.param.id);
                         });

// Every named control of the templates is in the table above, so nothing the code does not know
// about slips in and nothing the code needs is left unchecked.
TEST(DialogControls, EveryNamedControlIsAccountedFor) {
    std::set<std::pair<int, int>> expected;
    for (const ExpectedControl& e : kControls) {
        expected.insert({e.dialog, e.id});
    }
    for (const DialogTemplate& d : tav::TavResources().dialogs) {
        for (const ControlTemplate& c : d.controls) {
            if (c.id != IDC_STATIC) {
                EXPECT_TRUE(expected.count({d.id, c.id}))
                    << "dialog " << d.id << " has unexpected " << Describe(c);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Titles, sizes and window styles.

TEST(DialogTitles, AreTheProductTitles) {
    const std::map<int, std::string> titles = {
        {100, "About TAV"},
        {102, "Tavora"},
        {131, "Tavora - REMAP"},
        {133, "Tavora - RESTORE"},
        {134, "System Definition"},
        {137, ""},  // set to "Idle Inputs - <switcher> - <level>" when it opens
        {138, ""},  // "Save As" or "Select Remap Table", set when it opens
        {139, "Send Remap Data..."},
        {140, "Print Remap Table"},
        {141, ""},  // names the table, set when it opens
        {143, "Error"},
        {145, "Tavora"},
    };
    for (const auto& [id, title] : titles) {
        EXPECT_EQ(Dlg(id).title, title) << "dialog " << id;
    }
}

TEST(MainDialog, IsTheAppWindowWithMenu128) {
    const DialogTemplate& d = Dlg(IDD_TAV_DIALOG);
    EXPECT_EQ(d.menuId, 128);
    EXPECT_TRUE(d.style & fw::kAppWindow);
    EXPECT_TRUE(d.style & fw::kSysMenu);
    EXPECT_TRUE(d.style & fw::kMinimizeBox);
}

TEST(MainDialog, HasTheIoTypeLabelAndSwitcherGroup) {
    const DialogTemplate& d = Dlg(IDD_TAV_DIALOG);
    const ControlTemplate* label = FindByText(d, ControlKind::Static, "Remap I/O Type:");
    ASSERT_NE(label, nullptr);
    const ControlTemplate* group =
        FindByText(d, ControlKind::GroupBox, "Select switcher and level");
    ASSERT_NE(group, nullptr);
    for (int id : {IDC_SWITCHER_LABEL, IDC_SWITCHER, IDC_LEVEL_LABEL, IDC_LEVEL}) {
        EXPECT_TRUE(group->rect.ContainsRect(d.FindControl(id)->rect)) << id;
    }
    for (int id :
         {IDC_ORIGINAL_LABEL, IDC_ORIGINAL_NUMBER, IDC_ORIGINAL_RANGE_LABEL, IDC_ORIGINAL_RANGE,
          IDC_NEW_LABEL, IDC_NEW_NUMBER, IDC_NEW_RANGE_LABEL, IDC_NEW_RANGE}) {
        EXPECT_TRUE(d.FindControl(IDC_REMAP_GROUP)->rect.ContainsRect(d.FindControl(id)->rect))
            << id;
    }
    EXPECT_TRUE(
        d.FindControl(IDC_COMMENT_GROUP)->rect.ContainsRect(d.FindControl(IDC_COMMENT)->rect));
}

TEST(MainDialog, LeavesTheBottomStripToTheStatusBar) {
    const DialogTemplate& d = Dlg(IDD_TAV_DIALOG);
    for (const ControlTemplate& c : d.controls) {
        EXPECT_LE(c.rect.bottom, d.rect.Height() - 14) << Describe(c);
    }
}

// Radio groups as the framework forms them: a group runs from a control with kGroup up to the
// next one.
std::vector<std::vector<int>> RadioGroups(const DialogTemplate& d) {
    std::vector<std::vector<int>> groups;
    std::vector<int> current;
    for (const ControlTemplate& c : d.controls) {
        if ((c.style & fw::kGroup) && !current.empty()) {
            groups.push_back(current);
            current.clear();
        }
        if (c.kind == ControlKind::RadioButton) {
            current.push_back(c.id);
        }
    }
    if (!current.empty()) {
        groups.push_back(current);
    }
    return groups;
}

TEST(RadioGroups, PairTheRightButtons) {
    using Groups = std::vector<std::vector<int>>;
    EXPECT_EQ(RadioGroups(Dlg(IDD_TAV_DIALOG)), (Groups{{1002, 1020}, {1004, 1006}}));
    EXPECT_EQ(RadioGroups(Dlg(IDD_FILE)), (Groups{{1002, 1020}}));
    EXPECT_EQ(RadioGroups(Dlg(IDD_PRINT_CHOICE)), (Groups{{1002, 1020}}));
    for (int id : {100, 131, 133, 134, 137, 139, 141, 143, 145}) {
        EXPECT_TRUE(RadioGroups(Dlg(id)).empty()) << id;
    }
}

TEST(FileDialog, Is190By105) {
    EXPECT_EQ(Dlg(IDD_FILE).rect.Width(), 190);
    EXPECT_EQ(Dlg(IDD_FILE).rect.Height(), 105);
}

TEST(GridPlaceholders, SitWhereTheGridsGo) {
    EXPECT_EQ(Dlg(IDD_SYSDEF).FindControl(IDC_GRID)->rect, (fw::Rect{5, 5, 5 + 234, 5 + 89}));
    EXPECT_EQ(Dlg(IDD_IDLE).FindControl(IDC_GRID)->rect, (fw::Rect{7, 6, 7 + 119, 6 + 92}));
    // The remap table view's grid fills the upper part, above every button.
    const DialogTemplate& view = Dlg(IDD_REMAP_TABLE);
    const fw::Rect grid = view.FindControl(IDC_GRID)->rect;
    EXPECT_GE(grid.Width(), view.rect.Width() * 9 / 10);
    for (const ControlTemplate& c : view.controls) {
        if (c.kind == ControlKind::PushButton) {
            EXPECT_GE(c.rect.top, grid.bottom) << Describe(c);
        }
    }
}

TEST(RemapTableView, HasSystemMenuAndMinimizeBox) {
    const std::uint32_t style = Dlg(IDD_REMAP_TABLE).style;
    EXPECT_TRUE(style & fw::kSysMenu);
    EXPECT_TRUE(style & fw::kMinimizeBox);
}

TEST(ProgressWindow, HasNoSystemMenu) {
    EXPECT_FALSE(Dlg(IDD_SEND_REMAP_DATA).style & fw::kSysMenu);
    const DialogTemplate& d = Dlg(IDD_SEND_REMAP_DATA);
    EXPECT_NE(FindByText(d, ControlKind::Static, "Send Notification to Board:"), nullptr);
    EXPECT_NE(FindByText(d, ControlKind::Static, "Receive response from board:"), nullptr);
    // Each list has its "Total:" label and count below it.
    const fw::Rect sent = d.FindControl(IDC_SENT_LIST)->rect;
    const fw::Rect received = d.FindControl(IDC_RESPONSE_LIST)->rect;
    EXPECT_GE(d.FindControl(IDC_SENT_TOTAL)->rect.top, sent.bottom);
    EXPECT_GE(d.FindControl(IDC_RESPONSE_TOTAL)->rect.top, received.bottom);
    int totals = 0;
    for (const ControlTemplate& c : d.controls) {
        totals += c.kind == ControlKind::Static && c.text == "Total:" ? 1 : 0;
    }
    EXPECT_EQ(totals, 2);
}

TEST(Confirmations, AskTheirQuestionWithAnIcon) {
    const struct {
        int id;
        const char* question;
    } cases[] = {{131, "Are you sure you want to remap?"},
                 {133, "Are you sure you want to restore?"}};
    for (const auto& c : cases) {
        EXPECT_NE(FindByText(Dlg(c.id), ControlKind::Static, c.question), nullptr) << c.id;
        EXPECT_NE(FindByText(Dlg(c.id), ControlKind::Icon, "128"), nullptr) << c.id;
    }
}

TEST(AboutBox, ShowsIconNameAndReleaseLine) {
    const DialogTemplate& d = Dlg(IDD_ABOUTBOX);
    EXPECT_NE(FindByText(d, ControlKind::Icon, "128"), nullptr);
    EXPECT_NE(FindByText(d, ControlKind::Static, "Tavora"), nullptr);
}

TEST(PleaseWait, ShowsIconAndText) {
    const DialogTemplate& d = Dlg(IDD_WAIT);
    EXPECT_NE(FindByText(d, ControlKind::Icon, "128"), nullptr);
    EXPECT_NE(FindByText(d, ControlKind::Static,
                         "Please wait while the Tavora program is connecting to the Corvane "
                         "Configuration Server."),
              nullptr);
}

// The error dialog opens at half its window height. Caption and borders take about 16 dialog
// units of the window, so at half height the client shows height / 2 - 8 units: the message, the
// icon and both buttons must fit there, and the detail edit must lie wholly below it.
TEST(ErrorDialog, UpperHalfShowsMessageAndButtonsLowerHalfHidesDetail) {
    const DialogTemplate& d = Dlg(IDD_ERROR);
    const int visibleAtHalf = d.rect.Height() / 2 - 8;
    for (const ControlTemplate& c : d.controls) {
        if (c.id == IDC_ERROR_DETAIL) {
            EXPECT_GE(c.rect.top, visibleAtHalf + 4) << Describe(c);
        } else {
            EXPECT_LE(c.rect.bottom, visibleAtHalf - 2) << Describe(c);
        }
    }
    EXPECT_NE(FindByText(d, ControlKind::Icon, "128"), nullptr);
    EXPECT_LT(d.FindControl(IDC_ERROR_MESSAGE)->rect.top, d.FindControl(fw::IDOK)->rect.top);
}

}  // namespace
