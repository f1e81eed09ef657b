#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/replay/Drivers.h"
#include "samplekit/ReplayWriter.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using movrane::Drivers;
using movrane::PRACTICE;
using movrane::RACE;
using samplekit::LapTable;
using samplekit::ReplayDescription;
using testsupport::evenLaps;
using testsupport::StampedSession;
using testsupport::TempDir;

namespace {

ReplayDescription withDrivers(int count) {
    ReplayDescription d;
    d.drivers = testsupport::namedDrivers(count);
    return d;
}

LapTable table(const char* tag, std::vector<samplekit::LapEntry> entries) {
    return LapTable{tag, std::move(entries)};
}

// Practice from 0 s to 60 s (session id 0), then a race from 0 s to 120 s (session id 1).
const std::vector<StampedSession> PRACTICE_AND_RACE = {{0, 0, 60}, {1, 0, 120}};

Drivers load(const std::string& path) {
    Drivers d;
    EXPECT_EQ(d.load(path), Drivers::OK) << path;
    return d;
}

}  // namespace

// Which chunks count as the practice and the race table.
struct TableCase {
    const char* what;
    std::optional<LapTable> first;
    bool unnamedChunk;
    std::optional<LapTable> second;
    std::vector<StampedSession> sessions;
    bool practice, race;
    int practiceLaps, raceLaps;
};

TEST(DriversTables, PracticeAndRaceTablesAreFoundByTheirPlaceAndTheStream) {
    const LapTable practice3 = table("LBTP", {evenLaps(0, 2000, 10000, 3)});
    const LapTable race4 = table("BTPL", {evenLaps(0, 3000, 20000, 4)});
    const TableCase cases[] = {
        {"no table before the stream", std::nullopt, false, std::nullopt, {{0, 1000, 5}}, false, false, 0, 0},
        {"a practice table, then the stream to the end of the file", practice3, false, std::nullopt, {{0, 1000, 40}},
         true, false, 3, 0},
        {"a race table behind an unnamed chunk", practice3, true, race4, PRACTICE_AND_RACE, true, true, 3, 4},
        {"the one table of a race", table("LBTP", {evenLaps(0, 3000, 20000, 4)}), false, std::nullopt,
         {{1, 1000, 100}}, false, true, 0, 4},
        {"an empty first table", table("LBTP", {}), false, race4, {{1, 1000, 60}}, false, true, 0, 4},
    };
    for (const TableCase& c : cases) {
        TempDir dir;
        auto desc = withDrivers(2);
        desc.practiceTable = c.first;
        if (c.unnamedChunk) desc.unnamedChunk = samplekit::RawChunk{"XXXX", 0, std::vector<uint8_t>(40, 7)};
        desc.raceTable = c.second;
        testsupport::writeStampedReplay(dir.file("r.rpy"), desc, c.sessions);
        const Drivers d = load(dir.file("r.rpy"));
        EXPECT_EQ(d.count(), 2u) << c.what;
        EXPECT_EQ(d.practicePresent(), c.practice) << c.what;
        EXPECT_EQ(d.racePresent(), c.race) << c.what;
        EXPECT_EQ(d.lapCount(0, PRACTICE), c.practiceLaps) << c.what;
        EXPECT_EQ(d.lapCount(0, RACE), c.raceLaps) << c.what;
        EXPECT_EQ(d.lapCount(1, PRACTICE) + d.lapCount(1, RACE), 0) << c.what;
        if (c.raceLaps > 0) EXPECT_TRUE(d.lapValid(0, RACE, 1)) << c.what;
    }
}

TEST(DriversWindows, PracticeWindowStaysOpenWhenTheFileEndsInTheRace) {
    TempDir dir;
    auto desc = withDrivers(1);
    desc.practiceTable = table("LBTP", {evenLaps(0, 2000, 10000, 3)});
    desc.raceTable = table("BTPL", {evenLaps(0, 3000, 20000, 4)});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 500, 60}, {7, 0, 120}});
    const Drivers d = load(dir.file("r.rpy"));
    EXPECT_EQ(d.practiceStart(), 500u);
    EXPECT_EQ(d.practiceEnd(), 0xFFFFFFFFu);
    EXPECT_EQ(d.raceStart(), 0u) << "the first stamp of the file belongs to practice";
    EXPECT_EQ(d.raceEnd(), 119000u);
    EXPECT_EQ(d.raceSessionId(), 7);
}

TEST(DriversWindows, KeepsTheLastFrameCounter) {
    TempDir dir;
    testsupport::writeStampedReplay(dir.file("r.rpy"), withDrivers(1), {{0, 1000, 3}},
                                    [](samplekit::Frame& f, int n) { f.addU32Item(14, 5000 + n); });
    EXPECT_EQ(load(dir.file("r.rpy")).lastFrameCounter(), 5000u + 3 * 36);
}

TEST(DriversLaps, LapWordsAreDifferencesWithTheirFlags) {
    TempDir dir;
    auto desc = withDrivers(1);
    samplekit::LapEntry e;
    e.slot = 0;
    e.baseTime = 2000;
    e.stamps = {12000, (1u << 30) | 23000, (1u << 28) | 35000, 46000};
    desc.practiceTable = table("LBTP", {e});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 60}});
    const Drivers d = load(dir.file("r.rpy"));
    ASSERT_EQ(d.lapCount(0, PRACTICE), 4);
    EXPECT_EQ(d.lapWord(0, PRACTICE, 0), 2000u);
    EXPECT_EQ(d.lapWord(0, PRACTICE, 1), 10000u);
    EXPECT_EQ(d.lapWord(0, PRACTICE, 2), (1u << 30) | 11000u);
    EXPECT_EQ(d.lapWord(0, PRACTICE, 3), (1u << 28) | 12000u);
    EXPECT_EQ(d.lapStartTime(0, PRACTICE, 4), 35000u);
    EXPECT_EQ(d.lapEndTime(0, PRACTICE, 4), 46000u);

    EXPECT_TRUE(d.lapValid(0, PRACTICE, 1));
    EXPECT_TRUE(d.lapValid(0, PRACTICE, 2)) << "off track alone keeps the data";
    EXPECT_FALSE(d.lapValid(0, PRACTICE, 3)) << "bit 28 marks an invalid lap";
    EXPECT_TRUE(d.lapValid(0, PRACTICE, 4));
    EXPECT_FALSE(d.lapValid(0, PRACTICE, 0)) << "the time before the line starts at 0";
}

TEST(DriversLaps, LapsOutsideTheWindowAreNotValid) {
    TempDir dir;
    auto desc = withDrivers(1);
    // The window runs from 10 s to 59 s: the first lap starts at the window start, the last
    // ends at its end.
    desc.practiceTable = table("LBTP", {evenLaps(0, 10000, 7000, 7)});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 10000, 50}});
    const Drivers d = load(dir.file("r.rpy"));
    EXPECT_EQ(d.practiceEnd(), 59000u);
    EXPECT_FALSE(d.lapValid(0, PRACTICE, 1));
    EXPECT_TRUE(d.lapValid(0, PRACTICE, 2));
    EXPECT_TRUE(d.lapValid(0, PRACTICE, 6));
    EXPECT_FALSE(d.lapValid(0, PRACTICE, 7)) << "ends at 59 s, the window's end";
}

TEST(DriversLaps, LapTablesAreLookedUpByTheDriversSlot) {
    TempDir dir;
    auto desc = withDrivers(2);
    desc.drivers[0].slot = 5;
    desc.drivers[1].slot = 2;
    desc.practiceTable = table("LBTP", {evenLaps(2, 2000, 10000, 1), evenLaps(5, 2000, 10000, 3)});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 60}});
    const Drivers d = load(dir.file("r.rpy"));
    EXPECT_EQ(d.lapCount(0, PRACTICE), 3);
    EXPECT_EQ(d.lapCount(1, PRACTICE), 1);
    EXPECT_EQ(d.slotLaps(7, PRACTICE).words[0], movrane::EMPTY_BASE_WORD);
}

TEST(DriversLaps, EntriesBeyondTheTablesLimitsAreSkippedOrCut) {
    TempDir dir;
    auto desc = withDrivers(2);
    desc.drivers[1].slot = 25;
    desc.practiceTable = table("LBTP", {evenLaps(25, 2000, 1000, 3), evenLaps(0, 2000, 100, 160)});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 60}});
    const Drivers d = load(dir.file("r.rpy"));
    EXPECT_EQ(d.lapCount(0, PRACTICE), 149) << "the stamps beyond 149 laps are dropped";
    EXPECT_EQ(d.lapTime(0, PRACTICE, 149), 100u);
    EXPECT_EQ(d.lapCount(1, PRACTICE), 0) << "a slot beyond the tables has no laps";
    EXPECT_FALSE(d.lapValid(1, PRACTICE, 0));
}

TEST(DriversRecords, DecodesTheDriverRecord) {
    TempDir dir;
    auto desc = withDrivers(3);
    desc.drivers[0].ai = true;
    desc.drivers[0].nationality = 26;
    desc.drivers[0].carMake = 5;
    desc.drivers[0].carNumber = 120;
    desc.drivers[0].formulaClass = 2;
    desc.drivers[0].keptValue = 77;
    desc.drivers[1].kindText = "ai driver";
    desc.drivers[1].standardCar = false;
    desc.drivers[1].year = 1965;
    desc.drivers[1].carClass = 1;
    desc.drivers[1].modA = 9;
    desc.drivers[1].modC = {1, 2, 3, 4, 5, 6, 7};
    desc.drivers[2].name1 = "ABCDEFGHIJKLMNOP";
    desc.drivers[2].nationality = 40;
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 2}});
    const Drivers d = load(dir.file("r.rpy"));

    const auto& ai = d.driver(0);
    EXPECT_TRUE(ai.ai);
    EXPECT_EQ(ai.nationalityCode, "USA");
    EXPECT_EQ(ai.carMake, 5u);
    EXPECT_EQ(ai.carNumber, 120u);
    EXPECT_EQ(ai.formulaClass, 2);
    EXPECT_EQ(ai.keptValue, 77u);
    EXPECT_TRUE(ai.standardCar);
    EXPECT_EQ(ai.year, 255);
    EXPECT_EQ(ai.carClass, 255);
    EXPECT_EQ(ai.modC[6], 255);

    const auto& mod = d.driver(1);
    EXPECT_FALSE(mod.ai) << "lower-case letters mark a human";
    EXPECT_FALSE(mod.standardCar);
    EXPECT_EQ(mod.year, 1965);
    EXPECT_EQ(mod.carClass, 1);
    EXPECT_EQ(mod.modA, 9);
    EXPECT_EQ(mod.modC[6], 7);

    EXPECT_EQ(d.driver(2).name1, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(d.driver(2).nationalityCode, "---");
}

TEST(DriversRecords, PlayerCheckTakesTheLastRecordWithTheHeadersNames) {
    TempDir dir;
    auto desc = withDrivers(4);
    desc.playerIndex = 0;
    desc.playerName1 = "Same";
    desc.playerName2 = "Name";
    for (int i : {1, 3}) {
        desc.drivers[i].name1 = "Same";
        desc.drivers[i].name2 = "Name";
    }
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 2}});
    Drivers d = load(dir.file("r.rpy"));
    EXPECT_TRUE(d.playerMismatch());
    EXPECT_EQ(d.playerIndex(), 3u);

    desc.playerIndex = 1;
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 2}});
    d = load(dir.file("r.rpy"));
    EXPECT_FALSE(d.playerMismatch());
    EXPECT_EQ(d.playerIndex(), 1u);

    desc.playerIndex = 9;  // beyond the list, and no record carries the names
    desc.playerName1 = "Nobody";
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 2}});
    d = load(dir.file("r.rpy"));
    EXPECT_TRUE(d.playerMismatch());
    EXPECT_FALSE(d.isPlayer(0) || d.isPlayer(1) || d.isPlayer(2) || d.isPlayer(3));
}

TEST(DriversFailures, DamagedStreamsFailTheLoad) {
    TempDir dir;
    // Three drivers: a walk error code must never pass for the driver count.
    auto desc = withDrivers(3);
    testsupport::writeStampedReplay(dir.file("bad-type.rpy"), desc, {{0, 1000, 2}},
                                    [](samplekit::Frame& f, int n) {
                                        if (n == 1) f.addRawItem(5, 8);
                                    });
    Drivers d;
    EXPECT_EQ(d.load(dir.file("bad-type.rpy")), Drivers::FAILED);
    EXPECT_EQ(d.failure(), Drivers::Failure::StreamBadItemType);
    EXPECT_EQ(d.count(), Drivers::INVALID_COUNT);

    testsupport::writeStampedReplay(dir.file("zero-item.rpy"), desc, {{0, 1000, 2}},
                                    [](samplekit::Frame& f, int n) {
                                        if (n == 1) f.addRawItem(4, 0);
                                    });
    EXPECT_EQ(d.load(dir.file("zero-item.rpy")), Drivers::FAILED) << "an item of length 0 cannot be walked";

    auto bytes = testsupport::readFileBytes(dir.file("bad-type.rpy"));
    testsupport::writeStampedReplay(dir.file("good.rpy"), desc, {{0, 1000, 2}});
    bytes = testsupport::readFileBytes(dir.file("good.rpy"));
    bytes.resize(bytes.size() - 100);
    testsupport::writeFileBytes(dir.file("cut.rpy"), bytes);
    EXPECT_EQ(d.load(dir.file("cut.rpy")), Drivers::FAILED);
    EXPECT_STREQ(Drivers::errorMessage(), "DriversClass: Error reading file!");
}

TEST(DriversFailures, DriverListPastTheEndOfTheFile) {
    TempDir dir;
    auto desc = withDrivers(2);
    samplekit::writeHeaderOnly(dir.file("header.rpy"), desc);
    Drivers d;
    EXPECT_EQ(d.load(dir.file("header.rpy")), Drivers::FAILED);
    samplekit::writeHeaderOnly(dir.file("drivers.rpy"), desc, true);
    EXPECT_EQ(d.load(dir.file("drivers.rpy")), Drivers::FAILED) << "no record stream";
    EXPECT_EQ(d.load(dir.file("none.rpy")), Drivers::FAILED);
    EXPECT_EQ(d.failure(), Drivers::Failure::CannotOpen);
}

TEST(DriversFileDate, UsesEnglishMonthNames) {
    EXPECT_EQ(movrane::formatFileDate(1039269802).substr(0, 8), "2002 Dec");
}
