// The report commands before their window opens: guards, the replay used, the laps handed on.
#include <gtest/gtest.h>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/ReportCommands.h"
#include "support/SampleLaps.h"

using movrane::ReportKind;

namespace {

struct Doc {
    testsupport::ScriptedUi ui;
    testsupport::NoLapChooser lapChooser;
    testsupport::NoFileChooser fileChooser;
    movrane::CZodEvadiDoc doc{ui, lapChooser};

    std::unique_ptr<movrane::ReportViewer> open(ReportKind kind) {
        return movrane::openReportViewer(ui, fileChooser, doc, kind);
    }
};

TEST(ReportCommandGuards, WithoutALapTheLapReportsAndTheDetailedReportRefuse) {
    struct Case {
        ReportKind kind;
        const char* message;
    };
    for (const Case& c : {Case{ReportKind::LaptimeVerifier, "No replay lap loaded!"},
                          Case{ReportKind::SectorTimes, "No replay lap loaded!"},
                          Case{ReportKind::Speed, "No replay lap loaded!"},
                          Case{ReportKind::DetailedRace, "This report cannot be run unless you have loaded a lap."}}) {
        Doc d;
        EXPECT_EQ(d.open(c.kind), nullptr);
        EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{c.message});
        EXPECT_TRUE(d.ui.questions.empty()) << "no offer of a report-only replay";
    }
}

TEST(ReportCommandGuards, LapReportsGetTheLoadedLapsAndTheTrack) {
    Doc d;
    movrane::DocumentSettings settings;
    settings.orvDirectory = testsupport::sampleInstallation().path().string();
    settings.qualityReportOff = true;
    settings.speedUnit = 1;
    d.doc.setSettings(settings);
    const std::string race = testsupport::sampleInstallation().file("replay/sample_race.rpy");
    ASSERT_EQ(d.doc.commandLineLoad(race, movrane::RACE, 2, 4), movrane::CZodEvadiDoc::LoadResult::Loaded);
    ASSERT_EQ(d.doc.commandLineLoad(race, movrane::RACE, 0, 3), movrane::CZodEvadiDoc::LoadResult::Loaded);

    const movrane::ReportLaps laps = movrane::reportLapsOf(d.doc);
    ASSERT_EQ(laps.laps.size(), 2u);
    EXPECT_EQ(laps.laps[0].driver, 2u);
    EXPECT_EQ(laps.laps[1].lap, 3);
    EXPECT_TRUE(laps.mph);
    EXPECT_NEAR(laps.lapLength, 3498, 1);

    auto viewer = d.open(ReportKind::Speed);
    ASSERT_NE(viewer, nullptr);
    viewer->open();
    EXPECT_EQ(viewer->pendingKind(), static_cast<int>(ReportKind::Speed));
    viewer->focusGained(d.ui);
    EXPECT_EQ(viewer->titleLine(), "Speed Report");
    EXPECT_NE(viewer->viewText().find("R. Dunmore(Coo)"), std::string::npos) << viewer->viewText();
    EXPECT_TRUE(d.ui.messages.empty());
}

}  // namespace
