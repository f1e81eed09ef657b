// Lap-by-lap story at its edges, and the complete report with its size limit.
#include <gtest/gtest.h>

#include "ReportCases.h"
#include "core/reports/ReportText.h"

namespace {

using movrane::ReportKind;
using reportcases::expectGolden;
using reportcases::INVALID;
using reportcases::LoadedReplay;
using reportcases::OFF;
using testsupport::FixtureLaps;
using testsupport::FixtureRace;
using Laps = std::vector<std::optional<FixtureLaps>>;

FixtureRace threeDrivers() {
    FixtureRace r;
    r.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}, {"Cid", "Charlie", 1, 3, 11, {}}};
    r.raceSeconds = 10;
    return r;
}

// Ann is fastest in practice but has no race entry; Bob starts from pole.
TEST(LapByLapReport, ANonStarterIsNeitherPolesitterNorOvertaken) {
    FixtureRace r = threeDrivers();
    r.practice = Laps{FixtureLaps{1000, {88000}}, FixtureLaps{1000, {89000}}, FixtureLaps{1000, {90000}}};
    r.race = Laps{std::nullopt, FixtureLaps{20000, {91000, 91000}}, FixtureLaps{20000, {90000, 93000}}};
    const LoadedReplay replay(r);
    expectGolden("nonstarter/LapByLap", replay.generate(ReportKind::LapByLap));
}

constexpr uint32_t UNKNOWN = 1u << 24;

// No starter set a valid practice lap: nobody to name as polesitter. No race lap is valid:
// no fastest lap to name.
TEST(LapByLapReport, NoPolesitterWithoutPracticeTimeAndNoFastestLapWithoutValidLap) {
    FixtureRace r = threeDrivers();
    r.practice = Laps{FixtureLaps{1000, {OFF | INVALID | 88000}}, FixtureLaps{1000, {INVALID | 89000}}, std::nullopt};
    r.race = Laps{FixtureLaps{20000, {INVALID | 91000, INVALID | UNKNOWN | 92000}}, FixtureLaps{20000, {INVALID | 90000}},
                  FixtureLaps{20000, {INVALID | OFF | 95000, INVALID | 95000}}};
    const LoadedReplay replay(r);
    expectGolden("novalid/LapByLap", replay.generate(ReportKind::LapByLap, {false, true}));
    expectGolden("novalid/Race", replay.generate(ReportKind::Race));
    expectGolden("novalid/LapChart", replay.generate(ReportKind::LapChart));
}

// Without practice data lap 1 reports neither overtakes nor a lead change nor retirements.
TEST(LapByLapReport, WithoutPracticeTheFirstLapHasNoChanges) {
    FixtureRace r = threeDrivers();
    r.race = Laps{FixtureLaps{20000, {95000, 90000, 90000}}, FixtureLaps{20000, {90000, 99000, 91000}},
                  FixtureLaps{20000, {}}};
    const LoadedReplay replay(r);
    expectGolden("nopractice/LapByLap", replay.generate(ReportKind::LapByLap, {false, true}));
}

TEST(CompleteReport, JoinsTheFourBasicReports) {
    const LoadedReplay replay(reportcases::standardRace());
    const std::string complete = replay.generate(ReportKind::Complete);
    const std::string joined = replay.generate(ReportKind::Practice) + "\r\n\r\n" + replay.generate(ReportKind::Race) +
                               "\r\n\r\n" + replay.generate(ReportKind::LapChart) + "\r\n\r\n" +
                               replay.generate(ReportKind::LapByLap);
    EXPECT_EQ(complete, joined);
}

TEST(CompleteReport, ATextBeyondTheViewLimitGivesTheNotice) {
    const LoadedReplay replay(reportcases::longRace());
    EXPECT_GT(replay.generate(ReportKind::LapByLap).size(), 70000u);
    EXPECT_EQ(replay.generate(ReportKind::Complete),
              "Sorry, report is too large for this stupid textbox.\r\nUse the seperate report options instead.\r\n");
}

}  // namespace
