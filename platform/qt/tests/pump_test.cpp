// The framework's pump on Qt's event loop: messages posted from other threads are delivered on
// the user-interface thread, and a modal loop waits in Qt without spinning.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <thread>

#include "qt_fixture.h"

namespace qttest {
namespace {

constexpr fw::UINT kFromThread = fw::WM_APP + 7;

class PostTarget : public RecordingDialog {
  public:
    PostTarget() : RecordingDialog(kOtherDialog) {
        MapMessage(kFromThread, [this](fw::WPARAM w, fw::LPARAM) -> fw::LRESULT {
            ranOn = std::this_thread::get_id();
            EndModalLoop(static_cast<int>(w));
            return 0;
        });
    }
    std::thread::id ranOn;
};

TEST_F(QtTest, MessageOrCallPostedFromAnotherThreadIsDispatchedOnTheUiThread) {
    PostTarget window;
    ASSERT_TRUE(window.Create(kOtherDialog));
    const fw::HWND hwnd = window.GetSafeHwnd();
    // The post comes while the loop already waits in Qt, so only the wake-up can end the wait.
    std::thread poster([hwnd] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        fw::PostMessage(hwnd, kFromThread, 9, 0);
    });
    QTimer::singleShot(5000, Backend().PeerWidget(window), [&window] { window.EndModalLoop(-99); });
    EXPECT_EQ(window.RunModalLoop(), 9);
    poster.join();
    EXPECT_EQ(window.ranOn, std::this_thread::get_id());

    std::thread::id ranOn;
    std::thread caller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        fw::TheMessageQueue().PostCall([&] {
            ranOn = std::this_thread::get_id();
            window.EndModalLoop(3);
        });
    });
    QTimer::singleShot(5000, Backend().PeerWidget(window), [&window] { window.EndModalLoop(-99); });
    EXPECT_EQ(window.RunModalLoop(), 3);
    caller.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(QtTest, QuitEndsTheModalLoopAndStaysPosted) {
    RecordingDialog window(kOtherDialog);
    ASSERT_TRUE(window.Create(kOtherDialog));
    QTimer::singleShot(0, [] { fw::PostQuitMessage(4); });
    QTimer::singleShot(5000, [&window] { window.EndModalLoop(-99); });
    EXPECT_EQ(window.RunModalLoop(), -1);
    fw::Msg msg;
    ASSERT_TRUE(fw::PeekMessage(msg));
    EXPECT_EQ(msg.message, fw::WM_QUIT);
}

TEST_F(QtTest, ModalDialogRunsInQtAndReturnsItsEndCode) {
    fw::CDialog dialog(kOtherDialog);
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(Backend().PeerWidget(dialog)->isVisible());
        dialog.EndDialog(fw::IDOK);
    });
    QTimer::singleShot(5000, [&dialog] { dialog.EndDialog(-99); });
    EXPECT_EQ(dialog.DoModal(), fw::IDOK);
    EXPECT_FALSE(dialog.IsCreated());
}

TEST_F(QtTest, SystemMetricsAndWaitCursor) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(fw::GetSystemMetrics(fw::SM_CXSCREEN), screen->geometry().width());
    EXPECT_EQ(fw::GetSystemMetrics(fw::SM_CYSCREEN), screen->geometry().height());
    EXPECT_GT(fw::GetSystemMetrics(fw::SM_CXHTHUMB), 0);
    Backend().SetWaitCursor(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Backend().SetWaitCursor(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace qttest
