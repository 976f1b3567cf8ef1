// Changes made by the program show in the widgets and raise no notification of their own.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <string>
#include <vector>

#include "platform/fw/window.h"
#include "platform/qt/control_widgets.h"
#include "qt_fixture.h"

namespace qttest {
namespace {

class MirrorTest : public QtTest {
  protected:
    MirrorTest() { EXPECT_TRUE(dialog.Create(kFormDialog)); }
    fw::Control& Ctl(int id) { return *dialog.GetDlgItem(id); }
    RecordingDialog dialog{kFormDialog};
};

TEST_F(MirrorTest, TitleAndStaticTexts) {
    dialog.SetWindowText("Renamed");
    EXPECT_EQ(Backend().PeerWidget(dialog)->windowTitle(), "Renamed");
    dialog.SetDlgItemText(kLabel, "&Other:");
    auto* label = WidgetAs<QLabel>(dialog, kLabel);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(fwqt::DisplayedText(label), "Other:");
    // The label's mnemonic moves the focus to the edit that follows it.
    EXPECT_EQ(label->buddy(), Widget(dialog, kEdit));
    EXPECT_EQ(WidgetAs<QLabel>(dialog, kDisabledLabel)->text(), "Off");
    dialog.SetDlgItemText(kApply, "&Go");
    EXPECT_EQ(WidgetAs<QPushButton>(dialog, kApply)->text(), "&Go");
    dialog.SetDlgItemText(kGroupBox, "Renamed group");
    EXPECT_EQ(WidgetAs<QGroupBox>(dialog, kGroupBox)->title(), "Renamed group");
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(MirrorTest, EnableShowMoveReadOnlyAndChecksRaiseNothing) {
    Ctl(kApply).EnableWindow(fw::FALSE);
    EXPECT_FALSE(Widget(dialog, kApply)->isEnabled());
    Ctl(kDisabledLabel).EnableWindow(fw::TRUE);
    EXPECT_TRUE(Widget(dialog, kDisabledLabel)->isEnabled());
    Ctl(kCheck).ShowWindow(fw::SW_HIDE);
    EXPECT_FALSE(Widget(dialog, kCheck)->isVisibleTo(Backend().PeerWidget(dialog)));
    Ctl(kApply).MoveWindow(3, 4, 50, 20);
    EXPECT_EQ(Widget(dialog, kApply)->geometry(), QRect(3, 4, 50, 20));
    Ctl(kEdit).SetReadOnly(true);
    EXPECT_TRUE(WidgetAs<QLineEdit>(dialog, kEdit)->isReadOnly());
    Ctl(kRadio2).SetCheck(1);
    Ctl(kCheck).SetCheck(1);
    EXPECT_TRUE(WidgetAs<QRadioButton>(dialog, kRadio2)->isChecked());
    EXPECT_FALSE(WidgetAs<QRadioButton>(dialog, kRadio1)->isChecked());
    EXPECT_TRUE(WidgetAs<QCheckBox>(dialog, kCheck)->isChecked());
    Ctl(kCheck).SetCheck(0);
    EXPECT_FALSE(WidgetAs<QCheckBox>(dialog, kCheck)->isChecked());
    EXPECT_TRUE(dialog.commands.empty());
}

TEST_F(MirrorTest, ListItemsSelectionAndComboTextRaiseNothing) {
    for (int id : {kDropList, kCombo, kList}) {
        Ctl(id).AddString("alpha");
        Ctl(id).AddString("beta");
        Ctl(id).AddString("gamma");
        Ctl(id).SetCurSel(1);
    }
    auto* drop = WidgetAs<QComboBox>(dialog, kDropList);
    EXPECT_EQ(drop->count(), 3);
    EXPECT_EQ(drop->currentIndex(), 1);
    EXPECT_EQ(drop->currentText(), "beta");
    auto* list = WidgetAs<QListWidget>(dialog, kList);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_EQ(WidgetAs<QComboBox>(dialog, kCombo)->currentText(), "beta");

    Ctl(kList).DeleteString(0);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    Ctl(kList).SetCurSel(-1);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    Ctl(kDropList).ResetContent();
    EXPECT_EQ(drop->count(), 0);
    // The combo's edit part keeps what the user typed over a choice, and is emptied when the
    // program takes the selection away.
    EXPECT_TRUE(dialog.commands.empty());
    Ctl(kCombo).UserType("typed");
    EXPECT_EQ(WidgetAs<QComboBox>(dialog, kCombo)->currentText(), "typed");
    dialog.commands.clear();  // the user's typing notifies; the program's changes below do not
    Ctl(kCombo).SetCurSel(-1);
    EXPECT_EQ(WidgetAs<QComboBox>(dialog, kCombo)->currentText(), "");
    EXPECT_TRUE(dialog.commands.empty());
    // A multi-column list flows in columns.
    auto* columns = WidgetAs<QListWidget>(dialog, kColumns);
    ASSERT_NE(columns, nullptr);
    EXPECT_TRUE(columns->isWrapping());
    EXPECT_EQ(columns->flow(), QListView::TopToBottom);
}

// Each item added, inserted or deleted is followed as it is: the widget is not filled again from
// the start each time (which made a long list take minutes), and always shows the control's items.
TEST_F(MirrorTest, ListsFollowEachItemChangeWithoutBeingFilledAgain) {
    auto* list = WidgetAs<QListWidget>(dialog, kList);
    auto* drop = WidgetAs<QComboBox>(dialog, kDropList);
    const auto shown = [&](int id) {
        std::vector<std::string> items;
        for (int i = 0; i < (id == kList ? list->count() : drop->count()); ++i) {
            items.push_back(
                (id == kList ? list->item(i)->text() : drop->itemText(i)).toStdString());
        }
        return items;
    };
    for (int i = 0; i < 300; ++i) {
        Ctl(kList).AddString("item " + std::to_string(i));
        Ctl(kDropList).AddString("item " + std::to_string(i));
    }
    QListWidgetItem* first = list->item(0);
    Ctl(kList).AddString("one more");
    EXPECT_EQ(list->item(0), first) << "the items already shown stay";
    for (int id : {kList, kDropList}) {
        SCOPED_TRACE(id);
        Ctl(id).InsertString(5, "inserted");
        Ctl(id).InsertString(0, "at the top");
        Ctl(id).DeleteString(7);
        Ctl(id).DeleteString(Ctl(id).GetCount() - 1);
        Ctl(id).SetCurSel(2);
        EXPECT_EQ(shown(id), Ctl(id).Items());
        Ctl(id).ResetContent();
        Ctl(id).AddString("again");
        EXPECT_EQ(shown(id), Ctl(id).Items());
    }
    EXPECT_EQ(drop->currentIndex(), -1);
}

TEST_F(MirrorTest, EditTextFromCodeNotifiesOnceOnly) {
    dialog.SetDlgItemText(kEdit, "123");
    EXPECT_EQ(WidgetAs<QLineEdit>(dialog, kEdit)->text(), "123");
    dialog.SetDlgItemText(kMultiEdit, "one\r\ntwo");
    EXPECT_EQ(WidgetAs<QPlainTextEdit>(dialog, kMultiEdit)->toPlainText(), "one\ntwo");
    // The framework's own change notifications, and nothing echoed back by the widgets.
    EXPECT_EQ(dialog.Count(kEdit, fw::EN_CHANGE), 1);
    EXPECT_EQ(dialog.Count(kMultiEdit, fw::EN_CHANGE), 1);
    EXPECT_EQ(dialog.commands.size(), 2U);
    EXPECT_EQ(dialog.GetDlgItemText(kMultiEdit), "one\r\ntwo");
}

TEST_F(MirrorTest, MenuBarFollowsTheMenuAndSitsAboveTheClientArea) {
    QWidget* top = Backend().PeerWidget(dialog);
    auto* bar = top->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions()[0]->text(), "&File");
    QMenu* file = bar->actions()[0]->menu();
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->actions().size(), 4);
    EXPECT_TRUE(file->actions()[0]->isEnabled());
    EXPECT_FALSE(file->actions()[1]->isEnabled());
    EXPECT_TRUE(file->actions()[2]->isSeparator());
    fw::Rect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(top->height(), bar->height() + client.Height());
    EXPECT_EQ(Widget(dialog, kLabel)->mapTo(top, QPoint(0, 0)).y(),
              bar->height() + Widget(dialog, kLabel)->y());

    dialog.SetMenu(nullptr);
    EXPECT_EQ(top->findChild<QMenuBar*>(), nullptr);
    EXPECT_EQ(top->height(), client.Height());
}

TEST_F(MirrorTest, StatusBarShowsItsPanesAlongTheBottom) {
    fw::CStatusBar status;
    ASSERT_TRUE(status.Create(&dialog));
    const fw::UINT ids[] = {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM,
                            fw::ID_INDICATOR_SCRL};
    ASSERT_TRUE(status.SetIndicators(ids, 4));
    ASSERT_TRUE(status.SetPaneText(0, "Ready"));
    QWidget* top = Backend().PeerWidget(dialog);
    auto* bar = top->findChild<QStatusBar*>();
    ASSERT_NE(bar, nullptr);
    auto texts = [bar] {
        QStringList all;
        for (const QLabel* label : bar->findChildren<QLabel*>()) {
            all << label->text();
        }
        return all;
    };
    for (const char* pane : {"Ready", "CAP", "NUM", "SCRL"}) {
        EXPECT_TRUE(texts().contains(pane)) << pane;
    }
    EXPECT_EQ(bar->geometry().bottom(), top->height() - 1);
    status.SetPaneText(0, "Busy");
    EXPECT_TRUE(texts().contains("Busy"));
}

TEST_F(MirrorTest, WindowFollowsShowHideMovesAndDestruction) {
    QWidget* top = Backend().PeerWidget(dialog);
    EXPECT_FALSE(top->isVisible());
    dialog.ShowWindow(fw::SW_SHOW);
    EXPECT_TRUE(top->isVisible());
    dialog.SetWindowPos(fw::HWND_TOP, 40, 50, 0, 0, fw::SWP_NOSIZE | fw::SWP_NOZORDER);
    EXPECT_EQ(top->pos(), QPoint(40, 50));
    dialog.ShowWindow(fw::SW_HIDE);
    EXPECT_FALSE(top->isVisible());
    // Destroying the window removes its widget.
    QPointer<QWidget> peer = top;
    dialog.DestroyWindow();
    EXPECT_TRUE(peer.isNull());
}

}  // namespace
}  // namespace qttest
