#include <gtest/gtest.h>

#include <filesystem>

#include "core/platform/Paths.h"
#include "core/platform/WinePaths.h"
#include "support/TempDir.h"

namespace {

using movrane::cutAtLastSeparator;
using movrane::joinPath;
using movrane::resolveUnder;
using testsupport::TempDir;

void touch(const std::filesystem::path& p) {
    std::filesystem::create_directories(p.parent_path());
    testsupport::writeFileBytes(p, {'x'});
}

TEST(Paths, CutAtLastSeparatorCountsBothSeparators) {
    EXPECT_EQ(cutAtLastSeparator("C:\\Games\\Orv\\orv.exe"), "C:\\Games\\Orv");
    EXPECT_EQ(cutAtLastSeparator("/home/a/orv/orv.exe"), "/home/a/orv");
    EXPECT_EQ(cutAtLastSeparator("/home/a\\b/c\\orv.exe"), "/home/a\\b/c");
    EXPECT_EQ(cutAtLastSeparator("orv.exe"), "");
    EXPECT_EQ(movrane::afterLastSeparator("a/b\\c.rpy"), "c.rpy");
    // A join adds one separator only when it is missing.
    EXPECT_EQ(joinPath("/orv", "orv.exe"), "/orv/orv.exe");
    EXPECT_EQ(joinPath("/orv/", "orv.exe"), "/orv/orv.exe");
    EXPECT_EQ(joinPath("C:\\Orv\\", "orv.exe"), "C:\\Orv\\orv.exe");
    EXPECT_EQ(joinPath("", "orv.exe"), "orv.exe");
    // Each component is resolved without regard to case.
    TempDir dir;
    touch(dir.path() / "Players" / "Joe" / "PLAYER.INI");
    touch(dir.path() / "tracks" / "a.ini");
    touch(dir.path() / "Tracks" / "b.ini");
    const std::string base = dir.path().string();
    EXPECT_EQ(resolveUnder(base, "players/joe/player.ini"), base + "/Players/Joe/PLAYER.INI");
    EXPECT_EQ(resolveUnder(base, "players\\JOE\\player.ini"), base + "/Players/Joe/PLAYER.INI");
    EXPECT_EQ(resolveUnder(base, "tracks/a.ini"), base + "/tracks/a.ini");
    EXPECT_EQ(resolveUnder(base, "TRACKS/monza/track.ini"), base + "/Tracks/monza/track.ini");
    EXPECT_EQ(resolveUnder(base, "replay/x.rpy"), base + "/replay/x.rpy");
    // Drive letters are mapped into the Wine prefix.
    TempDir wine;
    const std::string winePrefix = wine.path().string();
    std::filesystem::create_directories(wine.path() / "drive_c" / "Program Files" / "Sellory" / "ORV");
    EXPECT_EQ(movrane::mapDrivePath("C:\\program files\\sellory\\orv", winePrefix),
              winePrefix + "/drive_c/Program Files/Sellory/ORV");
    EXPECT_EQ(movrane::mapDrivePath("d:\\Games\\Orv", winePrefix), winePrefix + "/dosdevices/d:/Games/Orv");
    EXPECT_EQ(movrane::mapDrivePath("/home/joe/orv", winePrefix), "/home/joe/orv");
    EXPECT_FALSE(movrane::isDrivePath("C:orv"));
}

// Each component is resolved without regard to case; the exact spelling is preferred and
// the rest of a missing path kept.

}  // namespace
