#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/LibraryFixture.h"
#include "core/library/LapFinder.h"
#include "core/library/ReplayDatabase.h"
#include "core/library/ReplayIndex.h"
#include "core/platform/Files.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "support/ScriptedUi.h"

using namespace movrane;
using testsupport::FakeDrives;
using testsupport::LibraryFixture;
using testsupport::playerRace;
using testsupport::ScriptedUi;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> column(const LapFinder& finder, int c) {
    std::vector<std::string> values;
    for (const auto& row : finder.rows()) values.push_back(row.columns[c]);
    return values;
}

}  // namespace

class LapFinderTest : public ::testing::Test {
protected:
    LapFinderTest() {
        library.addReplay("a.rpy", playerRace("harbour", {83456, 9005 | (1u << 28), 9005}, {600500}));
        library.addReplay("b.rpy", playerRace("harbour", {70000}, {}, true));
        library.addReplay("other.rpy", playerRace("ridgeway", {60000}));
        writeFileAtomically(library.replayPath("bad.rpy"), "not a replay");
    }
    LibraryFixture library;
    ScriptedUi ui;
};

TEST_F(LapFinderTest, ListsValidLapsOfTheTrackWithSessionAndTimeTexts) {
    LapFinder finder(library.folders(), ui);
    EXPECT_EQ(finder.trackChoices(), (std::vector<std::string>{"harbour", "ridgeway"}));
    finder.chooseFilter(LapFinder::Filter::All);
    finder.chooseTrack("harbour");
    EXPECT_EQ(column(finder, 0), (std::vector<std::string>{"Ann Example", "Ann Example", "Ann Example", "Bob Other",
                                                           "Bob Other", "Ann Example"}));
    EXPECT_EQ(column(finder, 1), (std::vector<std::string>{"1m 23.456s", "0m 09.005s", "10m 00.500s", "1m 35.000s",
                                                           "1m 36.000s", "1m 10.000s"}));
    EXPECT_EQ(column(finder, 4),
              (std::vector<std::string>{"Practice", "Practice", "Race", "Practice", "Race", "Training"}));
    const auto& first = finder.rows()[0];
    EXPECT_EQ(std::tuple(first.columns[2], first.columns[3], first.columns[6], first.volumeLabel),
              std::tuple("Ferrari", "F3", "a.rpy", "NA"));
    EXPECT_EQ(finder.rows()[1].identifier, 3u * 65536 + 0 * 256 + 0);
    EXPECT_EQ(finder.rows()[4].identifier, 1u * 65536 + 1 * 256 + 1);
    EXPECT_EQ(finder.statusText(),
              "Total number of replay files scanned was 4, out of which 0 were taken from Replay CD databases.");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.waitWindows, std::vector<std::string>(2, "Please wait while scanning replays..."));
}

TEST_F(LapFinderTest, FiltersKeepThePlayerOrDropComputerDrivers) {
    LapFinder finder(library.folders(), ui);
    EXPECT_EQ(finder.filter(), LapFinder::Filter::LocalOnly);
    finder.chooseTrack("harbour");
    EXPECT_EQ(finder.rows().size(), 4u);
    finder.chooseFilter(LapFinder::Filter::NoAi);
    EXPECT_EQ(finder.rows().size(), 4u);  // the second driver of the fixture is a computer driver
    finder.chooseFilter(LapFinder::Filter::All);
    EXPECT_EQ(finder.rows().size(), 6u);
    // Sorts compare texts without regard to case and sort only once.
    LapFinder sorted(library.folders(), ui);
    sorted.chooseFilter(LapFinder::Filter::All);
    sorted.chooseTrack("harbour");
    EXPECT_TRUE(sorted.sort(LapFinder::Sort::LapTime));
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"0m 09.005s", "10m 00.500s", "1m 10.000s", "1m 23.456s",
                                                           "1m 35.000s", "1m 36.000s"}));
    EXPECT_FALSE(sorted.sort(LapFinder::Sort::LapTime));
    sorted.sortByColumn(0);
    EXPECT_EQ(sorted.sortMode(), LapFinder::Sort::Driver);
    EXPECT_EQ(column(sorted, 0).back(), "Bob Other");
    sorted.sortByColumn(7);
    EXPECT_EQ(ui.messages.back().text, "No sorting available for this column.");
    sorted.scan();
    EXPECT_EQ(sorted.sortMode(), LapFinder::Sort::Unsorted);
}

TEST_F(LapFinderTest, TooManyOrNoLapsKeepTheDialogOpen) {
    LapFinder finder(library.folders(), ui);
    finder.chooseTrack("harbour");
    EXPECT_FALSE(finder.accept({0, 1}, 4, 5, FakeDrives()));
    EXPECT_EQ(ui.messages.back().text, "Too many laps selected!");
    EXPECT_FALSE(finder.accept({}, 0, 5, FakeDrives()));
    EXPECT_EQ(ui.messages.back().text, "Choose a lap to view!");
    EXPECT_EQ(ui.messages.back().caption, "No lap choosen!");
    const auto laps = finder.accept({3}, 4, 5, FakeDrives());
    ASSERT_TRUE(laps && laps->size() == 1);
    EXPECT_EQ(std::tuple((*laps)[0].path, (*laps)[0].session, (*laps)[0].lap),
              std::tuple(library.replayPath("b.rpy"), PRACTICE, 1));
    // The clipboard text ends every row with a tab.
    LapFinder ridgeway(library.folders(), ui);
    ridgeway.chooseTrack("ridgeway");
    ridgeway.copyToClipboard();
    ASSERT_EQ(ui.clipboard.size(), 1u);
    EXPECT_EQ(ui.clipboard[0],
              "Driver Name\tLap time\tTeam\tClass\tSession\tFiledate\tReplay file\n"
              "Ann Example\t1m 00.000s\tFerrari\tF3\tPractice\t2002 Dec 07\tother.rpy\t\n");
}

TEST_F(LapFinderTest, CdLapsAskForTheDiscOnceItIsConfirmed) {
    ReplaySummary replay;
    Header header;
    Drivers drivers;
    ASSERT_EQ(header.load(library.replayPath("a.rpy")), 0);
    ASSERT_EQ(drivers.load(library.replayPath("a.rpy")), 0);
    replay = summariseReplay(header, drivers);
    fs::create_directories(library.dir.file("orv/replay/MOVRN_CDDB"));
    writeFileAtomically(library.dir.file("orv/replay/MOVRN_CDDB/disc.rdb"),
                        encodeDatabaseStart("D1 [udf]", 1) + encodeDatabaseRecord("sub/a.rpy", replay));
    LapFinder finder(library.folders(), ui);
    finder.chooseTrack("harbour");
    EXPECT_EQ(finder.cdReplays(), 1);
    ASSERT_EQ(finder.rows().size(), 7u);
    EXPECT_EQ(finder.rows()[4].columns[6], "disc:sub/a.rpy");
    EXPECT_EQ(finder.rows()[4].volumeLabel, "D1 [udf]");

    FakeDrives drives;
    ui.queueYesNo(true);   // insert the CD
    ui.queueYesNo(true);   // try again
    ui.queueYesNo(false);  // give up on the first lap
    EXPECT_TRUE(finder.accept({4}, 0, 5, drives)->empty());
    EXPECT_EQ(ui.questions[0].text,
              "The replay file sub/a.rpy is stored on the CD disc.\r\n(Actual CD label is D1 [udf])\r\nThis CD must be "
              "inserted now to load the replay.\r\n\r\nDo you want to continue?");
    EXPECT_EQ(ui.questions[1].text, "Can't find the CD with label: D1 [udf]! Try again?");

    drives.drives = {{"/media/x", "D2 [udf]"}, {"/media/cd", "D1 [udf]"}};
    ui.queueYesNo(true);
    const auto laps = finder.accept({4, 5}, 0, 5, drives);
    EXPECT_EQ(ui.questions.size(), 4u);  // the second lap of the confirmed CD asks nothing
    ASSERT_EQ(laps->size(), 2u);
    EXPECT_EQ(std::tuple((*laps)[1].path, (*laps)[1].session, (*laps)[1].lap),
              std::tuple("/media/cd/sub/a.rpy", PRACTICE, 3));
}

TEST(ReplayIndex, ChangedOrRemovedReplaysAreNeverServedStale) {
    LibraryFixture library;
    auto race = playerRace("harbour", {83456});
    race.modified = 1039269802;
    library.addReplay("a.rpy", race);
    library.addReplay("b.rpy", playerRace("ridgeway", {70000}));
    fs::last_write_time(library.replayPath("b.rpy"), fs::file_time_type::clock::now());
    ScriptedUi ui;
    const auto scan = [&] {
        LapFinder finder(library.folders(), ui);
        finder.chooseTrack("harbour");
        return column(finder, 1);
    };
    const auto fileReads = [&] {
        ReplayIndex index(library.folders().indexPath);
        ReplaySummary summary;
        for (const char* name : {"a.rpy", "b.rpy"})
            index.read(library.replayPath(name), [](const std::string& t) { return t == "harbour"; }, summary);
        return index.fileReads();
    };
    EXPECT_EQ(scan(), std::vector<std::string>{"1m 23.456s"});
    // b.rpy was just written: its stamp could still change within one clock tick.
    EXPECT_EQ(fileReads(), 1);

    race.practice->at(0)->laps = {82111};  // same size, new time stamp
    race.modified += 60;
    library.addReplay("a.rpy", race);
    EXPECT_EQ(scan(), std::vector<std::string>{"1m 22.111s"});

    race.practice->at(0)->laps = {81999};  // same size and time stamp, changed at once
    library.addReplay("a.rpy", race);
    fs::last_write_time(library.replayPath("a.rpy"), fs::file_time_type::clock::now());
    EXPECT_EQ(scan(), std::vector<std::string>{"1m 21.999s"});

    fs::remove(library.replayPath("a.rpy"));
    EXPECT_TRUE(scan().empty());
}
