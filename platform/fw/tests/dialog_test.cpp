// Dialogs from templates: creation, end codes, keys, menus and command routing, geometry.
#include "platform/fw/tests/fw_fixture.h"

namespace fwtest {
namespace {

using headless::Item;

class DialogTest : public FwTest {};

TEST_F(DialogTest, ControlsComeFromTheTemplateInPixels) {
    fw::CDialog dlg(kFormDialog);
    ASSERT_TRUE(dlg.Create(kFormDialog));
    EXPECT_EQ(dlg.GetWindowText(), "Form");
    EXPECT_EQ(dlg.Controls().size(), resources.FindDialog(kFormDialog)->controls.size());
    fw::Rect client;
    dlg.GetClientRect(&client);
    EXPECT_EQ(client, (fw::Rect{0, 0, 300, 195}));  // 200 x 120 units at 6 x 13 base units
    fw::Rect edit;
    Item(dlg, kEdit).GetWindowRect(&edit);
    fw::Rect window;
    dlg.GetWindowRect(&window);
    EXPECT_EQ(edit.left - window.left, 7);  // 5 units
    EXPECT_EQ(edit.Width(), 143);           // 7 to 150
    EXPECT_FALSE(Item(dlg, kDisabledButton).IsWindowEnabled());
    EXPECT_FALSE(dlg.IsWindowVisible());  // modeless and not asked to show
}

TEST_F(DialogTest, UnknownTemplateFailsToCreate) {
    fw::CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_FALSE(dlg.Create(9999));
}

struct EndCase {
    const char* name;
    std::function<void(fw::CDialog&)> act;
    int expected;
};

TEST_F(DialogTest, EndCodes) {
    const std::vector<EndCase> cases = {
        {"OK button", [](fw::CDialog& d) { Item(d, fw::IDOK).UserClick(); }, fw::IDOK},
        {"Cancel button", [](fw::CDialog& d) { Item(d, fw::IDCANCEL).UserClick(); }, fw::IDCANCEL},
        {"Enter presses the default button", [](fw::CDialog& d) { d.UserPressEnter(); }, fw::IDOK},
        {"Escape cancels", [](fw::CDialog& d) { d.UserPressEscape(); }, fw::IDCANCEL},
        {"close box cancels", [](fw::CDialog& d) { d.UserClose(); }, fw::IDCANCEL},
        {"EndDialog with any code", [](fw::CDialog& d) { d.EndDialog(77); }, 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw::CDialog dlg(kFormDialog);
        driver.Then([&](fw::CWnd& w) { c.act(dynamic_cast<fw::CDialog&>(w)); });
        EXPECT_EQ(dlg.DoModal(), c.expected);
        EXPECT_FALSE(dlg.IsCreated());
    }
    const auto& lines = backend.GetTranscript().Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], R"(open 500 "Form")");
    EXPECT_EQ(lines[1], R"(close 500 "Form")");
}

TEST_F(DialogTest, EnterDoesNothingWhileTheDefaultButtonIsDisabled) {
    fw::CDialog dlg(kFormDialog);
    driver.Then([](fw::CWnd& w) {
        Item(w, fw::IDOK).EnableWindow(fw::FALSE);
        dynamic_cast<fw::CDialog&>(w).UserPressEnter();
    });
    driver.Then([](fw::CWnd& w) { dynamic_cast<fw::CDialog&>(w).UserPressEscape(); });
    EXPECT_EQ(dlg.DoModal(), fw::IDCANCEL);
}

class CommandDialog : public fw::CDialog {
  public:
    CommandDialog() : CDialog(kFormDialog) {
        MapCommand(kMenuOpen, 0, [this] { ++opened; });
    }
    int opened = 0;
};

class CommandApp : public fw::CWinApp {
  public:
    CommandApp() : CWinApp("testapp") {
        MapAppCommand(kMenuAppOnly, &CommandApp::OnAppOnly);
        MapAppCommand(kMenuOpen, &CommandApp::OnAppOnly);
    }
    void OnAppOnly() { ++appCommands; }
    int appCommands = 0;
};

TEST_F(DialogTest, MenuCommandsGoToTheWindowFirstThenTheApplication) {
    CommandApp app;
    CommandDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    app.m_pMainWnd = &dlg;
    dlg.UserCommand(kMenuOpen);     // the window handles it; the application never sees it
    dlg.UserCommand(kMenuAppOnly);  // only the application handles it
    dlg.UserCommand(kMenuGrey);     // greyed: nothing
    EXPECT_EQ(dlg.opened, 1);
    EXPECT_EQ(app.appCommands, 1);
}

TEST_F(DialogTest, ExitAsksTheMainWindowToClose) {
    CommandApp app;
    fw::CDialog dlg(kFormDialog);
    driver.Then([&](fw::CWnd& w) {
        app.m_pMainWnd = &w;
        w.UserCommand(fw::ID_APP_EXIT);
    });
    EXPECT_EQ(dlg.DoModal(), fw::IDCANCEL);
}

TEST_F(DialogTest, CentringAndPlacementUseTheScreenMetrics) {
    backend.SetScreenSize(1000, 800);
    fw::CDialog dlg(kOtherDialog);
    ASSERT_TRUE(dlg.Create(kOtherDialog));
    dlg.CenterWindow();
    fw::Rect r;
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r, (fw::Rect{425, 359, 575, 440}));
    dlg.SetWindowPos(fw::HWND_TOP, 0, 0, 150, 40, fw::SWP_NOMOVE | fw::SWP_SHOWWINDOW);
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r, (fw::Rect{425, 359, 575, 399}));
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST_F(DialogTest, SortedListsKeepCaseInsensitiveOrderAndTrackTheSelection) {
    fw::CDialog dlg(kFormDialog);
    ASSERT_TRUE(dlg.Create(kFormDialog));
    auto& sorted = Item(dlg, kSorted);
    for (const char* name : {"tav.oxt", "B.IXT", "a.ixt"}) {
        sorted.AddString(name);
    }
    EXPECT_EQ(sorted.Items(), (std::vector<std::string>{"a.ixt", "B.IXT", "tav.oxt"}));
    sorted.SetCurSel(1);
    sorted.AddString("A0");
    EXPECT_EQ(sorted.GetItemText(sorted.GetCurSel()), "B.IXT");
    EXPECT_EQ(sorted.FindStringExact(-1, "b.ixt"), 2);
    auto& unsortedList = Item(dlg, kList);
    unsortedList.AddString("z");
    unsortedList.AddString("a");
    EXPECT_EQ(unsortedList.GetItemText(0), "z");
}

TEST_F(DialogTest, SystemMenuItemsAddedAtRunTimeReachTheWindow) {
    class SysDialog : public fw::CDialog {
      public:
        SysDialog() : CDialog(kFormDialog) {}
        std::vector<fw::UINT> seen;

      protected:
        void OnSysCommand(fw::UINT id, fw::LPARAM l) override {
            seen.push_back(id);
            CDialog::OnSysCommand(id, l);
        }
    };
    resources.dialogs[0].style |= fw::kSysMenu;
    SysDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    fw::Menu* sys = dlg.GetSystemMenu(fw::FALSE);
    ASSERT_NE(sys, nullptr);
    sys->AppendSeparator();
    sys->AppendItem(16, "&About");
    dlg.UserSysCommand(16);
    dlg.UserSysCommand(17);  // not on the menu
    EXPECT_EQ(dlg.seen, std::vector<fw::UINT>{16});
}

}  // namespace
}  // namespace fwtest
