// Every template of the program's resources, built by the Qt back end: one widget of the right
// kind per control, with its id, text, state and place; and no text that does not fit.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableWidget>
#include <sstream>

#include "platform/qt/control_widgets.h"
#include "platform/qt/qt_text.h"
#include "qt_fixture.h"
#include "res/resources.h"

namespace qttest {
namespace {

using fw::ControlKind;
using fwqt::ToQt;

template <class T>
T* As(QWidget* w) {
    return qobject_cast<T*>(w);
}

bool KindMatches(ControlKind kind, QWidget* w) {
    auto* button = As<QPushButton>(w);
    auto* combo = As<QComboBox>(w);
    switch (kind) {
        case ControlKind::Static:
        case ControlKind::Icon:
            return As<QLabel>(w) != nullptr;
        case ControlKind::Frame:
        case ControlKind::GridPlaceholder:
            return As<QFrame>(w) != nullptr;
        case ControlKind::Grid:
            return As<QTableWidget>(w) != nullptr;
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
            return button != nullptr && button->isDefault() == (kind == ControlKind::DefPushButton);
        case ControlKind::RadioButton:
            return As<QRadioButton>(w) != nullptr && !As<QRadioButton>(w)->autoExclusive();
        case ControlKind::CheckBox:
            return As<QCheckBox>(w) != nullptr;
        case ControlKind::GroupBox:
            return As<QGroupBox>(w) != nullptr;
        case ControlKind::Edit:
            return As<QLineEdit>(w) != nullptr;
        case ControlKind::MultiLineEdit:
            return As<QPlainTextEdit>(w) != nullptr;
        case ControlKind::DropDownList:
        case ControlKind::DropDownCombo:
            return combo != nullptr && combo->isEditable() == (kind == ControlKind::DropDownCombo);
        case ControlKind::ListBox:
            return As<QListWidget>(w) != nullptr;
    }
    return false;
}

// Kinds that show a text a user reads; edits show theirs but may scroll it.
bool ShowsText(ControlKind kind, bool countEdits = true) {
    return kind == ControlKind::Static || kind == ControlKind::PushButton ||
           kind == ControlKind::DefPushButton || kind == ControlKind::RadioButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::GroupBox ||
           (countEdits && (kind == ControlKind::Edit || kind == ControlKind::MultiLineEdit));
}

// What a text control needs to show its text whole, in pixels.
QSize NeededSize(ControlKind kind, QWidget* w, int availableWidth) {
    const QFontMetrics fm = w->fontMetrics();
    const QString text = fwqt::DisplayedText(w);
    int widest = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        widest = qMax(widest, fm.horizontalAdvance(line));
    }
    const int height = fm.height() * static_cast<int>(lines.size());
    switch (kind) {
        case ControlKind::Static: {
            // A static wraps at word boundaries when its rectangle has room for more lines.
            const QRect wrapped =
                fm.boundingRect(QRect(0, 0, availableWidth, 10000), Qt::TextWordWrap, text);
            if (w->height() >= 2 * fm.height()) {
                return QSize(qMin(widest, availableWidth), wrapped.height());
            }
            return QSize(widest, height);
        }
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            const QStyle* style = w->style();
            const int frame = 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
            return QSize(widest + frame + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w),
                         fm.height() + frame);
        }
        case ControlKind::RadioButton:
        case ControlKind::CheckBox:
            return QSize(w->sizeHint().width(), fm.height());
        case ControlKind::GroupBox:
            // The title sits one character in from the frame's corner.
            return QSize(widest + 2 * fm.averageCharWidth() + 4, fm.height());
        default:
            return QSize(0, 0);
    }
}

TEST_F(QtTest, EveryProgramTemplateBuildsItsWidgetsWithoutClippingTexts) {
    UseProgramResources();
    std::ostringstream report;
    int clipped = 0;
    const fw::ResourceSet& res = tav::TavResources();
    ASSERT_FALSE(res.dialogs.empty());
    for (const auto& tmpl : res.dialogs) {
        SCOPED_TRACE("template " + std::to_string(tmpl.id));
        fw::CDialog dialog(tmpl.id);
        ASSERT_TRUE(dialog.Create(tmpl.id));
        QWidget* top = Backend().PeerWidget(dialog);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->windowTitle(), ToQt(tmpl.title));
        const fw::Rect client = dialog.MapDialogRect(tmpl.rect);
        EXPECT_EQ(top->width(), client.Width());
        QMenuBar* menu = top->findChild<QMenuBar*>();
        EXPECT_EQ(menu != nullptr, tmpl.menuId != 0);
        EXPECT_EQ(top->height(), client.Height() + (menu != nullptr ? menu->height() : 0));

        ASSERT_EQ(dialog.Controls().size(), tmpl.controls.size());
        for (std::size_t i = 0; i < tmpl.controls.size(); ++i) {
            const fw::ControlTemplate& ct = tmpl.controls[i];
            SCOPED_TRACE("control " + std::to_string(ct.id) + " '" + ct.text + "'");
            QWidget* w = Backend().ControlWidget(*dialog.Controls()[i]);
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->property(fwqt::kControlIdProperty).toInt(), ct.id);
            EXPECT_TRUE(KindMatches(ct.kind, w));
            EXPECT_EQ(w->isEnabled(), (ct.style & fw::kDisabled) == 0);
            EXPECT_EQ(w->isVisibleTo(top), (ct.style & fw::kHidden) == 0);
            if (ShowsText(ct.kind)) {
                EXPECT_EQ(fwqt::DisplayedText(w), ToQt(fw::StripMnemonic(ct.text)));
            }
            if (ct.kind == ControlKind::Icon) {
                ASSERT_NE(As<QLabel>(w), nullptr);
                EXPECT_FALSE(As<QLabel>(w)->pixmap().isNull());
            }
            const fw::Rect px = dialog.MapDialogRect(ct.rect);
            EXPECT_EQ(w->pos(), QPoint(px.left, px.top));
            EXPECT_EQ(w->width(), px.Width());
            if (As<QComboBox>(w) == nullptr) {
                EXPECT_EQ(w->height(), px.Height());
            }
            if (!ShowsText(ct.kind, false) || fwqt::DisplayedText(w).trimmed().isEmpty()) {
                continue;
            }
            const QSize need = NeededSize(ct.kind, w, w->width());
            if (need.width() > w->width() || need.height() > w->height()) {
                ++clipped;
                report << "  template " << tmpl.id << " control " << ct.id << " '"
                       << fwqt::DisplayedText(w).toStdString() << "': needs " << need.width() << "x"
                       << need.height() << " px, has " << w->width() << "x" << w->height() << "\n";
            }
        }
        dialog.DestroyWindow();
    }
    const fw::Size base = Backend().DialogBaseUnits(tav::TavResources().dialogs.front());
    EXPECT_EQ(clipped, 0) << "clipped texts (dialog base units " << base.cx << "x" << base.cy
                          << "):\n"
                          << report.str();
}

TEST_F(QtTest, BaseUnitsComeFromTheDialogFont) {
    fw::DialogTemplate tmpl;
    const fw::Size base = Backend().DialogBaseUnits(tmpl);
    EXPECT_GE(base.cx, 4);
    EXPECT_LE(base.cx, 12);
    EXPECT_GE(base.cy, 9);
    EXPECT_LE(base.cy, 24);
    tmpl.fontPoints = 16;
    const fw::Size big = Backend().DialogBaseUnits(tmpl);
    EXPECT_GT(big.cx, base.cx);
    EXPECT_GT(big.cy, base.cy);
}

}  // namespace
}  // namespace qttest
