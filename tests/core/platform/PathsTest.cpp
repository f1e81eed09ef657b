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
}

TEST(Paths, JoinAddsOneSeparatorOnlyWhenMissing) {
    EXPECT_EQ(joinPath("/orv", "orv.exe"), "/orv/orv.exe");
    EXPECT_EQ(joinPath("/orv/", "orv.exe"), "/orv/orv.exe");
    EXPECT_EQ(joinPath("C:\\Orv\\", "orv.exe"), "C:\\Orv\\orv.exe");
    EXPECT_EQ(joinPath("", "orv.exe"), "orv.exe");
}

TEST(Paths, ResolvesEachComponentWithoutRegardToCase) {
    TempDir dir;
    touch(dir.path() / "Players" / "Joe" / "PLAYER.INI");
    const std::string base = dir.path().string();
    EXPECT_EQ(resolveUnder(base, "players/joe/player.ini"), base + "/Players/Joe/PLAYER.INI");
    EXPECT_EQ(resolveUnder(base, "players\\JOE\\player.ini"), base + "/Players/Joe/PLAYER.INI");
}

TEST(Paths, PrefersTheExactSpellingAndKeepsTheRestOfAMissingPath) {
    TempDir dir;
    touch(dir.path() / "tracks" / "a.ini");
    touch(dir.path() / "Tracks" / "b.ini");
    const std::string base = dir.path().string();
    EXPECT_EQ(resolveUnder(base, "tracks/a.ini"), base + "/tracks/a.ini");
    EXPECT_EQ(resolveUnder(base, "TRACKS/monza/track.ini"), base + "/Tracks/monza/track.ini");
    EXPECT_EQ(resolveUnder(base, "replay/x.rpy"), base + "/replay/x.rpy");
}

TEST(WinePaths, MapsDriveLettersIntoThePrefix) {
    TempDir dir;
    const std::string prefix = dir.path().string();
    std::filesystem::create_directories(dir.path() / "drive_c" / "Program Files" / "Sellory" / "ORV");
    EXPECT_EQ(movrane::mapDrivePath("C:\\program files\\sellory\\orv", prefix),
              prefix + "/drive_c/Program Files/Sellory/ORV");
    EXPECT_EQ(movrane::mapDrivePath("d:\\Games\\Orv", prefix), prefix + "/dosdevices/d:/Games/Orv");
    EXPECT_EQ(movrane::mapDrivePath("/home/joe/orv", prefix), "/home/joe/orv");
    EXPECT_FALSE(movrane::isDrivePath("C:orv"));
}

}  // namespace
