#include <gtest/gtest.h>

#include <filesystem>

#include "core/library/TrackOrganiser.h"
#include "core/platform/Files.h"
#include "core/platform/Profile.h"
#include "samplekit/InstallationWriter.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using namespace movrane;
using testsupport::ScriptedUi;
namespace fs = std::filesystem;

namespace {

class FixedEditor : public EditTrackProp {
public:
    std::optional<SeasonEvent> answer;
    std::vector<SeasonEvent> shown;
    std::optional<SeasonEvent> edit(const SeasonEvent& event) override {
        shown.push_back(event);
        return answer;
    }
};

std::vector<std::string> directories(const TrackOrganiser& organiser) {
    std::vector<std::string> dirs;
    for (const SeasonEvent& e : organiser.rows()) dirs.push_back(e.fields[SeasonEvent::TRACK_DIR]);
    return dirs;
}

}  // namespace

class TrackOrganiserTest : public ::testing::Test {
protected:
    TrackOrganiserTest() {
        std::vector<samplekit::Event> events;
        for (int i = 1; i <= 10; ++i) events.push_back({"Long " + std::to_string(i), "S" + std::to_string(i),
                                                        "track" + std::to_string(i), 10 + i, i});
        fs::create_directories(dir.path() / "seasons");
        samplekit::writeSeason(dir.path(), events);
        // A key this program does not handle, which must survive.
        Profile(season()).writeString("Event2", "weather", "rain");
        original = testsupport::readFileText(season());
    }
    std::string season() const { return dir.file("seasons/67season.ini"); }

    testsupport::TempDir dir;
    ScriptedUi ui;
    std::string original;
};

TEST_F(TrackOrganiserTest, ImportReadsEveryEventAndRemovingTheLastTwoDeletesTheirSections) {
    TrackOrganiser organiser(dir.path().string(), ui);
    ASSERT_EQ(organiser.count(), 10);
    EXPECT_EQ(organiser.rows()[0].fields,
              (std::array<std::string, 7>{"Long 1", "S1", "track1", "11", "1", "default", "random"}));
    ui.queueYesNo(true);
    ui.queueYesNo(true);
    organiser.remove({9});
    organiser.remove({8});
    Profile(season()).writeString("Event010", "name", "not event 10");
    ASSERT_TRUE(organiser.exportSeason());
    const Profile file(season());
    EXPECT_EQ(file.getString("Season", "numEvents", "", 100), "8");
    EXPECT_FALSE(file.hasSection("Event9"));
    EXPECT_FALSE(file.hasSection("Event10"));
    EXPECT_TRUE(file.hasSection("Event8"));
    EXPECT_TRUE(file.hasSection("Event010"));
    EXPECT_EQ(ui.messages.back().text,
              "New track order saved.\r\nA backup of your previous '67season.ini'\r\nhas been saved as '67season.old'.");
}

TEST_F(TrackOrganiserTest, MovedRowsAreWrittenInTheNewOrderWithABackupAndForeignKeysKept) {
    TrackOrganiser organiser(dir.path().string(), ui);
    organiser.move({1}, 0);
    organiser.move({9, 0}, 3);
    EXPECT_EQ(directories(organiser), (std::vector<std::string>{"track1", "track3", "track2", "track10", "track4",
                                                                "track5", "track6", "track7", "track8", "track9"}));
    EXPECT_TRUE(organiser.modified());
    ASSERT_TRUE(organiser.exportSeason());
    EXPECT_FALSE(organiser.modified());
    EXPECT_EQ(testsupport::readFileText(dir.file("seasons/67season.old")), original);
    const Profile file(season());
    EXPECT_EQ(file.getString("Event3", "trackDirectory", "", 100), "track2");
    EXPECT_EQ(file.getString("Event4", "name", "", 100), "Long 10");
    EXPECT_EQ(file.getString("Event2", "weather", "", 100), "rain");
    TrackOrganiser again(dir.path().string(), ui);
    EXPECT_EQ(again.rows(), organiser.rows());
}

TEST_F(TrackOrganiserTest, SelectionGuardsAndQuestions) {
    TrackOrganiser organiser(dir.path().string(), ui);
    FixedEditor editor;
    organiser.edit({1, 2}, editor);
    EXPECT_EQ(ui.messages.back().text, "Select only ONE track when editing!");
    organiser.edit({}, editor);
    EXPECT_EQ(ui.messages.back().caption, "No track choosen!");
    organiser.remove({1, 2});
    EXPECT_EQ(ui.messages.back().text, "Select only ONE track when removing!");
    EXPECT_TRUE(editor.shown.empty());

    organiser.edit({2}, editor);  // cancelled
    EXPECT_FALSE(organiser.modified());
    editor.answer = SeasonEvent{{"New", "N", "newdir", "5", "6", "7", "pole"}};
    ui.queueYesNo(false);
    organiser.add(editor);
    EXPECT_EQ(organiser.count(), 10);
    ui.queueYesNo(true);
    organiser.add(editor);
    EXPECT_EQ(editor.shown.back(), SeasonEvent{});
    EXPECT_EQ(directories(organiser).back(), "newdir");

    ui.queueYesNo(false);
    EXPECT_FALSE(organiser.close());
    EXPECT_EQ(ui.questions.back().text, "You haven't exported your changes,\r\nclose Track Organizer anyway?");
    organiser.import();  // discards the changes without asking
    EXPECT_EQ(organiser.count(), 10);
    EXPECT_TRUE(organiser.close());
    // A missing season file gives no rows; the export creates it.
    testsupport::TempDir empty;
    ScriptedUi emptyUi;
    TrackOrganiser fresh(empty.path().string(), emptyUi);
    EXPECT_EQ(fresh.count(), 0);
    FixedEditor adder;
    adder.answer = SeasonEvent{{"A", "a", "adir", "1", "2", "3", "g"}};
    emptyUi.queueYesNo(true);
    fresh.add(adder);
    ASSERT_TRUE(fresh.exportSeason());
    EXPECT_EQ(Profile(fresh.seasonPath()).getString("Event1", "day", "", 100), "3");
    EXPECT_FALSE(fs::exists(fresh.backupPath()));
}

