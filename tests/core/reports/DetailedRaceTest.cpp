// The detailed race report on scripted races: whole texts as golden files, single rules
// as cases.
#include <gtest/gtest.h>

#include <map>

#include "ReportCases.h"
#include "ScriptedRace.h"
#include "core/reports/Report.h"
#include "support/SmallReplay.h"

namespace {

using scripted::driving;
using scripted::laps;
using scripted::standing;
using scripted::vanishing;

constexpr double LAP_METRES = 1000;

std::string detailedReport(const scripted::Race& race) {
    return scripted::reportText(race, movrane::ReportKind::DetailedRace, movrane::ReportLaps{{}, LAP_METRES, false});
}

// Race entries: base 0 and one lap ending at `end` (no lap when end is 0).
samplekit::LapTable raceTable(const std::vector<uint32_t>& ends) {
    samplekit::LapTable table{"BTPL", {}};
    for (uint32_t slot = 0; slot < ends.size(); ++slot)
        table.entries.push_back(ends[slot] ? laps(slot, 0, {ends[slot]}) : laps(slot, 0, {}));
    return table;
}

scripted::Car resetting(uint32_t at, int jumpFrame) {
    scripted::Car car = standing(at);
    car.gear = [](int) { return 0; };
    car.lateral = [jumpFrame](int f) { return f < jumpFrame ? 0 : 31000; };
    return car;
}

// A car that stands, then jumps ahead in one frame (it moved off from standing).
scripted::Car movingOff(uint32_t at, uint32_t to, int frame) {
    scripted::Car car;
    car.position = [=](int f) { return std::optional<uint32_t>(f < frame ? at : to); };
    return car;
}

// The player passes a retired, a stationary, a disconnected and a moving car; another car
// moves off from standing past a moving one; one car finishes and leaves, one is reset.
scripted::Race eventfulRace() {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(8);
    race.clockMs = 0;
    race.frames = 36 * 18;
    scripted::Car disconnecting = driving(600000, 3000);
    disconnecting.position = [](int f) {
        if (f >= 450 && f < 560) return std::optional<uint32_t>();
        return std::optional<uint32_t>((600000u + 3000u * static_cast<uint32_t>(f)) % 2000000u);
    };
    race.cars = {
        driving(50000, 4000),                 // the player: 1 lap, finishes late
        standing(1300000),                    // passed while standing
        disconnecting,                        // vanishes while racing, comes back
        vanishing(standing(1200000), 180),    // retires before the winner's finish
        vanishing(standing(1800000), 252),    // the winner, into parc ferme
        driving(500000, 1000),                // passed by a car that moved off
        movingOff(480000, 700000, 107),       // moves off from standing in the frame before a stamp
        resetting(300000, 400),               // put back into the pits
    };
    race.raceTable = raceTable({100000, 200000, 0, 0, 5000, 200000, 200000, 200000});
    race.extra = [](samplekit::Frame& frame, int f) {
        const std::map<int, uint32_t> status = {{4, 12}, {40, 32}, {76, 1056}, {112, 40}, {148, 4}};
        if (auto it = status.find(f); it != status.end()) frame.addU32Item(9, it->second << 16);
    };
    return race;
}

TEST(DetailedRace, EveryEventOfAScriptedRace) {
    reportcases::expectGolden("detailed/Eventful", detailedReport(eventfulRace()));
}

TEST(DetailedRace, AReplaySavedByAClientIsRefused) {
    scripted::Race race = eventfulRace();
    race.player = 1;
    EXPECT_EQ(detailedReport(race),
              "This report is really only useful if run on\r\nan offline race replay or on a multiplayer\r\n"
              "replay saved by the server. Aborting report...");
}

TEST(DetailedRace, AReplayStartingLateCarriesTheNoteAndWithoutTheFieldLogsNoOvertakes) {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(3);
    race.clockMs = 10000;
    race.frames = 36 * 6;
    race.cars = {driving(50000, 4000), vanishing(standing(0), 0), standing(300000)};
    race.raceTable = raceTable({100000, 100000, 100000});
    const std::string text = detailedReport(race);
    EXPECT_NE(text.find("Replay file starts 10.028s into the race.\r\n\r\nNOTE! This replay does not cover the start "
                        "of the race.\r\nThis means a lot of the features of this report will not work.\r\nIt will "
                        "basicly produce the same output as the \"Mechanical Report\"\r\n\r\nRace data found"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("All drivers on grid"), std::string::npos);
    EXPECT_EQ(text.find("overtakes"), std::string::npos);
}

TEST(DetailedRace, ACarThatJoinsLateOvertakesNobodyAtTheFirstCompleteOrder) {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(2);
    race.clockMs = 0;
    race.frames = 36 * 5;
    race.cars = {driving(50000, 1000), driving(400000, 1000)};
    race.cars[1].position = [](int f) {
        return f < 50 ? std::optional<uint32_t>() : std::optional<uint32_t>(400000 + 1000 * f);
    };
    race.raceTable = raceTable({100000, 100000});
    const std::string text = detailedReport(race);
    EXPECT_NE(text.find("All drivers on grid"), std::string::npos);
    EXPECT_EQ(text.find("overtakes"), std::string::npos) << text;
}

TEST(DetailedRace, CarsOnTheSamePositionAreOrderedByIndexHigherAhead) {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(3);
    race.clockMs = 0;
    race.frames = 36 * 4;
    // Car 1 stands on car 2's position; car 2 is ahead. Then car 1 moves up by one unit.
    race.cars = {standing(100), standing(500000), standing(500000)};
    race.cars[1].position = [](int f) { return std::optional<uint32_t>(f < 100 ? 500000 : 500001); };
    race.raceTable = raceTable({100000, 100000, 100000});
    const std::string text = detailedReport(race);
    EXPECT_NE(text.find("03.000s\r\nFirst1 Last1 overtakes the stationary First2 Last2 for position 1.\r\n"),
              std::string::npos)
        << text;
}

}  // namespace

namespace {

struct PassCase {
    const char* name;
    uint32_t speedAfter;  // raw units a frame from frame 107 on (2000 before)
    const char* line;
};

class DetailedRacePass : public ::testing::TestWithParam<PassCase> {};

TEST_P(DetailedRacePass, TheRatioOfThePassersMovementTellsAccelerationOrBraking) {
    const uint32_t after = GetParam().speedAfter;
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(3);
    race.clockMs = 0;
    race.frames = 36 * 4;
    scripted::Car passer;
    passer.position = [after](int f) {
        const auto frame = static_cast<uint32_t>(f);
        return std::optional<uint32_t>(400000 + 2000 * std::min(frame, 106u) + after * (frame > 106 ? frame - 106 : 0));
    };
    race.cars = {standing(100), passer, driving(500000, 1000)};
    race.raceTable = raceTable({100000, 100000, 100000});
    const std::string text = detailedReport(race);
    EXPECT_NE(text.find(std::string("03.000s\r\n") + GetParam().line), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, DetailedRacePass,
    ::testing::Values(PassCase{"Faster", 3000, "First1 Last1 overtakes First2 Last2 for position 1 under acceleration.\r\n"},
                      PassCase{"Slower", 1000, "First1 Last1 overtakes First2 Last2 for position 1 under braking.\r\n"},
                      PassCase{"Steady", 2000, "First1 Last1 overtakes First2 Last2 for position 1.\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
