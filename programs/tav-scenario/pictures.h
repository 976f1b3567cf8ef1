// Pictures of windows for the operator's guide: the window as the operator sees it, under a plain
// title bar that carries its title (the offscreen platform draws no window frame), saved as a
// small palette PNG.
#pragma once

#include <QImage>
#include <QString>

class QMessageBox;
class QWidget;

namespace pictures {

// The widget's picture under a title bar showing title.
QImage WithTitleBar(const QWidget& window, const QString& title);

// The image with at most 256 colours: exactly its own when it has that few, else its colours
// rounded to fewer shades first (anti-aliased text brings many near-equal greys).
QImage ToPalette(const QImage& image);

// Shows the box's detailed text as "Show Details..." does; false when the box has none.
bool ShowDetails(QMessageBox& box);

// Saves the window's picture as a palette PNG; false when the file cannot be written.
bool Save(const QWidget& window, const QString& title, const QString& path);

}  // namespace pictures
