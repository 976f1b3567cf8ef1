#include "platform/qt/control_widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/fw/dialog.h"
#include "platform/qt/grid_widget.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/widgets.h"

namespace fwqt {

namespace {

using fw::ControlKind;

// Set on a static text whose mnemonic is live (it has a buddy); others show the text stripped.
constexpr const char* kHasBuddyProperty = "tavHasBuddy";

bool Has(const fw::Control& control, std::uint32_t style) {
    return (control.Style() & style) != 0;
}

QWidget* CreateLabel(const fw::Control& control, QWidget* client) {
    auto* label = new QLabel(client);
    label->setTextFormat(Qt::PlainText);
    // Static texts wrap at word boundaries and sit at the top of their rectangle.
    label->setWordWrap(true);
    Qt::Alignment align = Qt::AlignLeft;
    if (Has(control, fw::kAlignCenter)) {
        align = Qt::AlignHCenter;
    } else if (Has(control, fw::kAlignRight)) {
        align = Qt::AlignRight;
    }
    label->setAlignment(align | Qt::AlignTop);
    return label;
}

QWidget* CreateMultiLineEdit(const fw::Control& control, QWidget* client) {
    auto* edit = new QPlainTextEdit(client);
    edit->setFrameStyle(Has(control, fw::kBorder) ? QFrame::StyledPanel | QFrame::Sunken
                                                  : QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Has(control, fw::kVScroll) ? Qt::ScrollBarAlwaysOn
                                                                : Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setTabChangesFocus(true);
    return edit;
}

QWidget* CreateListBox(const fw::Control& control, QWidget* client) {
    auto* list = new QListWidget(client);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    if (Has(control, fw::kMultiColumn)) {
        // Items fill a column top to bottom, then the next column; scrolled sideways.
        list->setFlow(QListView::TopToBottom);
        list->setWrapping(true);
        list->setResizeMode(QListView::Adjust);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    return list;
}

QWidget* CreateWidget(const fw::Control& control, QWidget* client) {
    switch (control.Kind()) {
        case ControlKind::Static:
            return CreateLabel(control, client);
        case ControlKind::Icon: {
            auto* label = new QLabel(client);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::Frame: {
            auto* frame = new QFrame(client);
            frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
            return frame;
        }
        case ControlKind::GridPlaceholder: {
            auto* frame = new QFrame(client);
            frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            return frame;
        }
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* button = new QPushButton(client);
            // Enter is routed by the peer, as the dialog manager does; Qt must not press a button
            // on its own.
            button->setAutoDefault(false);
            button->setDefault(control.Kind() == ControlKind::DefPushButton);
            return button;
        }
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(client);
            // The framework unchecks the other buttons of the group.
            radio->setAutoExclusive(false);
            return radio;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(client);
        case ControlKind::GroupBox:
            return new FwGroupBox(client);
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(client);
            edit->setFrame(Has(control, fw::kBorder));
            return edit;
        }
        case ControlKind::MultiLineEdit:
            return CreateMultiLineEdit(control, client);
        case ControlKind::DropDownList:
        case ControlKind::DropDownCombo: {
            auto* combo = new FwComboBox(client);
            if (control.Kind() == ControlKind::DropDownCombo) {
                combo->setEditable(true);
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setCompleter(nullptr);
            }
            return combo;
        }
        case ControlKind::Grid:
            return new FwGridWidget(client);
        case ControlKind::ListBox:
            return CreateListBox(control, client);
    }
    return new QWidget(client);
}

bool IsMouseTransparent(ControlKind kind) {
    // Statics and frames let clicks through to what lies under them, as on the original platform.
    return kind == ControlKind::Static || kind == ControlKind::Icon || kind == ControlKind::Frame ||
           kind == ControlKind::GroupBox;
}

void MirrorText(QWidget* widget, const fw::Control& control) {
    const std::string& text = control.GetWindowText();
    switch (control.Kind()) {
        case ControlKind::Static:
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                const bool live = label->property(kHasBuddyProperty).toBool();
                label->setText(ToQt(live ? text : fw::StripMnemonic(text)));
            }
            break;
        case ControlKind::Icon:
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                int id = 0;
                std::from_chars(text.data(), text.data() + text.size(), id);
                label->setPixmap(IconPixmap(id));
            }
            break;
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                button->setText(ToQt(text));
            }
            break;
        case ControlKind::GroupBox:
            if (auto* box = qobject_cast<QGroupBox*>(widget)) {
                box->setTitle(ToQt(text));
            }
            break;
        case ControlKind::Edit:
            if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->text() != ToQt(text)) {
                edit->setText(ToQt(text));
            }
            break;
        case ControlKind::MultiLineEdit:
            if (auto* edit = qobject_cast<QPlainTextEdit*>(widget);
                edit && edit->toPlainText() != ToQtLines(text)) {
                edit->setPlainText(ToQtLines(text));
            }
            break;
        case ControlKind::DropDownCombo:
            if (auto* combo = qobject_cast<QComboBox*>(widget);
                combo && combo->currentText() != ToQt(text)) {
                combo->setEditText(ToQt(text));
            }
            break;
        case ControlKind::DropDownList:
        case ControlKind::ListBox:
        case ControlKind::Frame:
        case ControlKind::GridPlaceholder:
        case ControlKind::Grid:
            break;
    }
}

// A grid shows everything at once: cells, widths, colours, selection.
bool MirrorGrid(QWidget* widget, const fw::Control& control) {
    auto* table = dynamic_cast<FwGridWidget*>(widget);
    const auto* grid = dynamic_cast<const fw::CGridCtrl*>(&control);
    if (table == nullptr || grid == nullptr) {
        return false;
    }
    table->Mirror(*grid);
    return true;
}

void MirrorCheck(QWidget* widget, const fw::Control& control) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (control.GetCheck() == 2) {
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
        } else {
            box->setCheckState(control.GetCheck() != 0 ? Qt::Checked : Qt::Unchecked);
        }
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        radio->setChecked(control.GetCheck() != 0);
    }
}

void MirrorSelection(QWidget* widget, const fw::Control& control) {
    const int sel = control.GetCurSel();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->currentIndex() != sel) {
            QLineEdit* edit = combo->lineEdit();
            const int cursor = edit != nullptr ? edit->cursorPosition() : 0;
            const QString before = combo->currentText();
            combo->setCurrentIndex(sel);
            // The framework's text wins: Qt empties the edit part whenever nothing is selected,
            // but text the user typed over a choice stays; the caret stays where the user left
            // it.
            MirrorText(widget, control);
            if (edit != nullptr && combo->currentText() == before) {
                edit->setCursorPosition(cursor);
            }
            return;
        }
        MirrorText(widget, control);
    } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
        if (sel < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else if (list->currentRow() != sel) {
            list->setCurrentRow(sel);
            list->scrollToItem(list->item(sel));
        }
    }
}

// Follows the control's latest item change when the widget is one change behind (the usual
// case: every change is mirrored as it happens), so that filling a list costs linear time;
// otherwise the widget takes every item again.
bool FollowItemsEdit(QWidget* widget, const fw::Control& control) {
    const auto& items = control.Items();
    const int count = control.GetCount();
    const fw::Control::ItemsEdit edit = control.LastItemsEdit();
    auto* combo = qobject_cast<QComboBox*>(widget);
    auto* list = qobject_cast<QListWidget*>(widget);
    const int shown = combo != nullptr ? combo->count() : list != nullptr ? list->count() : -1;
    if (shown < 0 || edit.index < 0) {
        return false;
    }
    using Kind = fw::Control::ItemsEdit::Kind;
    if (edit.kind == Kind::Insert && shown == count - 1 && edit.index < count) {
        const QString text = ToQt(items[static_cast<std::size_t>(edit.index)]);
        if (combo != nullptr) {
            combo->insertItem(edit.index, text);
        } else {
            list->insertItem(edit.index, text);
        }
        return true;
    }
    if (edit.kind == Kind::Delete && shown == count + 1 && edit.index <= count) {
        if (combo != nullptr) {
            combo->removeItem(edit.index);
        } else {
            const std::unique_ptr<QListWidgetItem> taken(list->takeItem(edit.index));
        }
        return true;
    }
    return false;
}

void MirrorItems(QWidget* widget, const fw::Control& control) {
    if (!FollowItemsEdit(widget, control)) {
        QStringList items;
        for (const auto& item : control.Items()) {
            items << ToQt(item);
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->clear();
            combo->addItems(items);
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            list->clear();
            list->addItems(items);
        }
    }
    MirrorSelection(widget, control);
}

void MirrorEnabled(QWidget* widget, const fw::Control& control) {
    widget->setEnabled(control.IsWindowEnabled() != fw::FALSE);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setReadOnly(control.IsReadOnly());
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) {
        text->setReadOnly(control.IsReadOnly());
    }
}

void MirrorGeometry(QWidget* widget, const fw::Control& control) {
    QRect rect = ClientRectOf(control);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // A combo box's template height includes its dropped-down list.
        const int face = combo->sizeHint().height();
        const int item = qMax(1, combo->fontMetrics().height() + 2);
        if (rect.height() > face + item) {
            combo->setMaxVisibleItems(qMax(1, (rect.height() - face) / item));
        }
        rect.setHeight(face);
    }
    widget->setGeometry(rect);
}

}  // namespace

QWidget* CreateControlWidget(const fw::Control& control, QWidget* client) {
    QWidget* widget = CreateWidget(control, client);
    widget->setObjectName(QStringLiteral("control%1").arg(control.GetDlgCtrlID()));
    widget->setProperty(kControlIdProperty, control.GetDlgCtrlID());
    if (IsMouseTransparent(control.Kind())) {
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    return widget;
}

QPixmap IconPixmap(int iconId) {
    const fw::ResourceSet* res = fw::InstalledResources();
    const fw::IconResource* icon = res != nullptr ? res->FindIcon(iconId) : nullptr;
    if (icon == nullptr || icon->width <= 0 || icon->height <= 0 ||
        icon->argb.size() < static_cast<std::size_t>(icon->width) * icon->height) {
        return {};
    }
    // The pixels are ARGB32 values already: a row at a time, not a pixel at a time.
    QImage image(icon->width, icon->height, QImage::Format_ARGB32);
    const auto rowBytes = static_cast<std::size_t>(icon->width) * sizeof(std::uint32_t);
    for (int y = 0; y < icon->height; ++y) {
        std::memcpy(image.scanLine(y), &icon->argb[static_cast<std::size_t>(y) * icon->width],
                    rowBytes);
    }
    return QPixmap::fromImage(image);
}

QRect ClientRectOf(const fw::Control& control) {
    fw::Rect rect;
    control.GetWindowRect(&rect);
    fw::Rect origin;
    if (const fw::CWnd* parent = control.GetParent()) {
        parent->GetWindowRect(&origin);
    }
    return QRect(rect.left - origin.left, rect.top - origin.top, rect.Width(), rect.Height());
}

void MirrorControl(QWidget* widget, const fw::Control& control, fw::Change what) {
    if ((what == fw::Change::Items || what == fw::Change::Selection) &&
        MirrorGrid(widget, control)) {
        return;
    }
    switch (what) {
        case fw::Change::Text:
            MirrorText(widget, control);
            break;
        case fw::Change::Enabled:
            MirrorEnabled(widget, control);
            break;
        case fw::Change::Visible:
            widget->setVisible(control.IsWindowVisible() != fw::FALSE);
            break;
        case fw::Change::Check:
            MirrorCheck(widget, control);
            break;
        case fw::Change::Items:
            MirrorItems(widget, control);
            break;
        case fw::Change::Selection:
            MirrorSelection(widget, control);
            break;
        case fw::Change::Geometry:
            MirrorGeometry(widget, control);
            break;
        case fw::Change::Menu:
        case fw::Change::StatusBar:
            break;
    }
}

void MirrorUserState(QWidget* widget, const fw::Control& control) {
    MirrorGrid(widget, control);
    MirrorText(widget, control);
    MirrorCheck(widget, control);
    MirrorSelection(widget, control);
    MirrorEnabled(widget, control);
}

void MirrorAll(QWidget* widget, const fw::Control& control) {
    MirrorGrid(widget, control);
    MirrorItems(widget, control);
    MirrorText(widget, control);
    MirrorCheck(widget, control);
    MirrorEnabled(widget, control);
    MirrorGeometry(widget, control);
    widget->setVisible(control.IsWindowVisible() != fw::FALSE);
}

void SetLabelBuddy(QWidget* label, QWidget* buddy) {
    if (auto* l = qobject_cast<QLabel*>(label)) {
        l->setBuddy(buddy);
        l->setProperty(kHasBuddyProperty, buddy != nullptr);
    }
}

QString DisplayedText(const QWidget* widget) {
    auto strip = [](const QString& text) { return ToQt(fw::StripMnemonic(FromQt(text))); };
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->property(kHasBuddyProperty).toBool() ? strip(label->text()) : label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return strip(button->text());
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        return strip(box->title());
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return edit->text();
    }
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget)) {
        return text->toPlainText();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText();
    }
    return {};
}

}  // namespace fwqt
