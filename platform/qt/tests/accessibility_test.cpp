// What a screen reader learns of the windows: every control that takes input or shows a result has
// a name (its label's text, or a name of its own), radio buttons are radio buttons, windows are
// dialogs, and the tab order is the template's order. The desktop check of the same is
// scripts/a11y-walk.py; this one needs no display.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTextEdit>
#include <algorithm>
#include <set>
#include <vector>

#include "platform/fw/grid.h"
#include "platform/qt/control_widgets.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_text.h"
#include "qt_fixture.h"
#include "res/resource.h"
#include "res/resources.h"

namespace qttest {
namespace {

using fw::ControlKind;

// A grid as the program's dialogs make one in place of a placeholder: a header row and a cell.
class SampleGrid final : public fw::CGridCtrl {
  public:
    SampleGrid(fw::CDialog& parent, int id) : CGridCtrl(parent, id, fw::Rect{}) {
        fw::GridSettings settings;
        settings.rows = 3;
        settings.cols = 2;
        SetSettings(settings);
        SetCellText(0, 0, "Switcher");
        SetCellText(0, 1, "Level");
        SetCellText(1, 0, "MAIN");
    }
};

bool TakesInputOrShowsAResult(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::MultiLineEdit:
        case ControlKind::DropDownList:
        case ControlKind::DropDownCombo:
        case ControlKind::ListBox:
        case ControlKind::Grid:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
            return true;
        default:
            return false;  // statics are their own text; frames and group boxes hold others
    }
}

// Kinds named by their own text rather than by a label.
bool NamedByOwnText(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefPushButton ||
           kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

QAccessibleInterface* Reader(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

QString NameOf(QWidget* widget) {
    QAccessibleInterface* iface = Reader(widget);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

class AccessibilityTest : public QtTest {
  protected:
    AccessibilityTest() { UseProgramResources(); }

    // The template's window as the program shows it: grids in place of their placeholders, and a
    // title where the program sets one when the window opens.
    std::unique_ptr<fw::CDialog> Open(const fw::DialogTemplate& tmpl) {
        auto dialog = std::make_unique<fw::CDialog>(tmpl.id);
        EXPECT_TRUE(dialog->Create(tmpl.id));
        for (const auto& ct : tmpl.controls) {
            if (ct.kind == ControlKind::GridPlaceholder) {
                fw::CGridCtrl::Attach(*dialog, std::make_unique<SampleGrid>(*dialog, ct.id));
            }
        }
        if (tmpl.title.empty()) {
            dialog->SetWindowText("Idle Inputs - MAIN - VIDEO");
        }
        return dialog;
    }
};

TEST_F(AccessibilityTest, EveryFieldOfEveryWindowHasANameFromItsLabelOrItsOwn) {
    for (const auto& tmpl : tav::TavResources().dialogs) {
        SCOPED_TRACE("template " + std::to_string(tmpl.id));
        const auto dialog = Open(tmpl);
        for (const auto& control : dialog->Controls()) {
            if (!TakesInputOrShowsAResult(control->Kind())) {
                continue;
            }
            SCOPED_TRACE("control " + std::to_string(control->GetDlgCtrlID()));
            QWidget* w = Backend().ControlWidget(*control);
            ASSERT_NE(w, nullptr);
            QAccessibleInterface* iface = Reader(w);
            ASSERT_NE(iface, nullptr);
            EXPECT_FALSE(iface->text(QAccessible::Name).trimmed().isEmpty());
            if (!NamedByOwnText(control->Kind())) {
                // A name from a label the window shows (a relation the reader follows), or one
                // the template gives; never an accident such as a list's current item.
                const bool labelled = !iface->relations(QAccessible::Label).isEmpty();
                EXPECT_TRUE(labelled || !w->accessibleName().isEmpty());
            }
        }
        dialog->DestroyWindow();
    }
}

TEST_F(AccessibilityTest, TheTabOrderIsTheTemplatesOrder) {
    for (const auto& tmpl : tav::TavResources().dialogs) {
        SCOPED_TRACE("template " + std::to_string(tmpl.id));
        const auto dialog = Open(tmpl);
        std::vector<QWidget*> expected;
        std::set<QWidget*> controls;
        for (const auto& control : dialog->Controls()) {
            QWidget* w = Backend().ControlWidget(*control);
            controls.insert(w);
            if (w->focusPolicy() & Qt::TabFocus) {
                expected.push_back(w);
            }
        }
        QWidget* top = Backend().PeerWidget(*dialog);
        if (expected.empty()) {
            dialog->DestroyWindow();
            continue;  // the please-wait window: nothing to go to
        }
        std::vector<QWidget*> chain;
        for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
            if (controls.contains(w) && (w->focusPolicy() & Qt::TabFocus)) {
                chain.push_back(w);
            }
        }
        // Tab goes round: the order is the cycle, wherever the chain is entered.
        const auto first = std::find(chain.begin(), chain.end(), expected.front());
        std::rotate(chain.begin(), first, chain.end());
        EXPECT_EQ(chain, expected);
        dialog->DestroyWindow();
    }
}

TEST_F(AccessibilityTest, ALabelTheProgramChangesRenamesItsField) {
    fw::CDialog dialog(IDD_TAV_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_TAV_DIALOG));
    dialog.GetDlgItem(IDC_ORIGINAL_LABEL)->SetWindowText("Original Input");
    EXPECT_EQ(NameOf(Widget(dialog, IDC_ORIGINAL_NUMBER)), "Original Input");
    EXPECT_EQ(NameOf(Widget(dialog, IDC_SWITCHER)), "Switcher");
    EXPECT_EQ(NameOf(Widget(dialog, IDC_COMMENT)), "Comment:");
    dialog.DestroyWindow();
}

TEST_F(AccessibilityTest, AGridIsCalledAfterItsWindow) {
    fw::CDialog dialog(IDD_IDLE);
    ASSERT_TRUE(dialog.Create(IDD_IDLE));
    fw::CGridCtrl::Attach(dialog, std::make_unique<SampleGrid>(dialog, IDC_GRID));
    dialog.SetWindowText("Idle Outputs - SW1 - VIDEO");
    EXPECT_EQ(NameOf(Widget(dialog, IDC_GRID)), "Idle Outputs - SW1 - VIDEO");
    dialog.DestroyWindow();
}

TEST_F(AccessibilityTest, WindowsAreDialogsAndTheMainWindowAnApplicationWindow) {
    fw::CDialog main(IDD_TAV_DIALOG);
    ASSERT_TRUE(main.Create(IDD_TAV_DIALOG));
    fw::CDialog about(IDD_ABOUTBOX);
    ASSERT_TRUE(about.Create(IDD_ABOUTBOX, &main));
    EXPECT_EQ(Reader(Backend().PeerWidget(main))->role(), QAccessible::Window);
    EXPECT_EQ(Reader(Backend().PeerWidget(about))->role(), QAccessible::Dialog);
    EXPECT_EQ(NameOf(Backend().PeerWidget(about)), "About TAV");
    about.DestroyWindow();
    main.DestroyWindow();
}

// The wait for another workstation (150) opens with an empty message the program fills in: a reader
// reads the window's title, the message as it is set, and Give up, the one place Tab goes.
TEST_F(AccessibilityTest, TheWaitForAnotherWorkstationIsReadWithItsMessage) {
    fw::CDialog wait(IDD_LOCK_WAIT);
    ASSERT_TRUE(wait.Create(IDD_LOCK_WAIT));
    const char* message =
        "Another workstation is changing TAV.IXT.\nTavora goes on as soon as it has finished.";
    wait.SetDlgItemText(IDC_LOCK_WAIT_TEXT, message);
    wait.ShowWindow(fw::SW_SHOW);
    QApplication::processEvents();
    QWidget* top = Backend().PeerWidget(wait);
    EXPECT_EQ(Reader(top)->role(), QAccessible::Dialog);
    EXPECT_EQ(NameOf(top), "Tavora");
    QAccessibleInterface* text = Reader(Widget(wait, IDC_LOCK_WAIT_TEXT));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->role(), QAccessible::StaticText);
    EXPECT_EQ(text->text(QAccessible::Name), QString::fromUtf8(message));
    QWidget* giveUp = Widget(wait, fw::IDCANCEL);
    EXPECT_EQ(Reader(giveUp)->role(), QAccessible::Button);
    EXPECT_EQ(NameOf(giveUp), "Give up");
    std::vector<QWidget*> tabStops;
    for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
            tabStops.push_back(w);
        }
    }
    EXPECT_EQ(tabStops, std::vector<QWidget*>{giveUp}) << "Tab stays on Give up";
    wait.DestroyWindow();
}

TEST_F(QtTest, RadioButtonsAreRadioButtonsAndAReadersToggleIsAClick) {
    RecordingDialog dialog(kFormDialog);
    ASSERT_TRUE(dialog.Create(kFormDialog));
    dialog.ShowWindow(fw::SW_SHOW);
    QAccessibleInterface* radio = Reader(Widget(dialog, kRadio1));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->role(), QAccessible::RadioButton);
    EXPECT_EQ(radio->text(QAccessible::Name), "One");
    EXPECT_FALSE(radio->state().checked);
    EXPECT_TRUE(radio->state().checkable);
    QAccessibleActionInterface* actions = radio->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(dialog.Count(kRadio1, fw::BN_CLICKED), 1);
    EXPECT_EQ(dialog.GetDlgItem(kRadio1)->GetCheck(), 1);
    EXPECT_TRUE(radio->state().checked);
    EXPECT_EQ(Reader(Widget(dialog, kCheck))->role(), QAccessible::CheckBox);
    dialog.DestroyWindow();
}

TEST_F(QtTest, AMessageBoxsDetailTextHasAName) {
    fwqt::MessageBoxSetup setup;
    setup.title = QStringLiteral("Warning");
    setup.text = QStringLiteral("Some board(s) are not responding.");
    setup.buttons = {{QMessageBox::Ok, fw::IDOK}};
    const auto box = fwqt::MakeMessageBox(setup, nullptr);
    box->setDetailedText(QStringLiteral("board 2 MAINVID: no report"));
    box->show();
    QApplication::processEvents();
    const QList<QTextEdit*> details = box->findChildren<QTextEdit*>();
    ASSERT_FALSE(details.isEmpty());
    for (QTextEdit* edit : details) {
        EXPECT_FALSE(NameOf(edit).isEmpty());
    }
    box->hide();
}

}  // namespace
}  // namespace qttest
