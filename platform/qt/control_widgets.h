// One Qt widget per framework control, and the mirroring of the control's state into it. The
// caller blocks the widget's signals while mirroring so that nothing echoes back.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>
#include <string>

#include "platform/fw/window.h"

class QWidget;

namespace fwqt {

// The widget's dynamic property holding the control id, for tools and tests.
inline constexpr const char* kControlIdProperty = "controlId";

QWidget* CreateControlWidget(const fw::Control& control, QWidget* client);

// The picture of an icon resource; a null pixmap when there is none.
QPixmap IconPixmap(int iconId);

// A control's rectangle in its dialog's client area, in pixels.
QRect ClientRectOf(const fw::Control& control);

// Mirrors one aspect of the control's state.
void MirrorControl(QWidget* widget, const fw::Control& control, fw::Change what);
// Mirrors everything the user can change (text, check, selection) and the enabled state.
void MirrorUserState(QWidget* widget, const fw::Control& control);
// Mirrors everything.
void MirrorAll(QWidget* widget, const fw::Control& control);

// Lets a static text's mnemonic move the focus to the given control, as on the original platform.
void SetLabelBuddy(QWidget* label, QWidget* buddy);

// What the control shows as text, with the mnemonic marker stripped (tests and tools).
QString DisplayedText(const QWidget* widget);

}  // namespace fwqt
