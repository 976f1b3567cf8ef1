// The framework on the Qt back end, with the program's resources or a small set of the tests' own.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <vector>

#include "platform/fw/backend.h"
#include "platform/fw/dialog.h"
#include "platform/fw/message_queue.h"
#include "platform/qt/qt_backend.h"

class QWidget;

namespace qttest {

// The tests' own template: one control of every kind.
inline constexpr int kFormDialog = 500;
inline constexpr int kLabel = 1001;
inline constexpr int kEdit = 1002;
inline constexpr int kRadio1 = 1003;
inline constexpr int kRadio2 = 1004;
inline constexpr int kCheck = 1005;
inline constexpr int kDropList = 1006;
inline constexpr int kCombo = 1007;
inline constexpr int kList = 1008;
inline constexpr int kMultiEdit = 1009;
inline constexpr int kApply = 1010;
inline constexpr int kGroupBox = 1011;
inline constexpr int kDisabledLabel = 1012;
inline constexpr int kCommentEdit = 1013;  // multi-line, Enter goes to the dialog
inline constexpr int kColumns = 1014;      // multi-column list
inline constexpr int kOtherDialog = 501;   // a second window with one button
inline constexpr int kOtherButton = 1100;
inline constexpr int kGridDialog = 502;  // a grid placeholder, OK and Cancel
inline constexpr int kGridPlace = 1200;
inline constexpr int kFormMenu = 600;
inline constexpr fw::UINT kMenuOpen = 2001;
inline constexpr fw::UINT kMenuGrey = 2002;

const fw::ResourceSet& TestResources();

// A dialog that records every command it receives. OK and Cancel are recorded, not acted on, so
// that the dialog stays up for the test.
class RecordingDialog : public fw::CDialog {
  public:
    explicit RecordingDialog(int templateId, fw::CWnd* parent = nullptr);

    struct Command {
        fw::UINT id;
        fw::UINT code;
    };
    std::vector<Command> commands;
    int closes = 0;
    int Count(fw::UINT id, fw::UINT code) const;
    // Runs when a command arrives, after it is recorded.
    std::function<void(fw::UINT id, fw::UINT code)> onCommand;

  protected:
    fw::BOOL OnCommand(fw::WPARAM wParam, fw::LPARAM lParam) override;
    void OnClose() override;
};

class QtTest : public ::testing::Test {
  protected:
    QtTest();
    ~QtTest() override;

    fwqt::QtBackend& Backend() { return *m_backend; }
    // Uses the program's resources instead of the tests' own.
    void UseProgramResources();
    QWidget* Widget(const fw::CDialog& dialog, int id);
    template <class T>
    T* WidgetAs(const fw::CDialog& dialog, int id) {
        return qobject_cast<T*>(Widget(dialog, id));
    }

  private:
    std::unique_ptr<fwqt::QtBackend> m_backend;
};

}  // namespace qttest
