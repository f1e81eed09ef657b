#include <gtest/gtest.h>

#include <string>

#include "core/replay/Header.h"
#include "samplekit/ReplayWriter.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using movrane::Header;
using testsupport::TempDir;

namespace {

samplekit::ReplayDescription basicDescription() {
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(2);
    return d;
}

std::string writeReplay(const TempDir& dir, const samplekit::ReplayDescription& d, const char* name = "r.rpy") {
    const std::string path = dir.file(name);
    testsupport::writeStampedReplay(path, d, {{0, 1000, 2}});
    return path;
}

}  // namespace

TEST(HeaderLoad, RefusesFilesThatAreNoReplays) {
    TempDir dir;
    Header h;
    EXPECT_EQ(h.load(dir.file("missing.rpy")), Header::CANNOT_OPEN);
    EXPECT_EQ(h.load(dir.path().string()), Header::CANNOT_OPEN) << "a folder is no replay";

    testsupport::writeFileBytes(dir.file("empty.rpy"), {});
    EXPECT_EQ(h.load(dir.file("empty.rpy")), Header::NO_SIZE);
    EXPECT_STREQ(h.errorMessage(), "HeaderClass: Error reading file!");
    EXPECT_STREQ(h.failureText(), "the file is empty");

    auto bytes = testsupport::readFileBytes(writeReplay(dir, basicDescription()));
    auto foreign = bytes;
    foreign[0] = 'R', foreign[1] = 'P', foreign[2] = 'L', foreign[3] = 'Y';
    testsupport::writeFileBytes(dir.file("foreign.rpy"), foreign);
    EXPECT_EQ(h.load(dir.file("foreign.rpy")), Header::NOT_A_REPLAY);
    EXPECT_STREQ(h.failureText(), "the file is not a replay");

    auto shortFile = bytes;
    shortFile.resize(200);
    testsupport::writeFileBytes(dir.file("short.rpy"), shortFile);
    EXPECT_EQ(h.load(dir.file("short.rpy")), Header::NOT_A_REPLAY) << "the fixed part is incomplete";
    EXPECT_STREQ(h.failureText(), "the file is too short for a replay header");
    EXPECT_EQ(h.load(writeReplay(dir, basicDescription())), Header::OK);
    EXPECT_STREQ(h.failureText(), "no failure");
}

TEST(HeaderLoad, AcceptsVersionsUpToTwoAndNamesTheKelsunCase) {
    TempDir dir;
    Header h;
    for (uint32_t version : {0u, 1u, 2u}) {
        auto d = basicDescription();
        d.version = version;
        EXPECT_EQ(h.load(writeReplay(dir, d)), Header::OK) << version;
        EXPECT_EQ(h.versionByte(), version);
    }
    EXPECT_STREQ(h.versionText(), ">=1.2");

    auto d = basicDescription();
    d.version = 3;
    EXPECT_EQ(h.load(writeReplay(dir, d)), Header::NOT_A_REPLAY);
    EXPECT_EQ(h.versionByte(), 3);
    EXPECT_STREQ(h.errorMessage(), "HeaderClass: Kelsun 4 replays not supported!");
    EXPECT_STREQ(h.failureText(), "the replay's format version is not supported");

    d.version = 4;
    EXPECT_EQ(h.load(writeReplay(dir, d)), Header::NOT_A_REPLAY);
    EXPECT_STREQ(h.errorMessage(), "HeaderClass: Error reading file!");

    d.version = 0x100;  // refused by the unsigned compare, low byte 0
    EXPECT_EQ(h.load(writeReplay(dir, d)), Header::NOT_A_REPLAY);
    EXPECT_STREQ(h.errorMessage(), "HeaderClass: Error reading file!");
}

TEST(HeaderLoad, ReadsTheSessionFields) {
    TempDir dir;
    auto d = basicDescription();
    d.version = 0;
    d.trackName = "SampleRing";
    d.carSet = "cars67";
    d.sessionType = 3;
    d.count156 = 4242;
    d.difficulty = 2;
    d.scheduledLaps = 12;
    d.scheduledLapsAlt = 40;
    d.playerIndex = 1;
    Header h;
    ASSERT_EQ(h.load(writeReplay(dir, d)), Header::OK);
    EXPECT_STREQ(h.versionText(), "<1.2");
    EXPECT_EQ(h.trackName(), "samplering");
    EXPECT_EQ(h.carSetName(), "cars67");
    EXPECT_EQ(h.sessionType(), 3);
    EXPECT_STREQ(h.sessionTypeName(), "Pro Short");
    EXPECT_EQ(h.count156(), 4242);
    EXPECT_STREQ(h.difficultyName(), "Advanced");
    EXPECT_EQ(h.scheduledLaps(), 12);
    EXPECT_EQ(h.playerIndex(), 1u);
    EXPECT_EQ(h.playerName1(), "First1");
    EXPECT_EQ(h.recordedFrames(), 72u);

    d.sessionKind = 3;  // the alternative word holds the laps
    ASSERT_EQ(h.load(writeReplay(dir, d)), Header::OK);
    EXPECT_EQ(h.scheduledLaps(), 40);

    d.sessionType = 0;
    d.sessionKind = 1;
    ASSERT_EQ(h.load(writeReplay(dir, d)), Header::OK);
    EXPECT_EQ(h.sessionType(), -1);
    EXPECT_STREQ(h.sessionTypeName(), "Training");
}

TEST(HeaderLoad, CutsNameFieldsWithoutTerminatorTo15Characters) {
    TempDir dir;
    auto d = basicDescription();
    d.playerName1 = "ABCDEFGHIJKLMNOP";  // 16 characters fill the field
    d.trackName = "sixteencharsname";
    Header h;
    ASSERT_EQ(h.load(writeReplay(dir, d)), Header::OK);
    EXPECT_EQ(h.playerName1(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(h.trackName(), "sixteencharsnam");
}
