// The user's actions on the widgets reach the framework's handlers, as the platform's would.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "qt_fixture.h"

namespace qttest {
namespace {

using fw::BN_CLICKED;

class UserActionTest : public QtTest {
  protected:
    UserActionTest() {
        EXPECT_TRUE(dialog.Create(kFormDialog));
        dialog.ShowWindow(fw::SW_SHOW);
    }
    fw::Control& Ctl(int id) { return *dialog.GetDlgItem(id); }
    QWidget* Top() { return Backend().PeerWidget(dialog); }
    void Click(int id) { QTest::mouseClick(Widget(dialog, id), Qt::LeftButton); }
    // Activates the window and moves the framework's focus to control id.
    void FocusOn(int id) {
        Top()->activateWindow();
        QApplication::processEvents();
        Ctl(id).SetFocus();
        Backend().ProcessPendingEvents();
    }
    RecordingDialog dialog{kFormDialog};
};

TEST_F(UserActionTest, ButtonClickReachesTheHandlerUnlessDisabled) {
    WidgetAs<QPushButton>(dialog, kApply)->click();
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 1);
    Click(fw::IDCANCEL);
    EXPECT_EQ(dialog.Count(fw::IDCANCEL, BN_CLICKED), 1);
    Ctl(kApply).EnableWindow(fw::FALSE);
    Click(kApply);
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 1);
}

TEST_F(UserActionTest, RadioButtonsFollowTheFrameworksGroupAndCheckBoxesToggle) {
    auto* one = WidgetAs<QRadioButton>(dialog, kRadio1);
    auto* two = WidgetAs<QRadioButton>(dialog, kRadio2);
    one->click();
    EXPECT_EQ(Ctl(kRadio1).GetCheck(), 1);
    EXPECT_TRUE(one->isChecked());
    two->click();
    EXPECT_EQ(Ctl(kRadio1).GetCheck(), 0);
    EXPECT_EQ(Ctl(kRadio2).GetCheck(), 1);
    EXPECT_FALSE(one->isChecked());
    EXPECT_TRUE(two->isChecked());
    // Clicking a checked radio button leaves it checked.
    two->click();
    EXPECT_TRUE(two->isChecked());
    EXPECT_EQ(Ctl(kRadio2).GetCheck(), 1);
    EXPECT_EQ(dialog.Count(kRadio2, BN_CLICKED), 2);

    auto* check = WidgetAs<QCheckBox>(dialog, kCheck);
    check->click();
    EXPECT_EQ(Ctl(kCheck).GetCheck(), 1);
    check->click();
    EXPECT_EQ(Ctl(kCheck).GetCheck(), 0);
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(dialog.Count(kCheck, BN_CLICKED), 2);
}

TEST_F(UserActionTest, ArrowKeysMoveThroughARadioGroupAndChooseAsTheyGo) {
    FocusOn(kRadio1);
    QTest::keyClick(Widget(dialog, kRadio1), Qt::Key_Right);
    EXPECT_EQ(Ctl(kRadio2).GetCheck(), 1);
    EXPECT_EQ(dialog.Count(kRadio2, BN_CLICKED), 1);
    EXPECT_TRUE(Ctl(kRadio2).HasFocus());
    EXPECT_EQ(QApplication::focusWidget(), Widget(dialog, kRadio2));
    // The group wraps round and ends where the next group starts (the check box).
    QTest::keyClick(Widget(dialog, kRadio2), Qt::Key_Down);
    EXPECT_EQ(Ctl(kRadio1).GetCheck(), 1);
    EXPECT_EQ(Ctl(kRadio2).GetCheck(), 0);
    EXPECT_EQ(Ctl(kCheck).GetCheck(), 0);
    // A disabled button is passed over.
    Ctl(kRadio2).EnableWindow(fw::FALSE);
    QTest::keyClick(Widget(dialog, kRadio1), Qt::Key_Up);
    EXPECT_EQ(Ctl(kRadio1).GetCheck(), 1);
    EXPECT_EQ(dialog.Count(kRadio2, BN_CLICKED), 1);
}

TEST_F(UserActionTest, TypingChangesTheEditUnlessReadOnly) {
    QTest::keyClicks(Widget(dialog, kEdit), "42");
    EXPECT_EQ(dialog.GetDlgItemText(kEdit), "42");
    EXPECT_EQ(dialog.Count(kEdit, fw::EN_CHANGE), 2);
    QTest::keyClicks(Widget(dialog, kMultiEdit), "ab");
    EXPECT_EQ(dialog.GetDlgItemText(kMultiEdit), "ab");
    EXPECT_EQ(dialog.Count(kMultiEdit, fw::EN_CHANGE), 2);
    Ctl(kEdit).SetReadOnly(true);
    QTest::keyClicks(Widget(dialog, kEdit), "x");
    EXPECT_EQ(dialog.GetDlgItemText(kEdit), "42");
    EXPECT_EQ(dialog.Count(kEdit, fw::EN_CHANGE), 2);
}

TEST_F(UserActionTest, ComboSelectionAndTyping) {
    for (const char* item : {"alpha", "beta"}) {
        Ctl(kDropList).AddString(item);
        Ctl(kCombo).AddString(item);
    }
    auto* drop = WidgetAs<QComboBox>(dialog, kDropList);
    QTest::keyClick(drop, Qt::Key_Down);
    EXPECT_EQ(Ctl(kDropList).GetCurSel(), 0);
    QTest::keyClick(drop, Qt::Key_Down);
    EXPECT_EQ(Ctl(kDropList).GetCurSel(), 1);
    EXPECT_EQ(dialog.Count(kDropList, fw::CBN_SELCHANGE), 2);
    EXPECT_EQ(Ctl(kDropList).GetWindowText(), "beta");

    auto* combo = WidgetAs<QComboBox>(dialog, kCombo);
    QTest::keyClicks(combo->lineEdit(), "xy");
    EXPECT_EQ(Ctl(kCombo).GetWindowText(), "xy");
    EXPECT_EQ(dialog.Count(kCombo, fw::CBN_EDITCHANGE), 2);
    EXPECT_EQ(combo->currentText(), "xy");
}

TEST_F(UserActionTest, DropDownLetsTheProgramFillTheListFirst) {
    dialog.onCommand = [this](fw::UINT id, fw::UINT code) {
        if (id == static_cast<fw::UINT>(kDropList) && code == fw::CBN_DROPDOWN) {
            Ctl(kDropList).AddString("filled");
        }
    };
    auto* drop = WidgetAs<QComboBox>(dialog, kDropList);
    drop->showPopup();
    EXPECT_EQ(dialog.Count(kDropList, fw::CBN_DROPDOWN), 1);
    EXPECT_EQ(drop->count(), 1);
    drop->hidePopup();
}

TEST_F(UserActionTest, ListSelectionByMouseAndKeyboard) {
    for (const char* item : {"one", "two", "three"}) {
        Ctl(kList).AddString(item);
    }
    auto* list = WidgetAs<QListWidget>(dialog, kList);
    QApplication::processEvents();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(Ctl(kList).GetCurSel(), 2);
    EXPECT_EQ(dialog.Count(kList, fw::LBN_SELCHANGE), 1);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(Ctl(kList).GetCurSel(), 1);
    EXPECT_EQ(dialog.Count(kList, fw::LBN_SELCHANGE), 2);
}

TEST_F(UserActionTest, EnterPressesTheDefaultOrFocusedButtonEscapeCancels) {
    QTest::keyClick(Widget(dialog, kEdit), Qt::Key_Return);
    EXPECT_EQ(dialog.Count(fw::IDOK, BN_CLICKED), 1);
    QTest::keyClick(Widget(dialog, kApply), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 1);
    EXPECT_EQ(dialog.Count(fw::IDOK, BN_CLICKED), 1);
    // A multi-line edit that does not want Enter passes it to the dialog.
    QTest::keyClick(Widget(dialog, kCommentEdit), Qt::Key_Return);
    EXPECT_EQ(dialog.Count(fw::IDOK, BN_CLICKED), 2);
    EXPECT_EQ(dialog.GetDlgItemText(kCommentEdit), "");
    // One that does takes it as a new line.
    QTest::keyClicks(Widget(dialog, kMultiEdit), "a");
    QTest::keyClick(Widget(dialog, kMultiEdit), Qt::Key_Return);
    QTest::keyClicks(Widget(dialog, kMultiEdit), "b");
    EXPECT_EQ(dialog.GetDlgItemText(kMultiEdit), "a\r\nb");
    EXPECT_EQ(dialog.Count(fw::IDOK, BN_CLICKED), 2);
    QTest::keyClick(Widget(dialog, kEdit), Qt::Key_Escape);
    EXPECT_EQ(dialog.Count(fw::IDCANCEL, BN_CLICKED), 1);
}

TEST_F(UserActionTest, CloseBoxAsksTheFrameworkAndMenuItemsSendTheirCommands) {
    Top()->close();
    EXPECT_EQ(dialog.closes, 1);
    // The framework decided to keep the window, so it stays.
    EXPECT_TRUE(Top()->isVisible());
    auto* bar = Top()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QMenu* file = bar->actions()[0]->menu();
    file->actions()[0]->trigger();
    EXPECT_EQ(dialog.Count(kMenuOpen, 0), 1);
    file->actions()[1]->trigger();  // greyed
    EXPECT_EQ(dialog.Count(kMenuGrey, 0), 0);
}

TEST_F(UserActionTest, DisabledWindowTakesNoInput) {
    dialog.EnableWindow(fw::FALSE);
    Click(kApply);
    QTest::keyClicks(Widget(dialog, kEdit), "x");
    QTest::keyClick(Widget(dialog, kEdit), Qt::Key_Escape);
    Top()->close();
    EXPECT_TRUE(dialog.commands.empty());
    EXPECT_EQ(dialog.closes, 0);
    dialog.EnableWindow(fw::TRUE);
    Click(kApply);
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 1);
}

TEST_F(UserActionTest, MnemonicOfADisabledWindowDoesNothing) {
    Top()->activateWindow();
    Widget(dialog, kEdit)->setFocus();
    QApplication::processEvents();
    ASSERT_NE(Top()->windowHandle(), nullptr);
    for (const fw::BOOL enabled : {fw::FALSE, fw::TRUE}) {
        dialog.EnableWindow(enabled);
        QTest::keyClick(Top()->windowHandle(), Qt::Key_A, Qt::AltModifier);
        QTest::qWait(300);  // a mnemonic presses its button with a short animation
        EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), enabled ? 1 : 0);
    }
}

TEST_F(UserActionTest, ModalLoopTakesTheInputFromOlderWindows) {
    RecordingDialog modal(kOtherDialog);
    ASSERT_TRUE(modal.Create(kOtherDialog));
    modal.onCommand = [&modal](fw::UINT id, fw::UINT) {
        if (id == static_cast<fw::UINT>(kOtherButton)) {
            modal.EndModalLoop(5);
        }
    };
    QTimer::singleShot(0, [&] {
        Click(kApply);
        QTest::mouseClick(Widget(modal, kOtherButton), Qt::LeftButton);
    });
    QTimer::singleShot(5000, [&] { modal.EndModalLoop(-99); });
    EXPECT_EQ(modal.RunModalLoop(), 5);
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 0);
    Click(kApply);
    EXPECT_EQ(dialog.Count(kApply, BN_CLICKED), 1);
}

TEST_F(UserActionTest, ProgramFocusMovesTheQtFocusAndWinsAgainAfterTheUserMovedAway) {
    FocusOn(kApply);
    EXPECT_EQ(Top()->focusWidget(), Widget(dialog, kApply));
    FocusOn(kEdit);
    ASSERT_EQ(Top()->focusWidget(), Widget(dialog, kEdit));
    // The user tabs away; the framework's focus follows.
    Widget(dialog, kApply)->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(Ctl(kApply).HasFocus());
    // A click whose handler puts the focus back into the edit, as "focus to the original
    // number" does.
    dialog.onCommand = [this](fw::UINT id, fw::UINT) {
        if (id == static_cast<fw::UINT>(kRadio1)) {
            Ctl(kEdit).SetFocus();
        }
    };
    Click(kRadio1);
    EXPECT_EQ(Top()->focusWidget(), Widget(dialog, kEdit));
}

TEST_F(UserActionTest, ButtonThatEndsTheDialogDestroysItSafely) {
    auto modal = std::make_unique<RecordingDialog>(kOtherDialog);
    ASSERT_TRUE(modal->Create(kOtherDialog));
    modal->onCommand = [&modal](fw::UINT id, fw::UINT) {
        if (id == static_cast<fw::UINT>(kOtherButton)) {
            modal->DestroyWindow();
        }
    };
    QPointer<QWidget> top = Backend().PeerWidget(*modal);
    QTest::mouseClick(Widget(*modal, kOtherButton), Qt::LeftButton);
    EXPECT_FALSE(modal->IsCreated());
    ASSERT_FALSE(top.isNull());  // kept until the widget is off the stack
    EXPECT_FALSE(top->isVisible());
    Backend().ProcessPendingEvents();
    EXPECT_TRUE(top.isNull());
}

}  // namespace
}  // namespace qttest
