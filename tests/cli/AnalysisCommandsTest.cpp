#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/SampleInstallationDir.h"
#include "support/TempDir.h"

using testsupport::runCommand;
using testsupport::TempDir;

namespace {

const TempDir& installation() { return testsupport::sampleInstallationDir(); }

testsupport::CommandResult cli(const std::string& arguments) {
    return runCommand(std::string(MOVRANE_CLI_PATH) + " " + arguments);
}

std::string orv() { return "--orv " + installation().path().string() + " "; }
std::string race() { return installation().file("replay/sample_race.rpy"); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

TEST(CliAnalysis, RatingsPrintTheClipboardTableWithCrLf) {
    const auto r = cli("ratings " + orv() + "--lap race:1:4 --lap practice:0:2 sample_race.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "Driver/Laptime/Car\tAggressiveness\tSmoothness\tUsage\tOverall\r");
    EXPECT_EQ(rows[1].rfind("T. Velin 1m ", 0), 0u) << "the laps in the order given";
    EXPECT_EQ(rows[5], "\t\t\t\t\r");
    EXPECT_EQ(cli("ratings " + orv() + "sample_race.rpy").exitCode, 1) << "no lap named";
    EXPECT_EQ(cli("ratings " + orv() + "--lap race:1:99 sample_race.rpy").exitCode, 2);
}

TEST(CliAnalysis, GearsPrintListStatisticsAndVerdict) {
    const auto r = cli("gears " + orv() + "--lap practice:0:2 sample_hotlap.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_GT(rows.size(), 9u);
    EXPECT_EQ(rows[0].rfind("1: ", 0), 0u);
    EXPECT_EQ(std::count(rows[0].begin(), rows[0].end(), '\t'), 5);
    const std::size_t changes = rows.size() - 9;
    EXPECT_EQ(rows[changes], "No of gearchanges:\t" + std::to_string(changes));
    EXPECT_EQ(rows[changes + 1].rfind("-during upshift:\t0m ", 0), 0u);
    EXPECT_EQ(rows[changes + 3].rfind("1->2\t", 0), 0u);
    EXPECT_EQ(rows[changes + 7], "5->6\t\t\t") << "no shift into sixth";
    EXPECT_EQ(rows.back().rfind("Out of ", 0), 0u);
    EXPECT_EQ(cli("gears " + orv() + "--lap practice:0:2 --lap race:1:4 sample_race.rpy").exitCode, 1);
}

TEST(CliAnalysis, TractionPrintsTheRangeAndEachLapsTime) {
    const auto whole = cli("traction " + orv() + "--lap practice:0:2 sample_hotlap.rpy");
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(lines(whole.out)[0], "range\t0\t3498\t3498");
    const auto part = cli("traction " + orv() + "--lap practice:0:2 --lap practice:0:1 --start 900 --end 400 sample_hotlap.rpy");
    ASSERT_EQ(part.exitCode, 0) << part.err;
    const auto rows = lines(part.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "range\t900\t900\t0") << "the end is held at the start";
    EXPECT_EQ(rows[1], "1\t0.00");
    EXPECT_EQ(rows[2].rfind("2\t", 0), 0u);
    EXPECT_EQ(cli("traction " + orv() + "--lap practice:0:2 --start x sample_hotlap.rpy").exitCode, 1);
}

TEST(CliAnalysis, RaceGraphDataAndPictures) {
    const auto r = cli("racegraph --data " + race());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = lines(r.out);
    EXPECT_EQ(rows[0], "title\tHarbour - 9 laps");
    EXPECT_EQ(rows[1].rfind("average\t1:", 0), 0u);
    EXPECT_EQ(rows[3].rfind("1\t", 0), 0u);
    EXPECT_NE(rows[3].find("\t0,255,0\t"), std::string::npos) << "the winner in colour 4";
    EXPECT_EQ(rows[3].substr(rows[3].size() - 2), "\t0") << "the winner ends at 0";
    const auto manual = cli("racegraph --data --max 60 " + race());
    EXPECT_GT(std::stol(lines(manual.out)[2].substr(6)), 60000);

    TempDir out;
    EXPECT_EQ(cli("racegraph --out " + out.file("g.bmp") + " " + race()).exitCode, 0);
    EXPECT_EQ(testsupport::readFileText(out.file("g.bmp")).substr(0, 2), "BM");
    EXPECT_EQ(cli("racereport --out " + out.file("r.png") + " " + race()).exitCode, 0);
    EXPECT_EQ(testsupport::readFileText(out.file("r.png")).substr(1, 3), "PNG");
    EXPECT_EQ(cli("racereport --out " + out.file("none/r.bmp") + " " + race()).exitCode, 3);
    EXPECT_EQ(cli("racegraph " + race()).exitCode, 1);
    EXPECT_EQ(cli("racegraph --data " + installation().file("replay/sample_hotlap.rpy")).exitCode, 2);
}

TEST(CliAnalysis, RaceReportDataHasStartAndLapRows) {
    const auto r = cli("racereport --data " + race());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 10u);  // the start and nine laps
    EXPECT_EQ(std::count(rows[0].begin(), rows[0].end(), ','), 19);
    EXPECT_EQ(rows[1].rfind("lap\t1\t", 0), 0u);
    EXPECT_EQ(rows[9].substr(rows[9].rfind('\t')), "\t18") << "the finishers of the last lap";
}

}  // namespace
