// Message boxes: caption, icon and buttons as asked, and the answer as the button chosen.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <thread>

#include "platform/fw/app.h"
#include "platform/qt/message_box.h"
#include "qt_fixture.h"

namespace qttest {
namespace {

using fwqt::MapMessageBox;

fw::MessageBoxRequest Request(fw::UINT type) {
    fw::MessageBoxRequest request;
    request.caption = "Caption";
    request.text = "Line one\nLine two";
    request.type = type;
    return request;
}

std::vector<QMessageBox::StandardButton> Buttons(const fwqt::MessageBoxSetup& setup) {
    std::vector<QMessageBox::StandardButton> buttons;
    for (const auto& b : setup.buttons) {
        buttons.push_back(b.button);
    }
    return buttons;
}

TEST(MessageBoxMapping, CaptionTextAndIcons) {
    const auto setup = MapMessageBox(Request(fw::MB_OK | fw::MB_ICONHAND));
    EXPECT_EQ(setup.title, "Caption");
    EXPECT_EQ(setup.text, "Line one\nLine two");
    EXPECT_EQ(setup.icon, QMessageBox::Critical);
    EXPECT_EQ(MapMessageBox(Request(fw::MB_ICONQUESTION)).icon, QMessageBox::Question);
    EXPECT_EQ(MapMessageBox(Request(fw::MB_ICONEXCLAMATION)).icon, QMessageBox::Warning);
    EXPECT_EQ(MapMessageBox(Request(fw::MB_ICONASTERISK)).icon, QMessageBox::Information);
    EXPECT_EQ(MapMessageBox(Request(fw::MB_OK)).icon, QMessageBox::NoIcon);
    EXPECT_TRUE(setup.detail.isEmpty());
}

TEST(MessageBoxMapping, ButtonsResultsAndEscape) {
    const auto ok = MapMessageBox(Request(fw::MB_OK));
    EXPECT_EQ(Buttons(ok), (std::vector{QMessageBox::Ok}));
    EXPECT_EQ(ok.buttons[0].result, fw::IDOK);
    EXPECT_EQ(ok.escapeResult, fw::IDOK);

    const auto okCancel = MapMessageBox(Request(fw::MB_OKCANCEL | fw::MB_ICONQUESTION));
    EXPECT_EQ(Buttons(okCancel), (std::vector{QMessageBox::Ok, QMessageBox::Cancel}));
    EXPECT_EQ(okCancel.buttons[1].result, fw::IDCANCEL);
    EXPECT_EQ(okCancel.escapeResult, fw::IDCANCEL);

    const auto yesNo = MapMessageBox(Request(fw::MB_YESNO));
    EXPECT_EQ(Buttons(yesNo), (std::vector{QMessageBox::Yes, QMessageBox::No}));
    EXPECT_EQ(yesNo.buttons[0].result, fw::IDYES);
    EXPECT_EQ(yesNo.buttons[1].result, fw::IDNO);
    EXPECT_EQ(yesNo.escapeResult, 0);

    const auto yesNoCancel = MapMessageBox(Request(fw::MB_YESNOCANCEL));
    EXPECT_EQ(Buttons(yesNoCancel),
              (std::vector{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}));
    EXPECT_EQ(yesNoCancel.buttons[2].result, fw::IDCANCEL);
    EXPECT_EQ(yesNoCancel.escapeResult, fw::IDCANCEL);
}

// Clicks a button of the message box once it is up.
void AnswerWith(QMessageBox::StandardButton button, QString* seenTitle) {
    QTimer::singleShot(0, [button, seenTitle] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *seenTitle = box->windowTitle();
        box->button(button)->click();
    });
}

TEST_F(QtTest, MessageBoxReturnsTheChosenButton) {
    QString title;
    AnswerWith(QMessageBox::No, &title);
    EXPECT_EQ(
        fw::SystemMessageBox(nullptr, "Sure?", "Question", fw::MB_YESNO | fw::MB_ICONQUESTION),
        fw::IDNO);
    EXPECT_EQ(title, "Question");
    AnswerWith(QMessageBox::Cancel, &title);
    EXPECT_EQ(fw::SystemMessageBox(nullptr, "Go on?", nullptr, fw::MB_OKCANCEL), fw::IDCANCEL);
    EXPECT_EQ(title, "Error");
}

TEST_F(QtTest, MessageBoxShowsItsDetailUnderTheText) {
    QString detail = "none seen";
    QTimer::singleShot(0, [&detail] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        detail = box->detailedText();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(fw::SystemMessageBox(nullptr, "Some failed.", "Warning", fw::MB_OK | fw::MB_ICONHAND,
                                   "Board 0 A: confirmed\nBoard 2 A: no report"),
              fw::IDOK);
    EXPECT_EQ(detail, "Board 0 A: confirmed\nBoard 2 A: no report");
}

TEST_F(QtTest, PostedMessagesAreDeliveredWhileAMessageBoxIsUp) {
    const std::thread::id ui = std::this_thread::get_id();
    std::thread::id ranOn;
    bool delivered = false;
    QTimer::singleShot(0, [&] {
        std::thread poster([&] {
            fw::TheMessageQueue().PostCall([&] {
                delivered = true;
                ranOn = std::this_thread::get_id();
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    box->button(QMessageBox::Ok)->click();
                }
            });
        });
        poster.join();
    });
    QTimer::singleShot(5000, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Ok)->click();
        }
    });
    EXPECT_EQ(fw::SystemMessageBox(nullptr, "Waiting", "Box", fw::MB_OK), fw::IDOK);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(ranOn, ui);
}

}  // namespace
}  // namespace qttest
