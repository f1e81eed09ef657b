#include <gtest/gtest.h>

#include "core/app/LapQuality.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

using movrane::LapQualityCounts;
using movrane::qualityReportText;
using testsupport::TempDir;

namespace {

// The player's second practice lap of a simulated session, trimmed; `shiftMs` moves the
// stored end of that lap (and the start of the next).
void loadSimulatedLap(const TempDir& dir, movrane::Drivers& drivers, movrane::GetRpyInfo& lap, int shiftMs) {
    auto plan = samplekit::sampleRaceSpec(2, 3, 0);
    samplekit::writeSimulatedReplay(dir.file("r.rpy"), plan, samplekit::sampleHeader(true),
                                    [shiftMs](samplekit::ReplayDescription& d) {
                                        d.practiceTable->entries[0].stamps[1] += static_cast<uint32_t>(shiftMs);
                                    });
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), 0);
    ASSERT_EQ(lap.load(drivers, 0, 2, movrane::PRACTICE), 0);
    lap.trim(1);
}

}  // namespace

TEST(LapQuality, ReportTextsAndTheStoredLapTimeCheck) {
    EXPECT_EQ(qualityReportText({2200, 22, 80, 2178, 60000}),
              "Online quality of lapdata: 99%\nLargest online gap: 2 seconds");
    EXPECT_EQ(qualityReportText({2160, 0, 0, 2160, 61000}),
              "Online quality of lapdata: 100%\nLargest online gap: 0 seconds"
              "\n\nPossible partly loss of data due to accelerated time\nor other disturbance.");
    EXPECT_EQ(qualityReportText({40, 40, 41, 0, 1000}),
              "Online quality of lapdata: 0%\nLargest online gap: 1 seconds"
              "This laps seems to be a lap set under\r\naccelerated time and contains no data.\nThe plot and graph "
              "will not work OK with this lap,\n but you can run the reports.");
    EXPECT_EQ(qualityReportText({0, 0, 0, 0, 0}), "Online quality of lapdata: 0%\nLargest online gap: 0 seconds"
                                                 "This laps seems to be a lap set under\r\naccelerated time and "
                                                 "contains no data.\nThe plot and graph will not work OK with this "
                                                 "lap,\n but you can run the reports.")
        << "an empty window divides by nothing";
    // Lap time texts.
    EXPECT_EQ(movrane::lapTimeText(83456), "1m 23.456s");
    EXPECT_EQ(movrane::lapTimeText(5004), "0m 05.004s");
    EXPECT_EQ(movrane::lapTimeText(600000), "10m 00.000s");
    // Only a stored lap time that disagrees with the samples is told.
    TempDir dir;
    movrane::Drivers drivers;
    movrane::GetRpyInfo lap;
    loadSimulatedLap(dir, drivers, lap, 0);
    auto check = movrane::calculateLapTime(lap, samplekit::sampleLapLength());
    EXPECT_NEAR(static_cast<double>(check.calculated), lap.storedLapTime(), 30);
    EXPECT_FALSE(check.dataMissingAtEnds);
    EXPECT_FALSE(movrane::lapTimeCheckMessage(lap, samplekit::sampleLapLength()).has_value());

    loadSimulatedLap(dir, drivers, lap, 400);
    check = movrane::calculateLapTime(lap, samplekit::sampleLapLength());
    EXPECT_EQ(movrane::lapTimeCheckMessage(lap, samplekit::sampleLapLength()), "MOVRN has detected the laptime for this lap might be incorrect\n\nLaptime stored in replay:" +
                            movrane::lapTimeText(lap.storedLapTime()) + "\nLaptime calculated by MOVRN:" +
                            movrane::lapTimeText(static_cast<uint32_t>(check.calculated)) +
                            "\nRun Tools->Online Laptime Verifier to analyse the lap further.");

    const movrane::GetRpyInfo empty;
    EXPECT_EQ(movrane::calculateLapTime(empty, 3600).calculated, 0);
    EXPECT_FALSE(movrane::lapTimeCheckMessage(empty, 3600).has_value());
}

