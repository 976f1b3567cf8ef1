#include "platform/qt/message_box.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>

#include "platform/qt/qt_text.h"

namespace fwqt {

namespace {

QMessageBox::Icon MapIcon(fw::UINT type) {
    switch (type & fw::MB_ICONMASK) {
        case fw::MB_ICONHAND:
            return QMessageBox::Critical;
        case fw::MB_ICONQUESTION:
            return QMessageBox::Question;
        case fw::MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case fw::MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// A Yes/No box has no way out but its two buttons, as on the original platform: Esc and the
// close box do nothing.
class FwMessageBox final : public QMessageBox {
  public:
    FwMessageBox(const MessageBoxSetup& setup, QWidget* parent)
        : QMessageBox(setup.icon, setup.title, setup.text, QMessageBox::NoButton, parent),
          m_trapped(setup.escapeResult == 0) {
        setTextFormat(Qt::PlainText);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        // Qt gives the text that "Show Details..." reveals no name a screen reader can say.
        for (QTextEdit* details : findChildren<QTextEdit*>()) {
            if (details->accessibleName().isEmpty()) {
                details->setAccessibleName(QStringLiteral("Details"));
            }
        }
        QMessageBox::showEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (m_trapped && event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (m_trapped) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

  private:
    bool m_trapped;
};

}  // namespace

MessageBoxSetup MapMessageBox(const fw::MessageBoxRequest& request) {
    MessageBoxSetup setup;
    setup.title = ToQt(request.caption);
    setup.text = ToQt(request.text);
    setup.detail = ToQt(request.detail);
    setup.icon = MapIcon(request.type);
    switch (request.type & fw::MB_TYPEMASK) {
        case fw::MB_OKCANCEL:
            setup.buttons = {{QMessageBox::Ok, fw::IDOK}, {QMessageBox::Cancel, fw::IDCANCEL}};
            setup.escapeResult = fw::IDCANCEL;
            break;
        case fw::MB_YESNO:
            setup.buttons = {{QMessageBox::Yes, fw::IDYES}, {QMessageBox::No, fw::IDNO}};
            setup.escapeResult = 0;
            break;
        case fw::MB_YESNOCANCEL:
            setup.buttons = {{QMessageBox::Yes, fw::IDYES},
                             {QMessageBox::No, fw::IDNO},
                             {QMessageBox::Cancel, fw::IDCANCEL}};
            setup.escapeResult = fw::IDCANCEL;
            break;
        default:
            setup.buttons = {{QMessageBox::Ok, fw::IDOK}};
            setup.escapeResult = fw::IDOK;
            break;
    }
    return setup;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxSetup& setup, QWidget* parent) {
    auto box = std::make_unique<FwMessageBox>(setup, parent);
    if (!setup.detail.isEmpty()) {
        box->setDetailedText(setup.detail);
    }
    for (const auto& b : setup.buttons) {
        QAbstractButton* button = box->addButton(b.button);
        if (b.result == setup.escapeResult) {
            box->setEscapeButton(button);
        }
    }
    if (!setup.buttons.empty()) {
        box->setDefaultButton(setup.buttons.front().button);
    }
    return box;
}

int ExecMessageBox(const MessageBoxSetup& setup, QWidget* parent) {
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(setup, parent);
    box->exec();
    const QMessageBox::StandardButton clicked = box->standardButton(box->clickedButton());
    for (const auto& b : setup.buttons) {
        if (b.button == clicked) {
            return b.result;
        }
    }
    return setup.escapeResult != 0 ? setup.escapeResult : setup.buttons.front().result;
}

}  // namespace fwqt
