#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

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

// Whether laps first..last of a driver are valid.
std::vector<bool> validity(const Drivers& d, uint32_t driver, movrane::Session session, int first, int last) {
    std::vector<bool> valid;
    for (int lap = first; lap <= last; ++lap) valid.push_back(d.lapValid(driver, session, lap));
    return valid;
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
        EXPECT_EQ(std::tuple(d.count(), d.practicePresent(), d.racePresent(), d.lapCount(0, PRACTICE), d.lapCount(0, RACE),
                             d.lapCount(1, PRACTICE) + d.lapCount(1, RACE)),
                  std::tuple(2u, c.practice, c.race, c.practiceLaps, c.raceLaps, 0))
            << c.what;
        if (c.raceLaps > 0) {
            EXPECT_TRUE(d.lapValid(0, RACE, 1)) << c.what;
        }
    }
    // The practice window stays open when the file ends in the race.
    TempDir windowDir;
    auto window = withDrivers(1);
    window.practiceTable = table("LBTP", {evenLaps(0, 2000, 10000, 3)});
    window.raceTable = table("BTPL", {evenLaps(0, 3000, 20000, 4)});
    testsupport::writeStampedReplay(windowDir.file("r.rpy"), window, {{0, 500, 60}, {7, 0, 120}});
    const Drivers windows = load(windowDir.file("r.rpy"));
    // The first stamp of the file belongs to practice: the race starts at 0.
    EXPECT_EQ(std::tuple(windows.practiceStart(), windows.practiceEnd(), windows.raceStart(), windows.raceEnd(), windows.raceSessionId()),
              std::tuple(500u, 0xFFFFFFFFu, 0u, 119000u, 7));
    // The last frame counter is kept.
    TempDir counterDir;
    testsupport::writeStampedReplay(counterDir.file("r.rpy"), withDrivers(1), {{0, 1000, 3}},
                                    [](samplekit::Frame& f, int n) { f.addU32Item(14, 5000 + n); });
    EXPECT_EQ(load(counterDir.file("r.rpy")).lastFrameCounter(), 5000u + 3 * 36);
    // File dates use English month names.
    EXPECT_EQ(movrane::formatFileDate(1039269802).substr(0, 8), "2002 Dec");
}

TEST(DriversLaps, LapWordsAreDifferencesWithTheirFlags) {
    TempDir dir;
    auto desc = withDrivers(1);
    desc.practiceTable = table("LBTP", {{0, 2000, {12000, (1u << 30) | 23000, (1u << 28) | 35000, 46000}}});
    testsupport::writeStampedReplay(dir.file("r.rpy"), desc, {{0, 1000, 60}});
    const Drivers d = load(dir.file("r.rpy"));
    ASSERT_EQ(d.lapCount(0, PRACTICE), 4);
    EXPECT_EQ(std::tuple(d.lapWord(0, PRACTICE, 0), d.lapWord(0, PRACTICE, 1), d.lapWord(0, PRACTICE, 2),
                         d.lapWord(0, PRACTICE, 3)),
              std::tuple(2000u, 10000u, (1u << 30) | 11000u, (1u << 28) | 12000u));
    EXPECT_EQ(d.lapStartTime(0, PRACTICE, 4), 35000u);
    EXPECT_EQ(d.lapEndTime(0, PRACTICE, 4), 46000u);
    // The time before the line starts at 0; off track alone keeps the data; bit 28 marks an invalid lap.
    EXPECT_EQ(validity(d, 0, PRACTICE, 0, 4), (std::vector<bool>{false, true, true, false, true}));
    // Laps outside the window are not valid.
    TempDir windowDir;
    auto windowed = withDrivers(1);
    // The window runs from 10 s to 59 s: the first lap starts at the window start, the last
    // ends at its end.
    windowed.practiceTable = table("LBTP", {evenLaps(0, 10000, 7000, 7)});
    testsupport::writeStampedReplay(windowDir.file("r.rpy"), windowed, {{0, 10000, 50}});
    const Drivers windowedDrivers = load(windowDir.file("r.rpy"));
    EXPECT_EQ(windowedDrivers.practiceEnd(), 59000u);
    // Lap 7 ends at 59 s, the window's end.
    EXPECT_EQ(validity(windowedDrivers, 0, PRACTICE, 1, 7), (std::vector<bool>{false, true, true, true, true, true, false}));
    // Lap tables are looked up by the driver's slot.
    TempDir slotDir;
    auto slotted = withDrivers(2);
    slotted.drivers[0].slot = 5;
    slotted.drivers[1].slot = 2;
    slotted.practiceTable = table("LBTP", {evenLaps(2, 2000, 10000, 1), evenLaps(5, 2000, 10000, 3)});
    testsupport::writeStampedReplay(slotDir.file("r.rpy"), slotted, {{0, 1000, 60}});
    const Drivers bySlot = load(slotDir.file("r.rpy"));
    EXPECT_EQ(bySlot.lapCount(0, PRACTICE), 3);
    EXPECT_EQ(bySlot.lapCount(1, PRACTICE), 1);
    EXPECT_EQ(bySlot.slotLaps(7, PRACTICE).words[0], movrane::EMPTY_BASE_WORD);
    // Entries beyond the tables' limits are skipped or cut.
    TempDir wideDir;
    auto wide = withDrivers(2);
    wide.drivers[1].slot = 25;
    wide.practiceTable = table("LBTP", {evenLaps(25, 2000, 1000, 3), evenLaps(0, 2000, 100, 160)});
    testsupport::writeStampedReplay(wideDir.file("r.rpy"), wide, {{0, 1000, 60}});
    const Drivers cut = load(wideDir.file("r.rpy"));
    EXPECT_EQ(cut.lapCount(0, PRACTICE), 149) << "the stamps beyond 149 laps are dropped";
    EXPECT_EQ(cut.lapTime(0, PRACTICE, 149), 100u);
    EXPECT_EQ(cut.lapCount(1, PRACTICE), 0) << "a slot beyond the tables has no laps";
    EXPECT_FALSE(cut.lapValid(1, PRACTICE, 0));
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
    EXPECT_EQ(std::tuple(ai.ai, ai.nationalityCode, ai.carMake, ai.carNumber, ai.formulaClass, ai.keptValue),
              std::tuple(true, "USA", 5u, 120u, 2, 77u));
    EXPECT_EQ(std::tuple(ai.standardCar, ai.year, ai.carClass, ai.modC[6]), std::tuple(true, 255, 255, 255));

    // Lower-case letters mark a human.
    const auto& mod = d.driver(1);
    EXPECT_EQ(std::tuple(mod.ai, mod.standardCar, mod.year, mod.carClass, mod.modA, mod.modC[6]),
              std::tuple(false, false, 1965, 1, 9, 7));

    EXPECT_EQ(d.driver(2).name1, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(d.driver(2).nationalityCode, "---");
    // The player check takes the last record with the header's names.
    auto named = withDrivers(4);
    named.playerIndex = 0;
    named.playerName1 = "Same";
    named.playerName2 = "Name";
    for (int i : {1, 3}) {
        named.drivers[i].name1 = "Same";
        named.drivers[i].name2 = "Name";
    }
    testsupport::writeStampedReplay(dir.file("r.rpy"), named, {{0, 1000, 2}});
    Drivers checked = load(dir.file("r.rpy"));
    EXPECT_TRUE(checked.playerMismatch());
    EXPECT_EQ(checked.playerIndex(), 3u);

    named.playerIndex = 1;
    testsupport::writeStampedReplay(dir.file("r.rpy"), named, {{0, 1000, 2}});
    checked = load(dir.file("r.rpy"));
    EXPECT_FALSE(checked.playerMismatch());
    EXPECT_EQ(checked.playerIndex(), 1u);

    named.playerIndex = 9;  // beyond the list, and no record carries the names
    named.playerName1 = "Nobody";
    testsupport::writeStampedReplay(dir.file("r.rpy"), named, {{0, 1000, 2}});
    checked = load(dir.file("r.rpy"));
    EXPECT_TRUE(checked.playerMismatch());
    EXPECT_FALSE(checked.isPlayer(0) || checked.isPlayer(1) || checked.isPlayer(2) || checked.isPlayer(3));
}

TEST(DriversFailures, DriverListsLongerThanTheSlotCodesAreRefused) {
    TempDir dir;
    for (const auto& [count, code] : {std::pair{64, Drivers::OK}, std::pair{65, Drivers::FAILED}}) {
        testsupport::writeStampedReplay(dir.file("r.rpy"), withDrivers(count), {{0, 1000, 2}});
        Drivers d;
        EXPECT_EQ(d.load(dir.file("r.rpy")), code) << count;
        EXPECT_EQ(d.failure() == Drivers::Failure::TooManyDrivers, code == Drivers::FAILED) << count;
    }
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

    testsupport::writeStampedReplay(dir.file("good.rpy"), desc, {{0, 1000, 2}});
    auto bytes = testsupport::readFileBytes(dir.file("good.rpy"));
    bytes.resize(bytes.size() - 100);
    testsupport::writeFileBytes(dir.file("cut.rpy"), bytes);
    EXPECT_EQ(d.load(dir.file("cut.rpy")), Drivers::FAILED);
    EXPECT_STREQ(Drivers::errorMessage(), "DriversClass: Error reading file!");
    // A driver list past the end of the file.
    const auto two = withDrivers(2);
    samplekit::writeHeaderOnly(dir.file("header.rpy"), two);
    Drivers shortened;
    EXPECT_EQ(shortened.load(dir.file("header.rpy")), Drivers::FAILED);
    samplekit::writeHeaderOnly(dir.file("drivers.rpy"), two, true);
    EXPECT_EQ(shortened.load(dir.file("drivers.rpy")), Drivers::FAILED) << "no record stream";
    EXPECT_EQ(shortened.load(dir.file("none.rpy")), Drivers::FAILED);
    EXPECT_EQ(shortened.failure(), Drivers::Failure::CannotOpen);
}

