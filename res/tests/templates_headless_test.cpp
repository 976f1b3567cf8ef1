// Every template builds in the headless back end with the template's controls and states.
#include <gtest/gtest.h>

#include "platform/fw/backend.h"
#include "platform/fw/dialog.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/queued_driver.h"
#include "res/resources.h"

namespace {

TEST(HeadlessTemplates, EveryTemplateBuildsWithItsControls) {
    headless::QueuedDriver driver;
    headless::HeadlessBackend backend(driver);
    const fw::ResourceSet& res = tav::TavResources();
    fw::InstallResources(&res);
    fw::InstallBackend(&backend);
    for (const auto& tmpl : res.dialogs) {
        SCOPED_TRACE("template " + std::to_string(tmpl.id));
        fw::CDialog dialog(tmpl.id);
        ASSERT_TRUE(dialog.Create(tmpl.id));
        EXPECT_EQ(dialog.GetWindowText(), tmpl.title);
        EXPECT_EQ(dialog.GetMenu() != nullptr, tmpl.menuId != 0);
        ASSERT_EQ(dialog.Controls().size(), tmpl.controls.size());
        for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
            const fw::ControlTemplate& ct = tmpl.controls[i];
            const fw::Control& c = *dialog.Controls()[i];
            SCOPED_TRACE("control " + std::to_string(ct.id));
            EXPECT_EQ(c.GetDlgCtrlID(), ct.id);
            EXPECT_EQ(c.Kind(), ct.kind);
            EXPECT_EQ(c.IsWindowEnabled() != 0, (ct.style & fw::kDisabled) == 0);
            if (!c.IsList() && !c.IsCombo()) {
                EXPECT_EQ(c.GetWindowText(), ct.text);
            }
            if (ct.id != -1) {
                EXPECT_EQ(dialog.GetDlgItem(ct.id), &c) << "ids must be unique within a dialog";
            }
        }
    }
    fw::InstallBackend(nullptr);
    fw::InstallResources(nullptr);
}

}  // namespace
