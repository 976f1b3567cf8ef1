#include "platform/fw/tests/fw_fixture.h"

namespace fwtest {

fw::ResourceSet MakeTestResources() {
    using fw::ControlKind;
    fw::ResourceSet res;

    fw::DialogTemplate form;
    form.id = kFormDialog;
    form.title = "Form";
    form.rect = {0, 0, 200, 120};
    form.menuId = 300;
    form.controls = {
        {kEdit, ControlKind::Edit, "", {5, 5, 100, 17}, fw::kTabStop},
        {kList, ControlKind::ListBox, "", {5, 20, 100, 60}, 0},
        {kCombo, ControlKind::DropDownList, "", {105, 5, 195, 60}, 0},
        {kSorted, ControlKind::ListBox, "", {105, 62, 195, 100}, fw::kSorted},
        {kRadioA1, ControlKind::RadioButton, "A1", {5, 62, 50, 72}, fw::kGroup},
        {kRadioA2, ControlKind::RadioButton, "A2", {5, 72, 50, 82}, 0},
        {kRadioB1, ControlKind::RadioButton, "B1", {55, 62, 100, 72}, fw::kGroup},
        {kRadioB2, ControlKind::RadioButton, "B2", {55, 72, 100, 82}, 0},
        {kDisabledButton,
         ControlKind::PushButton,
         "Off",
         {5, 85, 50, 99},
         fw::kDisabled | fw::kGroup},
        {fw::IDOK, ControlKind::DefPushButton, "&OK", {100, 102, 145, 116}, 0},
        {fw::IDCANCEL, ControlKind::PushButton, "&Cancel", {150, 102, 195, 116}, 0},
    };
    res.dialogs.push_back(form);

    fw::DialogTemplate other;
    other.id = kOtherDialog;
    other.title = "Other";
    other.rect = {0, 0, 100, 50};
    other.controls = {{fw::IDOK, ControlKind::DefPushButton, "OK", {30, 30, 70, 44}, 0}};
    res.dialogs.push_back(other);

    fw::DialogTemplate grid;
    grid.id = kGridDialog;
    grid.title = "Grid";
    grid.rect = {0, 0, 200, 100};
    grid.controls = {{kGridPlace, ControlKind::GridPlaceholder, "", {5, 5, 150, 90}, 0},
                     {fw::IDOK, ControlKind::DefPushButton, "OK", {155, 5, 195, 19}, 0}};
    res.dialogs.push_back(grid);

    fw::MenuItem file{"&File", 0, false, false, {}};
    file.popup = {{"&Open", kMenuOpen, false, false, {}},
                  {"", 0, false, true, {}},
                  {"&Grey", kMenuGrey, true, false, {}},
                  {"&App", kMenuAppOnly, false, false, {}},
                  {"E&xit", fw::ID_APP_EXIT, false, false, {}}};
    res.menus.push_back(fw::MenuTemplate{300, {file}});
    return res;
}

FwTest::FwTest() : resources(MakeTestResources()) {
    fw::TheMessageQueue().Clear();
    fw::InstallResources(&resources);
    fw::InstallBackend(&backend);
    fw::InstallClock(&clock);
}

FwTest::~FwTest() {
    EXPECT_EQ(driver.Unused(), "");  // an answer never asked for tested nothing
    fw::TheMessageQueue().Clear();
    fw::InstallClock(nullptr);
    fw::InstallBackend(nullptr);
    fw::InstallResources(nullptr);
}

}  // namespace fwtest
