// Report files: names, the ".txt" rule, batch export with its prefix and its silent stop.
#include <gtest/gtest.h>

#include <filesystem>

#include "ReportCases.h"
#include "core/reports/ReportFiles.h"
#include "core/reports/ReportText.h"
#include "support/ScriptedUi.h"

namespace {

using namespace movrane;
namespace fs = std::filesystem;
using reportcases::LoadedReplay;

TEST(ReportFileNames, BaseNameOfAReplay) {
    EXPECT_EQ(replayBaseName("/replays/monza.rpy"), "monza");
    EXPECT_EQ(replayBaseName("C:\\Orv\\replay\\monza.rpy"), "monza");
    EXPECT_EQ(replayBaseName("race.v2.rpy"), "racerpy");
    EXPECT_EQ(replayBaseName("old.dir/race"), "race") << "a name without a dot is kept whole";
    EXPECT_EQ(replayBaseName("a.b"), "a");
    EXPECT_EQ(defaultExportName(ReportKind::Race, "/r/monza.rpy"), "/r/monza_Race.txt");
    EXPECT_EQ(defaultExportName(ReportKind::Mechanical, "/r/monza.rpy"), "/r/monza_Mechanical.txt");
    EXPECT_EQ(defaultExportName(ReportKind::LapChart, "a"), "_LapChart.txt");
    EXPECT_EQ(defaultExportName(ReportKind::LaptimeVerifier, "/r/monza.rpy"), "LaptimeVerify.txt");
    EXPECT_EQ(defaultExportName(ReportKind::SectorTimes, "/r/monza.rpy"), "SectorTimes.txt");
    EXPECT_EQ(defaultExportName(ReportKind::Speed, "/r/monza.rpy"), "Speed.txt");
    EXPECT_EQ(defaultExportName(ReportKind::ModSet, "/r/monza.rpy"), "/r/monza.txt");
    EXPECT_EQ(withTxtExtension("report"), "report.txt");
    EXPECT_EQ(withTxtExtension("report.txt"), "report.txt");
    EXPECT_EQ(withTxtExtension("report.TXT"), "report.TXT.txt");
    // Export to a file writes newline text or says why it cannot.
    testsupport::TempDir dir;
    EXPECT_FALSE(exportToFile("a\r\nb\r\n", dir.file("saved")).has_value());
    EXPECT_EQ(testsupport::readFileText(dir.file("saved.txt")), "a\nb\n");
    EXPECT_EQ(exportToFile("a\r\n", dir.file("missing/saved.txt")), "Error creating file!");
}

TEST(ReportFiles, ExportToFileAsksForTheNameAndWritesTheWholeText) {
    const LoadedReplay replay(reportcases::longRace());
    Report report = replay.report();
    report.generate(ReportKind::LapByLap);
    testsupport::ScriptedUi ui;
    ui.queueFile(replay.dir().file("story.TXT"));
    EXPECT_TRUE(exportReportToFile(ui, report, ReportKind::LapByLap));
    ASSERT_EQ(ui.saveRequests.size(), 1u);
    EXPECT_EQ(ui.saveRequests[0].initialPath, replay.dir().file("race_LapByLap.txt"));
    EXPECT_EQ(ui.saveRequests[0].filters[0].description, "Text files (*.txt)");
    EXPECT_EQ(testsupport::readFileText(replay.dir().file("story.TXT.txt")), toFileText(report.text()));
    EXPECT_GT(report.text().size(), REPORT_VIEW_LIMIT);

    ui.queueFile(replay.dir().file("none/story"));
    EXPECT_FALSE(exportReportToFile(ui, report, ReportKind::LapByLap));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Error creating file!"});
    ui.queueFile(std::nullopt);
    EXPECT_FALSE(exportReportToFile(ui, report, ReportKind::LapByLap));
    EXPECT_EQ(ui.messages.size(), 1u);
}

std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(BatchExport, WritesEveryBasicReportUnderThePrefix) {
    const LoadedReplay replay(reportcases::standardRace(), "night.v2.rpy");
    const fs::path out = replay.dir().path() / "out";
    fs::create_directory(out);
    Report report = replay.report();
    EXPECT_EQ(report.exportBatch(out.string() + "/", false).writtenPaths().size(), 5u);
    EXPECT_EQ(filesIn(out), (std::vector<std::string>{"nightrpy_Complete.txt", "nightrpy_LapByLap.txt",
                                                      "nightrpy_LapChart.txt", "nightrpy_Practice.txt",
                                                      "nightrpy_Race.txt"}));
    EXPECT_EQ(testsupport::readFileText(out / "nightrpy_Race.txt"), toFileText(replay.generate(ReportKind::Race)));
    EXPECT_EQ(testsupport::readFileText(out / "nightrpy_Complete.txt"),
              toFileText(replay.generate(ReportKind::Complete)));

    // Without the final separator the folder's name begins the file names beside it.
    EXPECT_EQ(report.exportBatch(out.string(), true).writtenPaths().size(), 6u);
    EXPECT_TRUE(fs::exists(replay.dir().path() / "outnightrpy_Mechanical.txt"));
    EXPECT_EQ(testsupport::readFileText(replay.dir().path() / "outnightrpy_Mechanical.txt"),
              toFileText(replay.generate(ReportKind::Mechanical)));
    // The batch stops at the first file that cannot be written and names it.
    const LoadedReplay failing(reportcases::standardRace());
    const fs::path failOut = failing.dir().path() / "out";
    fs::create_directory(failOut);
    testsupport::writeFileBytes(failOut / "race_LapChart.txt", {'o', 'l', 'd'});
    Report failReport = failing.report();
    const movrane::FailingWrite fullDisk(3);
    const movrane::FileBatch batch = failReport.exportBatch(failOut.string() + "/", true);
    EXPECT_EQ(batch.failedPath(), (failOut / "race_LapChart.txt").string());
    EXPECT_EQ(filesIn(failOut), (std::vector<std::string>{"race_LapChart.txt", "race_Practice.txt", "race_Race.txt"}));
    EXPECT_EQ(testsupport::readFileText(failOut / "race_LapChart.txt"), "old") << "the earlier file is kept";
    EXPECT_EQ(testsupport::readFileText(failOut / "race_Race.txt"), toFileText(failing.generate(ReportKind::Race)));
}

// 20 drivers changing places on every one of 149 laps: a lap-by-lap text far beyond the
// text view's limit is still written whole, while the complete report holds the notice.
TEST(BatchExport, ALongReportIsWrittenWhole) {
    const LoadedReplay replay(reportcases::longRace());
    Report report = replay.report();
    ASSERT_FALSE(report.exportBatch(replay.dir().file("x_"), false).failed());
    const std::string lapByLap = testsupport::readFileText(replay.dir().file("x_race_LapByLap.txt"));
    EXPECT_GT(lapByLap.size(), 70000u);
    EXPECT_EQ(lapByLap, toFileText(replay.generate(ReportKind::LapByLap)));
    EXPECT_EQ(testsupport::readFileText(replay.dir().file("x_race_Complete.txt")),
              "Sorry, report is too large for this stupid textbox.\nUse the seperate report options instead.\n");
}

}  // namespace
