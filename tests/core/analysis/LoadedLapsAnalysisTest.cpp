#include <gtest/gtest.h>

#include <cmath>

#include "core/analysis/GearChanges.h"
#include "core/analysis/Ratings.h"
#include "core/analysis/TractionCircle.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "samplekit/SampleInstallation.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using movrane::CZodEvadiDoc;

namespace {

class NoChooser : public movrane::LapChooserDialog {
public:
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override { return std::nullopt; }
};

// The sample hot lap in slot 0 and a race lap of the second driver in slot 1.
struct SampleLaps {
    testsupport::TempDir dir;
    testsupport::ScriptedUi ui;
    NoChooser chooser;
    CZodEvadiDoc doc{ui, chooser};

    SampleLaps() {
        samplekit::writeSampleInstallation(dir.path());
        movrane::DocumentSettings settings;
        settings.orvDirectory = dir.path().string();
        settings.qualityReportOff = true;
        doc.setSettings(settings);
        EXPECT_EQ(doc.commandLineLoad(dir.file("replay/sample_hotlap.rpy"), movrane::PRACTICE, 0, 2),
                  CZodEvadiDoc::LoadResult::Loaded);
        EXPECT_EQ(doc.commandLineLoad(dir.file("replay/sample_race.rpy"), movrane::RACE, 1, 4),
                  CZodEvadiDoc::LoadResult::Loaded);
    }
};

const SampleLaps& laps() {
    static const SampleLaps l;
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
}

TEST(LoadedLapsAnalysis, RatingsTableHasAHeaderAndFiveRows) {
    const movrane::Ratings ratings(laps().doc);
    const std::string text = ratings.clipboardText();
    EXPECT_EQ(text.rfind("Driver/Laptime/Car\tAggressiveness\tSmoothness\tUsage\tOverall\r\n", 0), 0u);
    EXPECT_EQ(ratings.row(0)[0].rfind("A. Marsh 1m ", 0), 0u) << ratings.row(0)[0];
    EXPECT_EQ(ratings.row(0)[0].substr(ratings.row(0)[0].size() - 10), " (Brabham)");
    EXPECT_NE(text.find("\r\n\t\t\t\t\r\n\t\t\t\t\r\n\t\t\t\t\r\n"), std::string::npos) << "three empty slots";
    EXPECT_EQ(std::string(movrane::Ratings::informationText()).rfind("Information about Ratings", 0), 0u);
}

TEST(LoadedLapsAnalysis, GearChangeAnalyserListsTheLoadedLaps) {
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
