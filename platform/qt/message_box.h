// Message boxes: the framework's request turned into a QMessageBox with the matching caption,
// icon and buttons, and the clicked button turned back into IDOK, IDCANCEL, IDYES or IDNO.
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <vector>

#include "platform/fw/backend.h"

class QWidget;

namespace fwqt {

struct MessageBoxButton {
    QMessageBox::StandardButton button;
    int result;
};

struct MessageBoxSetup {
    QString title;
    QString text;
    QString detail;  // the box's detailed text; empty for none
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<MessageBoxButton> buttons;  // in order; the first is the default
    int escapeResult = 0;  // what Esc or the close box gives; 0 when they do nothing (Yes/No)
};

MessageBoxSetup MapMessageBox(const fw::MessageBoxRequest& request);

// The box as ExecMessageBox shows it, not yet shown (pictures of it are made from this too).
std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxSetup& setup, QWidget* parent);

// Runs the box modally and returns the result of the button the user chose.
int ExecMessageBox(const MessageBoxSetup& setup, QWidget* parent);

}  // namespace fwqt
