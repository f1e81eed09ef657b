// Whole report texts of the standard race, compared with their golden files.
#include <gtest/gtest.h>

#include "ReportCases.h"

namespace {

using movrane::ReportKind;
using reportcases::expectGolden;
using reportcases::LoadedReplay;
using reportcases::standardRace;

TEST(GoldenReports, StandardRaceBasicReports) {
    const LoadedReplay replay(standardRace());
    expectGolden("standard/Practice", replay.generate(ReportKind::Practice));
    expectGolden("standard/Race", replay.generate(ReportKind::Race));
    expectGolden("standard/LapChart", replay.generate(ReportKind::LapChart));
    expectGolden("standard/LapByLap", replay.generate(ReportKind::LapByLap));
    expectGolden("standard/Mechanical", replay.generate(ReportKind::Mechanical));
}

TEST(GoldenReports, StandardRaceWithBothPreferences) {
    const LoadedReplay replay(standardRace());
    const movrane::ReportPrefs prefs{true, true};
    expectGolden("standard/RaceWithRetirements", replay.generate(ReportKind::Race, prefs));
    expectGolden("standard/LapByLapWithOffTrack", replay.generate(ReportKind::LapByLap, prefs));
}

}  // namespace
