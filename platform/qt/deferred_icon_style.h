// The application's style, unchanged but for when one icon is made: see InstallDeferredIconStyle.
#pragma once

namespace fwqt {

// Wraps the application's style (whichever was chosen: platform, -style, QT_STYLE_OVERRIDE) in a
// proxy that answers every question as it does, except that the menu bar's overflow button gets
// its icon when the icon is first drawn or measured instead of when the menu bar is built. Qt
// reads that icon from PNG files through QImageReader, which loads every image format plugin (and
// libjpeg) to ask whether it reads PNG; the button shows only when the menu does not fit, so this
// was a cost paid at every start for a picture rarely seen. Call before any widget exists; a second
// call changes nothing.
void InstallDeferredIconStyle();

}  // namespace fwqt
