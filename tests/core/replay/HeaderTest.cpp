#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <tuple>

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
    ASSERT_EQ(::mkfifo(dir.file("pipe.rpy").c_str(), 0600), 0);
    EXPECT_EQ(h.load(dir.file("pipe.rpy")), Header::CANNOT_OPEN) << "a named pipe is no replay, and opening it must not wait";

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
    // Versions up to 2 are accepted; the Kelsun case is named.
    Header versioned;
    for (uint32_t version : {0u, 1u, 2u}) {
        auto versionedReplay = basicDescription();
        versionedReplay.version = version;
        EXPECT_EQ(versioned.load(writeReplay(dir, versionedReplay)), Header::OK) << version;
        EXPECT_EQ(versioned.versionByte(), version);
    }
    EXPECT_STREQ(versioned.versionText(), ">=1.2");

    auto versionedReplay = basicDescription();
    versionedReplay.version = 3;
    EXPECT_EQ(versioned.load(writeReplay(dir, versionedReplay)), Header::NOT_A_REPLAY);
    EXPECT_EQ(versioned.versionByte(), 3);
    EXPECT_STREQ(versioned.errorMessage(), "HeaderClass: Kelsun 4 replays not supported!");
    EXPECT_STREQ(versioned.failureText(), "the replay's format version is not supported");

    versionedReplay.version = 4;
    EXPECT_EQ(versioned.load(writeReplay(dir, versionedReplay)), Header::NOT_A_REPLAY);
    EXPECT_STREQ(versioned.errorMessage(), "HeaderClass: Error reading file!");

    versionedReplay.version = 0x100;  // refused by the unsigned compare, low byte 0
    EXPECT_EQ(versioned.load(writeReplay(dir, versionedReplay)), Header::NOT_A_REPLAY);
    EXPECT_STREQ(versioned.errorMessage(), "HeaderClass: Error reading file!");
    // The session fields.
    auto session = basicDescription();
    session.version = 0;
    session.playerIndex = 1;
    session.trackName = "SampleRing";
    session.sessionType = 3;
    session.count156 = 4242;
    session.difficulty = 2;
    session.scheduledLaps = 12;
    session.scheduledLapsAlt = 40;
    Header sessionHeader;
    ASSERT_EQ(sessionHeader.load(writeReplay(dir, session)), Header::OK);
    EXPECT_EQ(std::tuple(std::string(sessionHeader.versionText()), sessionHeader.trackName(), sessionHeader.carSetName(), sessionHeader.sessionType(),
                         std::string(sessionHeader.sessionTypeName()), sessionHeader.count156(), std::string(sessionHeader.difficultyName())),
              std::tuple("<1.2", "samplering", "cars67", 3, "Pro Short", 4242, "Advanced"));
    EXPECT_EQ(std::tuple(sessionHeader.scheduledLaps(), sessionHeader.playerIndex(), sessionHeader.playerName1(), sessionHeader.recordedFrames()),
              std::tuple(12, 1u, "First1", 72u));

    session.sessionKind = 3;  // the alternative word holds the laps
    ASSERT_EQ(sessionHeader.load(writeReplay(dir, session)), Header::OK);
    EXPECT_EQ(sessionHeader.scheduledLaps(), 40);

    session.sessionType = 0;
    session.sessionKind = 1;
    ASSERT_EQ(sessionHeader.load(writeReplay(dir, session)), Header::OK);
    EXPECT_EQ(sessionHeader.sessionType(), -1);
    EXPECT_STREQ(sessionHeader.sessionTypeName(), "Training");
    // Name fields without a terminator are cut to 15 characters.
    auto longNames = basicDescription();
    longNames.playerName1 = "ABCDEFGHIJKLMNOP";  // 16 characters fill the field
    longNames.trackName = "sixteencharsname";
    Header longNamed;
    ASSERT_EQ(longNamed.load(writeReplay(dir, longNames)), Header::OK);
    EXPECT_EQ(longNamed.playerName1(), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(longNamed.trackName(), "sixteencharsnam");
}

