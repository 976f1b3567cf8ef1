// The platform behaviour the program depends on, one test each.
#include <thread>

#include "platform/fw/tests/fw_fixture.h"

namespace fwtest {
namespace {

using headless::Item;

// Records every notification it receives, in order.
class FormDialog : public fw::CDialog {
  public:
    explicit FormDialog(fw::CWnd* parent = nullptr) : CDialog(kFormDialog, parent) {
        MapCommand(kEdit, fw::EN_CHANGE, [this] { Log("change", kEdit); });
        for (int id : {kList, kCombo}) {
            MapCommand(id, fw::LBN_SELCHANGE, [this, id] { Log("selchange", id); });
        }
        for (int id : {kRadioA1, kRadioA2, kRadioB1, kRadioB2, kDisabledButton}) {
            MapCommand(id, fw::BN_CLICKED, [this, id] { Log("clicked", id); });
        }
        MapCommand(kMenuOpen, 0, [this] { Log("menu", kMenuOpen); });
        MapMessage(fw::WM_APP + 7, [this](fw::WPARAM w, fw::LPARAM) {
            Log("app7", static_cast<int>(w));
            return fw::LRESULT{0};
        });
    }
    std::vector<std::string> log;

  private:
    void Log(const char* what, int id) {
        log.push_back(std::string(what) + " " + std::to_string(id));
    }
};

class PlatformBehaviour : public FwTest {};

TEST_F(PlatformBehaviour, EditTextSetFromCodeNotifiesAtOnce) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    Item(dlg, kEdit).SetWindowText("12");
    EXPECT_EQ(dlg.log, std::vector<std::string>{"change 10"});
    Item(dlg, kEdit).SetWindowText("");  // emptying is a change too
    EXPECT_EQ(dlg.log.size(), 2u);
}

TEST_F(PlatformBehaviour, SelectionOrCheckSetFromCodeRaisesNothing) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    auto& list = Item(dlg, kList);
    auto& combo = Item(dlg, kCombo);
    list.AddString("a");
    combo.AddString("x");
    combo.AddString("y");
    EXPECT_EQ(list.SetCurSel(0), 0);
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), "y");
    Item(dlg, kRadioA1).SetCheck(1);
    EXPECT_TRUE(dlg.log.empty());

    // The user's selection does notify.
    combo.UserSelect(0);
    list.UserSelect(0);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"selchange 12", "selchange 11"}));
    EXPECT_EQ(combo.GetWindowText(), "x");
}

TEST_F(PlatformBehaviour, OutOfRangeSelectionClearsAndFails) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    auto& combo = Item(dlg, kCombo);
    combo.AddString("x");
    combo.SetCurSel(0);
    EXPECT_EQ(combo.SetCurSel(3), -1);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetWindowText(), "");
}

TEST_F(PlatformBehaviour, RadioButtonsOfOneGroupExcludeEachOther) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    Item(dlg, kRadioA1).UserClick();
    Item(dlg, kRadioB2).UserClick();
    Item(dlg, kRadioA2).UserClick();
    EXPECT_EQ(Item(dlg, kRadioA1).GetCheck(), 0);
    EXPECT_EQ(Item(dlg, kRadioA2).GetCheck(), 1);
    EXPECT_EQ(Item(dlg, kRadioB1).GetCheck(), 0);
    EXPECT_EQ(Item(dlg, kRadioB2).GetCheck(), 1);  // the other group keeps its choice
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"clicked 20", "clicked 23", "clicked 21"}));
}

TEST_F(PlatformBehaviour, DisabledControlsIgnoreTheUser) {
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    auto& off = Item(dlg, kDisabledButton);
    EXPECT_FALSE(off.IsWindowEnabled());
    off.UserClick();
    EXPECT_TRUE(dlg.log.empty());
    EXPECT_EQ(off.EnableWindow(fw::TRUE), fw::TRUE);  // it was disabled before
    EXPECT_EQ(off.EnableWindow(fw::TRUE), fw::FALSE);
    off.UserClick();
    EXPECT_EQ(dlg.log, std::vector<std::string>{"clicked 30"});
}

TEST_F(PlatformBehaviour, QuitEndsNestedModalLoopsOneAfterAnother) {
    FormDialog outer;
    fw::CDialog inner(kOtherDialog);
    int innerResult = 0;
    driver.Then([&](fw::CWnd&) { innerResult = inner.DoModal(); });
    driver.Then([&](fw::CWnd&) { fw::PostQuitMessage(3); });
    const int outerResult = outer.DoModal();
    EXPECT_EQ(innerResult, -1);
    EXPECT_EQ(outerResult, -1);
    // The quit is still there for the application's own loop.
    fw::Msg msg;
    ASSERT_TRUE(fw::PeekMessage(msg));
    EXPECT_EQ(msg.message, fw::WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(driver.Exhausted());
}

TEST_F(PlatformBehaviour, MessagePostedFromAnotherThreadIsDispatchedOnTheUiThread) {
    FormDialog dlg;
    const auto uiThread = std::this_thread::get_id();
    std::thread::id ranOn;
    driver.Then([&](fw::CWnd& wnd) {
        std::thread poster([hwnd = wnd.GetSafeHwnd(), &ranOn] {
            fw::PostMessage(hwnd, fw::WM_APP + 7, 42, 0);
            fw::TheMessageQueue().PostCall([&ranOn] { ranOn = std::this_thread::get_id(); });
        });
        poster.join();
        ASSERT_TRUE(fw::TheMessageQueue().WaitFor(1000));
    });
    driver.Then([](fw::CWnd& wnd) { Item(wnd, fw::IDOK).UserClick(); });
    EXPECT_EQ(dlg.DoModal(), fw::IDOK);
    EXPECT_EQ(dlg.log, std::vector<std::string>{"app7 42"});
    EXPECT_EQ(ranOn, uiThread);
}

TEST_F(PlatformBehaviour, ModelessWindowRunsAModalLoopUntilEnded) {
    fw::CDialog progress(kOtherDialog);
    ASSERT_TRUE(progress.Create(kOtherDialog));
    progress.ShowWindow(fw::SW_SHOW);
    driver.Then([](fw::CWnd& wnd) { Item(wnd, fw::IDOK).UserClick(); });
    EXPECT_EQ(progress.RunModalLoop(fw::MLF_NOIDLEMSG), fw::IDOK);
    EXPECT_TRUE(progress.IsCreated());  // ending the loop does not destroy the window
    progress.DestroyWindow();
    EXPECT_FALSE(progress.IsCreated());
}

TEST_F(PlatformBehaviour, FrameworkMessageBoxHasTheApplicationTitleAndExclamation) {
    fw::CWinApp app("tavora");
    fw::AfxMessageBox("Plain");
    fw::AfxMessageBox("Stop", fw::MB_ICONHAND);
    FormDialog dlg;
    ASSERT_TRUE(dlg.Create(kFormDialog));
    dlg.MessageBox("Own");
    dlg.MessageBox("Own with caption", "Warning", fw::MB_ICONHAND);
    fw::SystemMessageBox(nullptr, "System", nullptr, fw::MB_ICONHAND);
    const std::vector<std::string> expected = {
        R"(msgbox caption="tavora" icon=exclamation buttons=ok text="Plain" -> ok)",
        R"(msgbox caption="tavora" icon=stop buttons=ok text="Stop" -> ok)",
        R"(msgbox caption="tavora" icon=none buttons=ok text="Own" -> ok)",
        R"(msgbox caption="Warning" icon=stop buttons=ok text="Own with caption" -> ok)",
        R"(msgbox caption="Error" icon=stop buttons=ok text="System" -> ok)",
    };
    std::vector<std::string> boxes;
    for (const auto& line : backend.GetTranscript().Lines()) {
        if (line.rfind("msgbox", 0) == 0) {
            boxes.push_back(line);
        }
    }
    EXPECT_EQ(boxes, expected);
}

}  // namespace
}  // namespace fwtest
