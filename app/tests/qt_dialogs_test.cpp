// The print chooser on the Qt back end, clicked as a person would (About is
// app/tests/scenarios/about_and_menus.scn's, which runs on this back end too).
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/print_choice_dlg.h"
#include "platform/qt/tests/qt_fixture.h"
#include "res/resource.h"

namespace qttest {
namespace {

class QtAppDialogs : public QtTest {
  protected:
    QtAppDialogs() { UseProgramResources(); }
    // Ends a dialog that the test failed to end, instead of hanging.
    void Watchdog(fw::CDialog& dlg) {
        QTimer::singleShot(5000, &m_guard, [&dlg] { dlg.EndDialog(-99); });
    }

  private:
    QObject m_guard;
};

TEST_F(QtAppDialogs, PrintChooserEnablesPrintAfterARadioClick) {
    CPrintChoiceDlg dlg;
    QTimer::singleShot(0, [&] {
        auto* print = WidgetAs<QPushButton>(dlg, fw::IDOK);
        ASSERT_NE(print, nullptr);
        EXPECT_FALSE(print->isEnabled());
        WidgetAs<QRadioButton>(dlg, IDC_OUTPUT_TABLE)->click();
        EXPECT_TRUE(print->isEnabled());
        print->click();
    });
    Watchdog(dlg);
    EXPECT_EQ(dlg.DoModal(), fw::IDOK);
    EXPECT_EQ(dlg.GetType(), IoType::Output);
}

}  // namespace
}  // namespace qttest
