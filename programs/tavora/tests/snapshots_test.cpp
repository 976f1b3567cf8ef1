// Snapshots without a display: every window gets a file of its own, even when titles repeat.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include "programs/tavora/snapshots.h"

namespace {

TEST(Snapshots, WindowsWithTheSameTitleEachGetTheirOwnFileEveryTime) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QWidget wait;
    wait.setWindowTitle("Tavora");
    wait.resize(200, 80);
    wait.show();
    QWidget main;
    main.setWindowTitle("Tavora");
    main.resize(300, 200);
    main.show();
    QWidget untitled;
    untitled.show();

    int seen = 0;
    tavora::SaveSnapshots(folder.path(), seen);
    tavora::SaveSnapshots(folder.path(), seen);  // the same windows keep their files
    const QStringList files = QDir(folder.path()).entryList({"*.png"}, QDir::Files, QDir::Name);
    EXPECT_EQ(files, QStringList({"01-Tavora.png", "02-Tavora.png"}));
    EXPECT_EQ(seen, 2);
}

}  // namespace
