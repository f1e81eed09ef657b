#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/SampleCli.h"

using testsupport::cli;
using testsupport::sampleOrv;
using testsupport::splitLines;
using testsupport::TempDir;

namespace {

std::string race() { return testsupport::sampleInstallation().file("replay/sample_race.rpy"); }

TEST(CliAnalysis, RatingsPrintTheClipboardTableWithCrLf) {
    const auto r = cli("ratings " + sampleOrv() + "--lap race:1:4 --lap practice:0:2 sample_race.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = splitLines(r.out);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], "Driver/Laptime/Car\tAggressiveness\tSmoothness\tUsage\tOverall\r");
    EXPECT_EQ(rows[1].rfind("T. Velin 1m ", 0), 0u) << "the laps in the order given";
    EXPECT_EQ(rows[5], "\t\t\t\t\r");
    EXPECT_EQ(cli("ratings " + sampleOrv() + "sample_race.rpy").exitCode, 1) << "no lap named";
    EXPECT_EQ(cli("ratings " + sampleOrv() + "--lap race:1:99 sample_race.rpy").exitCode, 2);
    // Traction prints the range and each lap's time.
    const auto whole = cli("traction " + sampleOrv() + "--lap practice:0:2 sample_hotlap.rpy");
    ASSERT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(splitLines(whole.out)[0], "range\t0\t3498\t3498");
    const auto part = cli("traction " + sampleOrv() + "--lap practice:0:2 --lap practice:0:1 --start 900 --end 400 sample_hotlap.rpy");
    ASSERT_EQ(part.exitCode, 0) << part.err;
    const auto tractionRows = splitLines(part.out);
    ASSERT_EQ(tractionRows.size(), 3u);
    EXPECT_EQ(tractionRows[0], "range\t900\t900\t0") << "the end is held at the start";
    EXPECT_EQ(tractionRows[1], "1\t0.00");
    EXPECT_EQ(tractionRows[2].rfind("2\t", 0), 0u);
    EXPECT_EQ(cli("traction " + sampleOrv() + "--lap practice:0:2 --start x sample_hotlap.rpy").exitCode, 1);
    // Gears print the list, the statistics and the verdict.
    const auto gears = cli("gears " + sampleOrv() + "--lap practice:0:2 sample_hotlap.rpy");
    ASSERT_EQ(gears.exitCode, 0) << gears.err;
    const auto gearRows = splitLines(gears.out);
    ASSERT_GT(gearRows.size(), 9u);
    EXPECT_EQ(gearRows[0].rfind("1: ", 0), 0u);
    EXPECT_EQ(std::count(gearRows[0].begin(), gearRows[0].end(), '\t'), 5);
    const std::size_t gearChanges = gearRows.size() - 9;
    EXPECT_EQ(gearRows[gearChanges], "No of gearchanges:\t" + std::to_string(gearChanges));
    EXPECT_EQ(gearRows[gearChanges + 1].rfind("-during upshift:\t0m ", 0), 0u);
    EXPECT_EQ(gearRows[gearChanges + 3].rfind("1->2\t", 0), 0u);
    EXPECT_EQ(gearRows[gearChanges + 7], "5->6\t\t\t") << "no shift into sixth";
    EXPECT_EQ(gearRows.back().rfind("Out of ", 0), 0u);
    EXPECT_EQ(cli("gears " + sampleOrv() + "--lap practice:0:2 --lap race:1:4 sample_race.rpy").exitCode, 1);
}

TEST(CliAnalysis, RaceGraphDataAndPictures) {
    const auto r = cli("racegraph --data " + race());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto rows = splitLines(r.out);
    EXPECT_EQ(rows[0], "title\tHarbour - 9 laps");
    EXPECT_EQ(rows[1].rfind("average\t1:", 0), 0u);
    EXPECT_EQ(rows[3].rfind("1\t", 0), 0u);
    EXPECT_NE(rows[3].find("\t0,255,0\t"), std::string::npos) << "the winner in colour 4";
    EXPECT_LT(std::stol(rows[3].substr(rows[3].rfind('\t') + 1)), 9) << "the winner ends at 0 but for the ms "
                                                                         "the whole-ms average leaves over 8 laps";
    const auto manual = cli("racegraph --data --max 60 " + race());
    EXPECT_GT(std::stol(splitLines(manual.out)[2].substr(6)), 60000);
    EXPECT_EQ(cli("racegraph --data --max thirty " + race()).exitCode, 1);

    TempDir out;
    EXPECT_EQ(cli("racegraph --out " + out.file("g.bmp") + " " + race()).exitCode, 0);
    EXPECT_EQ(testsupport::readFileText(out.file("g.bmp")).substr(0, 2), "BM");
    EXPECT_EQ(cli("racereport --out " + out.file("r.png") + " " + race()).exitCode, 0);
    EXPECT_EQ(testsupport::readFileText(out.file("r.png")).substr(1, 3), "PNG");
    EXPECT_EQ(cli("racereport --out " + out.file("none/r.bmp") + " " + race()).exitCode, 3);
    EXPECT_EQ(cli("racegraph --out " + out.file("g.jpg") + " " + race()).exitCode, 1) << "a bitmap named .jpg";
    EXPECT_EQ(cli("racegraph " + race()).exitCode, 1);
    EXPECT_EQ(cli("racegraph --data " + testsupport::sampleInstallation().file("replay/sample_hotlap.rpy")).exitCode, 2);
    // The race report data has the start and a row per lap.
    const auto report = cli("racereport --data " + race());
    ASSERT_EQ(report.exitCode, 0) << report.err;
    const auto reportRows = splitLines(report.out);
    ASSERT_EQ(reportRows.size(), 10u);  // the start and nine laps
    EXPECT_EQ(std::count(reportRows[0].begin(), reportRows[0].end(), ','), 19);
    EXPECT_EQ(reportRows[1].rfind("lap\t1\t", 0), 0u);
    EXPECT_EQ(reportRows[9].substr(reportRows[9].rfind('\t')), "\t18") << "the finishers of the last lap";
}

}  // namespace
