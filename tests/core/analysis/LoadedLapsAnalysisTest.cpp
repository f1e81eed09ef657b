#include <gtest/gtest.h>

#include "core/analysis/GearChanges.h"
#include "core/analysis/Ratings.h"
#include "core/analysis/TractionCircle.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "support/SampleLaps.h"

using movrane::CZodEvadiDoc;

namespace {

const testsupport::SampleLaps& laps() {
    static const testsupport::SampleLaps l;
    return l;
}

TEST(LoadedLapsAnalysis, WholeLapRangeTakesTheLapTimeFromTheSamples) {
    const auto circle = movrane::TractionCircle::ofDocument(laps().doc);
    EXPECT_EQ(circle.sliderMaximum(), 3498);
    for (int slot : {0, 1}) {
        const double frameTime = laps().doc.slot(slot).lap->frameLapTime() / 1000.0;
        EXPECT_NEAR(*circle.rangeTime(slot), frameTime, 0.01) << "slot " << slot;
    }
    EXPECT_EQ(circle.timeText(2), "");
    // The ratings table has a header and five rows.
    const movrane::Ratings ratings(laps().doc);
    const std::string text = ratings.clipboardText();
    EXPECT_EQ(text.rfind("Driver/Laptime/Car\tAggressiveness\tSmoothness\tUsage\tOverall\r\n", 0), 0u);
    EXPECT_EQ(ratings.row(0)[0].rfind("A. Marsh 1m ", 0), 0u) << ratings.row(0)[0];
    EXPECT_EQ(ratings.row(0)[0].substr(ratings.row(0)[0].size() - 10), " (Brabham)");
    EXPECT_NE(text.find("\r\n\t\t\t\t\r\n\t\t\t\t\r\n\t\t\t\t\r\n"), std::string::npos) << "three empty slots";
    EXPECT_EQ(std::string(movrane::Ratings::informationText()).rfind("Information about Ratings", 0), 0u);
    // The gear change analyser lists the loaded laps.
    movrane::GearChangeAnalyser analyser(laps().doc);
    ASSERT_EQ(analyser.lapLabels().size(), 2u);
    EXPECT_EQ(analyser.lapLabels()[1].rfind("T. Velin 1m ", 0), 0u);
    analyser.chooseLap(0);
    EXPECT_GT(analyser.analysis().changes, 0);
    analyser.chooseLap(4);
    EXPECT_EQ(analyser.chosenLap(), -1);
    EXPECT_TRUE(analyser.analysis().rows.empty());
}

}  // namespace
