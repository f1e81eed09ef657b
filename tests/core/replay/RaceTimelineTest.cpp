#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/platform/SilentUi.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/RaceTimeline.h"
#include "samplekit/CarRecords.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using namespace movrane;

namespace {

constexpr uint16_t T_COUNTER = 14;
constexpr uint16_t T_STATUS = 9;

// Three drivers in slots 0..2; driver 0 is the player. The race table gives each driver's laps.
samplekit::ReplayDescription raceDescription(std::vector<samplekit::LapEntry> race) {
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(3);
    d.scheduledLaps = 3;
    d.practiceTable = samplekit::LapTable{"ORPL", {}};
    d.raceTable = samplekit::LapTable{"BTPL", std::move(race)};
    return d;
}

struct LoadedRace {
    Header header;
    Drivers drivers;
    RaceTimeline timeline;
    uint32_t frames = 0;
};

// Practice 2 s (frames 1..72), then a race from 60 s; every frame carries its counter
// after the test's items and before its time stamp, unless `counters` is false.
std::unique_ptr<LoadedRace> loadRace(const testsupport::TempDir& dir, const samplekit::ReplayDescription& desc,
                                     int raceSeconds, const std::function<void(samplekit::Frame&, int)>& extra,
                                     bool counters = true) {
    const auto path = dir.file("race.rpy");
    testsupport::writeStampedReplay(path, desc, {{0, 1000, 2}, {1, 60000, raceSeconds}},
                                    [&](samplekit::Frame& frame, int n) {
                                        if (extra) extra(frame, n);
                                        if (counters) frame.addU32Item(T_COUNTER, static_cast<uint32_t>(n));
                                    });
    auto race = std::make_unique<LoadedRace>();
    EXPECT_EQ(race->header.load(path), Header::OK);
    EXPECT_EQ(race->drivers.load(path), Drivers::OK);
    SilentUi ui;
    race->frames = race->timeline.load(path, race->header, race->drivers, ui);
    return race;
}

constexpr int RACE_START_FRAME = 73;

// Driver 0's laps end at 70 s, 80 s and 90 s, driver 1's at 71 s and 79 s; driver 2 has no entry.
samplekit::ReplayDescription twoLappingDrivers() {
    samplekit::LapEntry second = testsupport::evenLaps(1, 60000, 11000, 1);
    second.stamps.push_back(79000);
    return raceDescription({testsupport::evenLaps(0, 60000, 10000, 3), second});
}

void addStatus(samplekit::Frame& frame, uint16_t word) { frame.addU32Item(T_STATUS, static_cast<uint32_t>(word) << 16); }

}  // namespace

TEST(RaceTimeline, CountsFramesFromTheRaceStartToTheLastCounter) {
    testsupport::TempDir dir;
    const auto race = loadRace(dir, raceDescription({}), 3, {});
    ASSERT_EQ(race->frames, 108u) << race->timeline.failureText();
    EXPECT_EQ(race->timeline.time(0), 60000u);
    EXPECT_EQ(race->timeline.time(36), 61000u);
    EXPECT_EQ(race->timeline.scheduledLaps(), 3);
    // Frames without a stamp continue the clock.
    EXPECT_EQ(race->timeline.time(3), 60083u);
    EXPECT_EQ(race->timeline.time(35), 60972u);
    EXPECT_EQ(race->timeline.time(37), 61027u);
}

TEST(RaceTimeline, StatusWordsBecomeDisplayCodes) {
    testsupport::TempDir dir;
    const std::map<int, uint16_t> words = {{1, 12}, {4, 32}, {5, 40}, {6, 4}, {7, 0x34}, {8, 0x35}};
    const auto race = loadRace(dir, raceDescription({}), 1, [&](samplekit::Frame& frame, int n) {
        const auto it = words.find(n - RACE_START_FRAME);
        if (it != words.end()) addStatus(frame, it->second);
    });
    ASSERT_GT(race->frames, 9u);
    const std::vector<int> expected = {0, 1, 1, 1, 2, 3, 4, 8, 8, 8};
    for (uint32_t k = 0; k < expected.size(); ++k) EXPECT_EQ(race->timeline.statusCode(k), expected[k]) << k;
    EXPECT_STREQ(raceStatusText(race->timeline.statusCode(0)), "");
    EXPECT_STREQ(raceStatusText(race->timeline.statusCode(7)), "Chequered flag waved");
    // The status code table.
    struct Case { uint8_t code; uint16_t previous; uint16_t word; uint8_t expected; };
    for (const Case& c : {Case{0, 0, 12, 1}, Case{1, 12, 32, 2}, Case{2, 32, 40, 3}, Case{3, 40, 4, 4},
                          Case{4, 4, 0x34, 8}, Case{8, 0x34, 0x35, 8}, Case{4, 4, 0x7F, 8}, Case{4, 0x3C, 0x34, 4},
                          Case{3, 40, 99, 3}})
        EXPECT_EQ(nextStatusCode(c.code, c.previous, c.word), c.expected) << c.word;
    // Elapsed and gap texts.
    EXPECT_EQ(elapsedText(59499), "0:59");
    EXPECT_EQ(elapsedText(59500), "1:00");
    EXPECT_EQ(elapsedText(3725000), "62:05");
    EXPECT_EQ(gapText(512), "+0.512s");
    EXPECT_EQ(gapText(62345), "+1m 02.345s");
}

TEST(RaceTimeline, CarsFromPlayerAndOtherCarItemsInOrderOnTrack) {
    testsupport::TempDir dir;
    const auto race = loadRace(dir, raceDescription({}), 1, [](samplekit::Frame& frame, int n) {
        if (n != RACE_START_FRAME + 1) return;
        samplekit::PlayerCarFields player;
        player.lapPosition = 200000;  // 100 m
        player.orientation = 1024;
        frame.addItem(1, samplekit::encodePlayerCar(player));
        std::vector<uint8_t> records;
        for (const auto& [slot, position] : {std::pair<uint32_t, uint32_t>{2, 400000}, {1, 20000}, {9, 900000}}) {
            samplekit::OtherCarFields other;
            other.slot = slot;
            other.lapPosition = position;
            other.lateral = 1000;
            const auto bytes = samplekit::encodeOtherCar(other);
            records.insert(records.end(), bytes.begin(), bytes.end());
        }
        frame.addItem(3, records.data(), records.size());
    });
    ASSERT_GT(race->frames, 2u);
    const RaceTimeline& t = race->timeline;
    EXPECT_FALSE(t.present(0, 0));
    // Slot 9 belongs to no driver: its record is skipped.
    const auto cars = t.carsOnTrack(1);
    ASSERT_EQ(cars.size(), 3u);
    EXPECT_EQ(cars[0].driver, 2u);
    EXPECT_DOUBLE_EQ(cars[0].distance, 200.0);
    EXPECT_NEAR(cars[0].lateral, std::tan(1000 * 2.261833e-05) * 26.0, 1e-5);
    EXPECT_EQ(cars[1].driver, 0u);
    EXPECT_DOUBLE_EQ(cars[1].heading, 90.0);
    EXPECT_EQ(cars[2].driver, 1u);
    EXPECT_EQ(t.orderOnTrack(0), (std::vector<uint32_t>{0, 1, 2}));
}

TEST(RaceTimeline, UnreadableRacesLeaveNoFrames) {
    testsupport::TempDir dir;
    const auto uncounted = loadRace(dir, raceDescription({}), 2, {}, false);
    EXPECT_EQ(uncounted->frames, 0u);
    EXPECT_EQ(uncounted->timeline.failureText(),
              "The race cannot be read: no frame counter stands before the start of the race.");
    // A counter that runs backwards at the end of the file.
    const auto backwards = loadRace(dir, raceDescription({}), 2, [](samplekit::Frame& frame, int n) {
        if (n == 72 + 72) frame.addU32Item(T_COUNTER, 5);
    });
    EXPECT_EQ(backwards->frames, 0u);
    EXPECT_EQ(backwards->timeline.failureText(), "The race cannot be read: its frame counters do not fit the record stream.");
    // The last counter says the race has 10 frames although the stream holds 72.
    const auto race = loadRace(dir, raceDescription({}), 2, [](samplekit::Frame& frame, int n) {
        if (n == 72 + 72) frame.addU32Item(T_COUNTER, RACE_START_FRAME + 9);
    });
    EXPECT_EQ(race->frames, 10u);
    // A status item of two bytes in the race.
    const auto shortStatus = loadRace(dir, raceDescription({}), 2, [](samplekit::Frame& frame, int n) {
        if (n == RACE_START_FRAME + 5) frame.addItem(T_STATUS, "\x01\x02", 2);
    });
    EXPECT_EQ(shortStatus->frames, 0u);
    EXPECT_TRUE(shortStatus->timeline.failureText().ends_with("is shorter than its contents.")) << shortStatus->timeline.failureText();
}

TEST(RaceFrameTexts, LapPositionGapsAndFinish) {
    testsupport::TempDir dir;
    const auto race = loadRace(dir, twoLappingDrivers(), 36, {});
    const RaceTimeline& t = race->timeline;
    struct Case { uint32_t time; uint32_t focused; const char* lap; const char* position; const char* ahead;
                  const char* behind; const char* last; const char* currentLap; const char* leader; };
    const Case cases[] = {
        {65000, 0, "1", "", "", "", "", "", ""},
        {75000, 0, "2", "1", "", "+1.000s", "0m 10.000s", "2", "F. Last1 (BRM)"},
        {75000, 1, "2", "2", "+1.000s", "", "0m 11.000s", "2", "F. Last1 (BRM)"},
        {85000, 1, "3", "1", "", "+1.000s", "0m 08.000s", "3", "F. Last0 (Brabham)"},
        // After the leader's last crossing the race stays on its last lap.
        {95000, 0, "3", "1", "", "", "0m 10.000s", "3", "F. Last0 (Brabham)"},
    };
    for (const Case& c : cases) {
        const uint32_t k = (c.time - 60000) / 1000 * 36;
        ASSERT_EQ(t.time(k), c.time);
        const RaceFrameTexts texts = raceFrameTexts(t, race->drivers, k, c.focused);
        EXPECT_EQ(std::tuple(texts.lap, texts.position, texts.gapAhead, texts.gapBehind, texts.lastLap,
                             texts.currentLap, texts.leader),
                  std::tuple(c.lap, c.position, c.ahead, c.behind, c.last, c.currentLap, c.leader))
            << c.time;
    }
    // Driver 2 has no lap entry and so takes no part in the finish time.
    EXPECT_EQ(raceFrameTexts(t, race->drivers, 1260, std::nullopt).status, "All cars finished");
    EXPECT_EQ(raceFrameTexts(t, race->drivers, 1260, std::nullopt).elapsed, "1:35");
    // Crossings, leaders and the finish.
    EXPECT_EQ(std::tuple(t.raceLaps(), t.leader(1), t.leader(2), t.leaderTime(2), t.hasLapEntry(2)),
              std::tuple(3, 0u, 1u, uint64_t{79000}, false));
    EXPECT_EQ(t.finishTime(), 90000u);
    EXPECT_EQ(t.lapsBefore(0, 80001), 2);
}

