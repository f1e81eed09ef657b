#include <gtest/gtest.h>

#include "core/platform/FileDialogFolders.h"

using movrane::FileDialogFolders;
using movrane::Ui;

// The first chooser of a kind starts where the command asks; later ones in the folder
// last used for that kind, a save chooser keeping its suggested name.
TEST(FileDialogFolders, StartInTheFolderLastUsedForTheKind) {
    FileDialogFolders folders;
    const Ui::FileRequest replay{"Select Replay File", {{"Replay files (*.rpy)", "*.rpy"}}, "/orv/replay", {}};
    const Ui::FileRequest bitmap{"Save", {{"Bitmap files (*.bmp)", "*.bmp"}}, "/orv/replay/harbour.bmp", ".bmp"};
    const Ui::FileRequest groove{"Groove", {{"Groove files (*.grv)", "*.grv"}}, "harbour.grv", ".grv"};

    EXPECT_EQ(folders.startingPoint(replay, false).initialPath, "/orv/replay");
    folders.remember(replay, "/leagues/round3/race.rpy");
    EXPECT_EQ(folders.startingPoint(replay, false).initialPath, "/leagues/round3");
    EXPECT_EQ(folders.startingPoint(replay, false).title, "Select Replay File");
    EXPECT_EQ(folders.startingPoint(bitmap, true).initialPath, "/orv/replay/harbour.bmp") << "another kind";

    folders.remember(bitmap, "/pictures/map.bmp");
    folders.remember(groove, "/tracks/harbour/line.grv");
    EXPECT_EQ(folders.startingPoint(bitmap, true).initialPath, "/pictures/harbour.bmp");
    EXPECT_EQ(folders.startingPoint(groove, true).initialPath, "/tracks/harbour/harbour.grv");
    folders.remember(replay, "bare-name.rpy");
    EXPECT_EQ(folders.startingPoint(replay, false).initialPath, "/leagues/round3") << "a name without folder";
}
