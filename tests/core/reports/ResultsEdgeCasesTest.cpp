// Practice and race reports: the cases at the edges of the tables.
#include <gtest/gtest.h>

#include "ReportCases.h"

namespace {

using movrane::ReportKind;
using reportcases::expectGolden;
using reportcases::INVALID;
using reportcases::LoadedReplay;
using testsupport::FixtureLaps;
using testsupport::FixtureRace;
using Laps = std::vector<std::optional<FixtureLaps>>;

FixtureRace practiceOnly() {
    FixtureRace r;
    r.track = "spa";
    r.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}};
    r.practice = Laps{FixtureLaps{5000, {INVALID | 80000}}, FixtureLaps{6000, {81000, 80500}}};
    return r;
}

TEST(PracticeReport, WithoutRaceDataTheTimesAreUnofficial) {
    const LoadedReplay replay(practiceOnly());
    expectGolden("practiceonly/Practice", replay.generate(ReportKind::Practice));
    const std::string noRace = "This replay file does not contain race data.";
    EXPECT_EQ(replay.generate(ReportKind::Race), noRace);
    EXPECT_EQ(replay.generate(ReportKind::LapByLap), noRace);
    EXPECT_EQ(replay.generate(ReportKind::Mechanical), noRace);
}

// Nobody completed a lap: Cid has no race entry at all, there is no practice.
FixtureRace noCompletedLap() {
    FixtureRace r;
    r.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}, {"Cid", "Charlie", 1, 3, 11, {}}};
    r.race = Laps{FixtureLaps{20000, {}}, FixtureLaps{20100, {}}, std::nullopt};
    r.raceSeconds = 10;
    return r;
}

TEST(RaceReport, NoCompletedLapGivesZeroLapsAndNoLeadChange) {
    const LoadedReplay replay(noCompletedLap());
    EXPECT_EQ(replay.generate(ReportKind::Practice), "This replay file does not contain practice data.");
    expectGolden("nolap/Race", replay.generate(ReportKind::Race));
    expectGolden("nolap/LapByLap", replay.generate(ReportKind::LapByLap));
}

// Eve and Fay tie on the fastest lap (Eve comes first in the driver list); Gus finishes two
// laps down after the winner; Hal stops after one lap.
FixtureRace lappedField() {
    FixtureRace r;
    r.drivers = {{"Eve", "Echo", 0, 4, 26, {}},
                 {"Fay", "Foxtrot", 2, 5, 1, {}},
                 {"Gus", "Golf", 3, 6, 3, {}},
                 {"Hal", "Hotel", 4, 8, 10, {}}};
    r.practice = Laps{FixtureLaps{1000, {90000}}, FixtureLaps{1000, {89000}}, FixtureLaps{1000, {95000}},
                      FixtureLaps{1000, {91000}}};
    r.race = Laps{FixtureLaps{20000, {91000, 90000, 89000, 90000}}, FixtureLaps{20000, {90000, 89000, 90000, 90000}},
                  FixtureLaps{20000, {200000, 200000}}, FixtureLaps{20000, {95000}}};
    r.raceSeconds = 10;
    return r;
}

TEST(RaceReport, LappedFinishersTiesAndRetirements) {
    const LoadedReplay replay(lappedField());
    expectGolden("lapped/Race", replay.generate(ReportKind::Race));
    expectGolden("lapped/LapByLap", replay.generate(ReportKind::LapByLap));
}

// Bob stops after one lap while Ann drives 101: a gap of 100 laps, written whole.
TEST(RaceReport, AHundredLapsDownIsWrittenWhole) {
    FixtureRace r;
    r.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}};
    FixtureLaps ann{20000, {}};
    for (int lap = 0; lap < 101; ++lap) ann.laps.push_back(90000);
    r.race = Laps{ann, FixtureLaps{20000, {95000}}};
    r.raceSeconds = 5;
    const LoadedReplay replay(r);
    const std::string text = replay.generate(ReportKind::Race);
    const std::string results = text.substr(0, text.find("\r\n\r\n\r\nRace results"));
    expectGolden("hundred/Results", results);
}

}  // namespace
