#include <gtest/gtest.h>

#include <filesystem>

#include "support/LibraryFixture.h"
#include "core/library/ExportRecords.h"
#include "core/library/PBViewer.h"
#include "core/library/PersonalBestStore.h"
#include "core/library/RecordsExport.h"
#include "core/platform/Files.h"
#include "support/ConfigSandbox.h"
#include "support/ScriptedUi.h"

using namespace movrane;
using testsupport::LibraryFixture;
using testsupport::playerRace;
using testsupport::ScriptedUi;
namespace fs = std::filesystem;

namespace {

constexpr int FERRARI = 4;
constexpr int LOTUS = 5;

uint32_t timeOf(const RecordsTable& table, std::size_t row, int car, BestSession session) {
    return table.rows.at(row).cars[car].sessions[session].ms;
}

}  // namespace

class RecordsTest : public ::testing::Test {
protected:
    RecordsTest() : library({{"harbour", "ferP", 83.456}, {"harbour", "lotR", 90.0}}) {}
    std::optional<RecordsTable> collect(CollectOptions options = {}) {
        return collectPersonalBests(library.folders(), 0, options, ui);
    }
    testsupport::ConfigSandbox sandbox;
    LibraryFixture library;
    ScriptedUi ui;
};

TEST_F(RecordsTest, PlayerIniTimesAndReplaysOfTracksWithoutThem) {
    library.addReplay("h.rpy", playerRace("harbour", {80000}));
    library.addReplay("r.rpy", playerRace("ridgeway", {70000, 65000 | (1u << 28), 68000}, {66000}));
    library.addReplay("alone.rpy", playerRace("ridgeway", {64000}, {}, true, LOTUS));
    library.addReplay("n1.rpy", playerRace("northcapering", {50000}));
    library.addReplay("n2.rpy", playerRace("northcapetown", {51000}));
    const auto table = collect();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->playerName, "Ann Example");
    ASSERT_EQ(table->rows.size(), 4u);
    EXPECT_EQ(table->rows[0].shortName, "Harbour");
    EXPECT_EQ(timeOf(*table, 0, FERRARI, BEST_PRACTICE), 83460u);  // player.ini, replays not asked for
    EXPECT_EQ(table->rows[0].cars[FERRARI].sessions[BEST_PRACTICE].flag, 0);
    EXPECT_EQ(timeOf(*table, 1, FERRARI, BEST_PRACTICE), 68000u);  // the flagged 65000 never counts
    EXPECT_EQ(timeOf(*table, 1, FERRARI, BEST_RACE), 66000u);
    EXPECT_EQ(timeOf(*table, 1, LOTUS, BEST_TRAINING), 64000u);     // one driver: Training only
    EXPECT_EQ(timeOf(*table, 1, LOTUS, BEST_PRACTICE), MISSING_TIME);
    EXPECT_EQ(table->rows[2].directory, "northcapering");           // names longer than 8 stay apart
    EXPECT_EQ(table->rows[2].longName, "NotInstalledTrack northcapering");
    EXPECT_EQ(timeOf(*table, 3, FERRARI, BEST_PRACTICE), 51000u);

    const auto scanned = collect({false, true});
    EXPECT_EQ(timeOf(*scanned, 0, FERRARI, BEST_PRACTICE), 80000u);
    // The personal best store: serialisation lengths and counts.
    const std::string longName(300, 'x');
    const std::string bytes = serialiseStrings({"ab", longName});
    EXPECT_EQ(bytes.substr(0, 5), std::string("\x02\x00\x02" "ab", 5));
    EXPECT_EQ(bytes.substr(5, 3), "\xFF\x2C\x01");
    EXPECT_EQ(parseStrings(bytes), (std::vector<std::string>{"ab", longName}));
    EXPECT_FALSE(parseStrings(bytes.substr(0, bytes.size() - 1)));

    const std::vector<uint32_t> many(65535, 7);
    const std::string numbers = serialiseNumbers(many);
    EXPECT_EQ(numbers.substr(0, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));
    EXPECT_EQ(parseNumbers(numbers), many);
    EXPECT_FALSE(parseNumbers(std::string("\x05\x00\x01\x00\x00\x00", 6)));
    // Lap-time values have ten significant digits without trailing zeros.
    for (const auto& [ms, text] : {std::pair<uint32_t, const char*>{83456, "418207356 83.456"},
                                   {90000, "418207356 90"}, {9005, "418207356 9.005"}})
        EXPECT_EQ(lapTimeValue(ms), text);
}

TEST_F(RecordsTest, OnlyCompleteLapsLeavesOutLapsWithoutData) {
    auto race = playerRace("ridgeway", {70000, 60000});
    race.practiceSeconds = 100;  // the second lap ends after the recording
    library.addReplay("r.rpy", race);
    EXPECT_EQ(timeOf(*collect(), 1, FERRARI, BEST_PRACTICE), 60000u);
    EXPECT_EQ(timeOf(*collect({true, false}), 1, FERRARI, BEST_PRACTICE), 70000u);
    // Stopping messages.
    writeFileAtomically(library.replayPath("bad.rpy"), "YLPR");
    fs::remove_all(library.dir.file("orv/tracks/ridgeway"));
    ui.messages.clear();
    EXPECT_FALSE(collect());
    ASSERT_EQ(ui.messages.size(), 2u);  // the replay headers are read before the season's tracks
    EXPECT_EQ(ui.messages[0].text, library.replayPath("bad.rpy"));
    EXPECT_EQ(ui.messages.back().text.rfind("Track.ini or entire track seems to be missing in the tracks directory: "
                                            "ridgeway\n\rThe html-pages",
                                            0),
              0u);
    EXPECT_FALSE(collectPersonalBests(library.folders(), 3, {}, ui));
    EXPECT_EQ(ui.messages.back().text, "No driver selected!");
}

TEST_F(RecordsTest, ViewerStoresRowsAndShowsThemAsOldNextTime) {
    PBViewer first(library.folders(), ui);
    EXPECT_TRUE(first.rows().empty());
    EXPECT_FALSE(first.exportLapTimes(library.dir.file("out")));
    EXPECT_EQ(ui.messages.back().text, "No laptimes to export!\r\nYou must first click 'Refresh' above");
    EXPECT_FALSE(first.mayUpload());
    ASSERT_TRUE(first.refresh(0));
    EXPECT_EQ(first.rows()[0], (PBViewer::Row{"Harbour", " ", " ", " ", " ", "1:23.460", "1:30.000", " "}));

    PBViewer second(library.folders(), ui);
    ASSERT_EQ(second.rows().size(), 4u);
    EXPECT_EQ(second.rows()[0][0], "Using old times!");
    EXPECT_EQ(second.rows()[1], PBViewer::Row{});
    EXPECT_EQ(second.rows()[2], first.rows()[0]);
    // The lap-times file is rewritten cleanly and keeps an .ini extension in any case.
    PBViewer exporter(library.folders(), ui);
    ASSERT_TRUE(exporter.refresh(0));
    fs::create_directories(library.dir.file("out"));
    ui.queueFile(library.dir.file("out/times.INI"));
    ASSERT_EQ(exporter.exportLapTimes(library.dir.file("out")), library.dir.file("out/times.INI"));
    EXPECT_EQ(ui.saveRequests.back().initialPath, library.dir.file("out/OrvLapTimes.ini"));
    EXPECT_EQ(ui.messages.back().text,
              "The Laptimes for Ann Example\r\nare now stored in\r\n" + library.dir.file("out/times.INI"));
    const std::string iniText = "[ harbour ]\r\nferP = 418207356 83.46\r\nlotR = 418207356 90\r\n\r\n";
    EXPECT_EQ(testsupport::readFileText(library.dir.file("out/times.INI")), iniText);
    ui.queueFile(library.dir.file("out/times.INI"));
    exporter.exportLapTimes(library.dir.file("out"));
    EXPECT_EQ(testsupport::readFileText(library.dir.file("out/times.INI")), iniText);
    ui.queueFile(library.dir.file("out/plain"));
    EXPECT_EQ(exporter.exportLapTimes(library.dir.file("out")), library.dir.file("out/plain.ini"));
}

TEST_F(RecordsTest, SitePagesNameTiesByTableOrderAndEscapeTheirTexts) {
    library.addReplay("h.rpy", playerRace("harbour", {95000}, {90000}, false, 0));
    writeFileAtomically(library.dir.file("orv/tracks/ridgeway/track.ini"),
                        "track_name_short=R&R\r\ntrack_name=<Ridge>\r\n");
    auto table = collect({false, true});
    ASSERT_TRUE(table);
    const std::string out = library.dir.file("out");
    fs::create_directories(out);
    const CalendarDate date{2003, 3, 7};
    const auto folder = writeRecordsSite(*table, out, "", date, ui);
    ASSERT_EQ(folder, out + "/Ann Example_March_07_2003");
    EXPECT_EQ(writeRecordsSite(*table, out, "", date, ui), folder);  // the same day reuses the folder
    const std::string overall = testsupport::readFileText(*folder + "/overallPerTrack.html");
    EXPECT_EQ(overall.rfind("<HTML>\n<HEAD>\n<TITLE>Orv Best Times</TITLE>\n<LINK REL=STYLESHEET HREF=\"movrn.css\">\n"
                            "</HEAD>\n<BODY>\n<DIV ALIGN=\"center\">\n<H1>Orv</H1>\n<H2>Overall Best Laps</H2>\n"
                            "<P>Generated by <A HREF=\"index.html\">Movrane</A><P>\n",
                            0),
              0u);
    EXPECT_NE(overall.find("<H2>\nAnn Example</H2>\n<P>\nMarch 07, 2003<P>\n"), std::string::npos);
    // Brabham's race lap from the replay ties Lotus's from player.ini: Brabham comes first.
    EXPECT_NE(overall.find("<TD CLASS=\"value\">1.30.000&nbsp;<BR>Repco-Brabham BT24</TD>\n"), std::string::npos);
    EXPECT_NE(overall.find("<TD CLASS=\"heading\">R&amp;R</TD>\n<TD CLASS=\"value\">&nbsp;</TD>\n"),
              std::string::npos);
    const std::string index = testsupport::readFileText(*folder + "/index.html");
    EXPECT_NE(index.find("<A HREF=\"ridgeway.html\">R&amp;R - &lt;Ridge&gt;</A><BR>\n"), std::string::npos);
    EXPECT_NE(index.find("<A HREF=\"Honda RA300.html\">Honda RA300</A><BR>\n"), std::string::npos);
    EXPECT_EQ(index.substr(index.size() - 16), "</BODY>\n</HTML>\n");
    EXPECT_EQ(testsupport::readFileText(*folder + "/movrn.css").substr(0, 48), "BODY {color:black;background-color:#0b9b1e;}\nTH ");
    EXPECT_TRUE(fs::exists(*folder + "/Ferrari 312.html"));
    EXPECT_NE(testsupport::readFileText(*folder + "/harbour.html").find("<TD CLASS=\"heading\">Ferrari 312</TD>\n<TD CLASS=\"value\">"
                                                       "1.23.460</TD>\n<TD CLASS=\"value\">&nbsp;</TD>\n"
                                                       "<TD CLASS=\"value\">1.23.460</TD>\n"),
              std::string::npos);
    // File names from replay text stay inside the site.
    testsupport::TempDir siteDir;
    ScriptedUi siteUi;
    RecordsTable hostile{"Ann/..", {RecordsRow{"x", "y", "../../escape", {}}}};
    const auto hostileFolder = writeRecordsSite(hostile, siteDir.path().string(), "", {2003, 3, 7}, siteUi);
    ASSERT_TRUE(hostileFolder);
    EXPECT_EQ(*hostileFolder, siteDir.file("Ann_.._March_07_2003"));
    EXPECT_TRUE(fs::exists(*hostileFolder + "/_.._.._escape.html"));
}

