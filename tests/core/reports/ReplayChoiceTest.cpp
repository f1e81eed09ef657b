// The choice of the replay for a report: no lap loaded, one file, several files.
#include <gtest/gtest.h>

#include "ReportCases.h"
#include "core/reports/ReportReplayChoice.h"
#include "support/SampleLaps.h"
#include "support/ScriptedUi.h"

namespace {

using namespace movrane;
using testsupport::ScriptedUi;

class ReplayChoice : public ::testing::Test {
protected:
    ReplayChoice() : replay_(reportcases::standardRace()) {
        testsupport::writeFixtureRace(second_, reportcases::standardRace());
    }
    reportcases::LoadedReplay replay_;
    std::string second_ = replay_.dir().file("second.rpy");
    ScriptedUi ui_;
    testsupport::ScriptedFileChooser chooser_;
};

TEST_F(ReplayChoice, WithoutALapThePersonPicksAReplayForTheReportOnly) {
    ui_.queueYesNo(true);
    ui_.queueFile(replay_.path());
    const auto chosen = chooseReportReplay(ui_, chooser_, {"", "", "", "", ""}, "/orv/replay");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, replay_.path());
    EXPECT_EQ(chosen->drivers.count(), 4u);
    EXPECT_EQ(ui_.messageTexts(), std::vector<std::string>{"No replay lap loaded!"});
    ASSERT_EQ(ui_.questions.size(), 1u);
    EXPECT_EQ(ui_.questions[0].text, "Do you wish to choose a replay file to be used in the report only?");
    ASSERT_EQ(ui_.openRequests.size(), 1u);
    EXPECT_EQ(ui_.openRequests[0].title, "Select Replay File");
    EXPECT_EQ(ui_.openRequests[0].initialPath, "/orv/replay");
    ASSERT_EQ(ui_.openRequests[0].filters.size(), 1u);
    EXPECT_EQ(ui_.openRequests[0].filters[0].description, "Replay files (*.rpy)");
    EXPECT_TRUE(ui_.allAnswersUsed());
}

TEST_F(ReplayChoice, UnreadableReplaysAreRefusedWithTheirMessages) {
    testsupport::writeFileBytes(replay_.dir().file("bad.rpy"), {'R', 'P', 'L', 'Y'});
    ui_.queueYesNo(true);
    ui_.queueFile(replay_.dir().file("bad.rpy"));
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {}, "/r"));
    EXPECT_EQ(ui_.messageTexts(), (std::vector<std::string>{"No replay lap loaded!", "HeaderClass: Error reading file!",
                                                    replay_.dir().file("bad.rpy")}));

    auto bytes = testsupport::readFileBytes(replay_.path());
    bytes.resize(bytes.size() - 3);  // the last frame is cut: the driver-table walk fails
    testsupport::writeFileBytes(replay_.dir().file("cut.rpy"), bytes);
    ui_.messages.clear();
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {replay_.dir().file("cut.rpy")}, "/r"));
    EXPECT_EQ(ui_.messageTexts(), std::vector<std::string>{"DriversClass: Error reading file!"});
}

TEST_F(ReplayChoice, LapsOfOneFileNeedNoChoice) {
    const auto chosen = chooseReportReplay(ui_, chooser_, {replay_.path(), "", replay_.path()}, "/r");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, replay_.path());
    EXPECT_TRUE(chooser_.titles.empty());
    EXPECT_TRUE(ui_.messages.empty());
    // No and Cancel open no report.
    ui_.queueYesNo(false);
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {}, "/r"));
    ui_.queueYesNo(true);
    ui_.queueFile(std::nullopt);
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {}, "/r"));
    EXPECT_TRUE(ui_.allAnswersUsed());
    // Laps of several files are chosen among by file name.
    chooser_.answer = 2;
    const auto picked = chooseReportReplay(ui_, chooser_, {replay_.path(), "", second_}, "/r");
    ASSERT_TRUE(picked);
    EXPECT_EQ(picked->path, second_);
    EXPECT_EQ(chooser_.titles, std::vector<std::string>{"Feature only based on one file - choose which to use"});
    EXPECT_EQ(chooser_.options, (std::vector<std::string>{"race.rpy", "", "second.rpy"}));
    chooser_.answer.reset();
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {replay_.path(), second_}, "/r")) << "Cancel";
    chooser_.answer = 1;
    EXPECT_FALSE(chooseReportReplay(ui_, chooser_, {replay_.path(), "", second_}, "/r")) << "an empty slot";
}

}  // namespace
