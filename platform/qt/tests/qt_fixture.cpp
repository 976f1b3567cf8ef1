#include "qt_fixture.h"

#include <QApplication>
#include <QWidget>

#include "res/resources.h"

namespace qttest {

namespace {

using fw::ControlKind;
using namespace fw;

ControlTemplate Ctl(int id, ControlKind kind, std::string text, int x, int y, int cx, int cy,
                    std::uint32_t style = 0) {
    return ControlTemplate{id, kind, std::move(text), Rect{x, y, x + cx, y + cy}, style};
}

ResourceSet MakeTestResources() {
    ResourceSet res;
    DialogTemplate form;
    form.id = kFormDialog;
    form.title = "Form";
    form.rect = {0, 0, 220, 170};
    form.menuId = kFormMenu;
    form.controls = {
        Ctl(kLabel, ControlKind::Static, "&Name:", 5, 7, 40, 8),
        Ctl(kEdit, ControlKind::Edit, "", 50, 5, 100, 12, kBorder | kTabStop),
        Ctl(kRadio1, ControlKind::RadioButton, "One", 5, 22, 45, 10, fw::kGroup | kTabStop),
        Ctl(kRadio2, ControlKind::RadioButton, "Two", 55, 22, 45, 10),
        Ctl(kCheck, ControlKind::CheckBox, "Check", 105, 22, 50, 10, fw::kGroup | kTabStop),
        Ctl(kDropList, ControlKind::DropDownList, "", 5, 36, 80, 60, kVScroll | kTabStop),
        Ctl(kCombo, ControlKind::DropDownCombo, "", 90, 36, 80, 60, kVScroll | kTabStop),
        Ctl(kList, ControlKind::ListBox, "", 5, 54, 80, 40, kVScroll | kTabStop),
        Ctl(kMultiEdit, ControlKind::MultiLineEdit, "", 90, 54, 120, 20,
            kBorder | kVScroll | kTabStop),
        Ctl(kCommentEdit, ControlKind::MultiLineEdit, "", 90, 78, 120, 16,
            kBorder | kNoWantReturn | kTabStop),
        Ctl(kColumns, ControlKind::ListBox, "", 5, 98, 205, 24, kMultiColumn | kTabStop),
        Ctl(kApply, ControlKind::PushButton, "&Apply", 5, 130, 50, 14, kTabStop),
        Ctl(IDOK, ControlKind::DefPushButton, "OK", 100, 130, 50, 14, kTabStop),
        Ctl(IDCANCEL, ControlKind::PushButton, "Cancel", 160, 130, 50, 14, kTabStop),
        Ctl(kGroupBox, ControlKind::GroupBox, "Group", 2, 18, 216, 20),
        Ctl(kDisabledLabel, ControlKind::Static, "Off", 5, 150, 40, 8, kDisabled),
    };
    res.dialogs.push_back(form);

    DialogTemplate other;
    other.id = kOtherDialog;
    other.title = "Other";
    other.rect = {0, 0, 100, 40};
    other.controls = {Ctl(kOtherButton, ControlKind::PushButton, "Press", 10, 10, 50, 14)};
    res.dialogs.push_back(other);

    DialogTemplate grid;
    grid.id = kGridDialog;
    grid.title = "Grid";
    grid.rect = {0, 0, 200, 100};
    grid.controls = {Ctl(kGridPlace, ControlKind::GridPlaceholder, "", 5, 5, 150, 85),
                     Ctl(fw::IDOK, ControlKind::DefPushButton, "OK", 160, 5, 35, 14),
                     Ctl(fw::IDCANCEL, ControlKind::PushButton, "Cancel", 160, 22, 35, 14)};
    res.dialogs.push_back(grid);

    MenuItem open{"&Open", kMenuOpen, false, false, {}};
    MenuItem grey{"&Grey", kMenuGrey, true, false, {}};
    MenuItem sep{"", 0, false, true, {}};
    MenuItem exit{"E&xit", ID_APP_EXIT, false, false, {}};
    MenuItem file{"&File", 0, false, false, {open, grey, sep, exit}};
    res.menus.push_back(MenuTemplate{kFormMenu, {file}});
    return res;
}

}  // namespace

const ResourceSet& TestResources() {
    static const ResourceSet resources = MakeTestResources();
    return resources;
}

RecordingDialog::RecordingDialog(int templateId, CWnd* parent) : CDialog(templateId, parent) {}

int RecordingDialog::Count(UINT id, UINT code) const {
    int n = 0;
    for (const auto& c : commands) {
        n += c.id == id && c.code == code ? 1 : 0;
    }
    return n;
}

BOOL RecordingDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    commands.push_back(Command{id, code});
    if (onCommand) {
        onCommand(id, code);
    }
    if (id == static_cast<UINT>(IDOK) || id == static_cast<UINT>(IDCANCEL)) {
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void RecordingDialog::OnClose() {
    ++closes;
}

QtTest::QtTest() : m_backend(std::make_unique<fwqt::QtBackend>()) {
    TheMessageQueue().Clear();
    InstallBackend(m_backend.get());
    InstallResources(&TestResources());
}

QtTest::~QtTest() {
    InstallBackend(nullptr);
    m_backend.reset();
    TheMessageQueue().Clear();
    InstallResources(nullptr);
}

void QtTest::UseProgramResources() {
    InstallResources(&tav::TavResources());
}

QWidget* QtTest::Widget(const CDialog& dialog, int id) {
    const Control* control = dialog.GetDlgItem(id);
    return control != nullptr ? m_backend->ControlWidget(*control) : nullptr;
}

}  // namespace qttest
