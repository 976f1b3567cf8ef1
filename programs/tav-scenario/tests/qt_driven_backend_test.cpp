// The player's real windows show the focus the program or the script gave a control (a grid's
// keyboard cell, a default button), though the Qt back end's own peers sit behind the transcript.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>

#include "platform/fw/dialog.h"
#include "platform/fw/resources.h"
#include "platform/headless/driver.h"
#include "platform/headless/headless_backend.h"
#include "platform/qt/qt_backend.h"
#include "programs/tav-scenario/qt_driven_backend.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

// Nothing here waits for the operator.
class NoOperator final : public headless::Driver {
  public:
    void Idle(fw::CWnd& /*modalWindow*/) override { FAIL() << "nobody acts in this test"; }
    int AnswerMessageBox(const fw::MessageBoxRequest& /*request*/) override { return fw::IDOK; }
    int AnswerPrintDialog(fw::PrintDialogRequest& /*request*/) override { return fw::IDCANCEL; }
};

TEST(QtDrivenBackend, TheFocusGivenToAControlIsShownInItsWindow) {
    NoOperator driver;
    headless::HeadlessBackend driven(driver);
    fwqt::QtBackend qt;
    QtDrivenBackend backend(driven, qt);
    fw::InstallResources(&tav::TavResources());
    fw::InstallBackend(&backend);
    {
        fw::CDialog error(IDD_ERROR);
        ASSERT_TRUE(error.Create(IDD_ERROR));
        error.ShowWindow(fw::SW_SHOW);
        for (const int id : {IDC_DETAIL, fw::IDOK}) {
            error.GetDlgItem(id)->SetFocus();
            backend.ProcessPendingEvents();
            auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            ASSERT_NE(focused, nullptr);
            EXPECT_EQ(focused->text().toStdString(), error.GetDlgItem(id)->GetWindowText());
        }
        error.DestroyWindow();
    }
    fw::InstallBackend(nullptr);
    fw::InstallResources(nullptr);
}

}  // namespace
