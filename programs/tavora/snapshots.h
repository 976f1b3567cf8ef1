// Pictures of Tavora's windows for a run without a display.
#pragma once

#include <QString>

class QApplication;

namespace tavora {

// Saves each visible top-level window with a title as a PNG into folder, one file per window:
// "NN-Title.png", numbered in the order the windows first appeared (the please-wait window and
// the main window share a title). seen counts the windows numbered so far.
void SaveSnapshots(const QString& folder, int& seen);

// Every half second, when $TAVORA_SNAPSHOT_DIR names a folder.
void StartSnapshots(QApplication& app);

}  // namespace tavora
