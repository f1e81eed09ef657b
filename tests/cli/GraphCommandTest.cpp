#include <gtest/gtest.h>

#include <string>

#include "support/SampleCli.h"

using testsupport::TempDir;

namespace {

testsupport::CommandResult graph(const std::string& arguments) {
    return testsupport::cli("graph " + testsupport::sampleOrv() + arguments);
}

// The series column of every row, in order of first appearance, and the row count.
std::vector<std::string> seriesOf(const std::string& csv, int& rows) {
    std::vector<std::string> series;
    const auto lines = testsupport::splitLines(csv);
    rows = static_cast<int>(lines.size()) - 1;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string key = lines[i].substr(0, lines[i].find(','));
        if (series.empty() || series.back() != key) series.push_back(key);
    }
    return series;
}

TEST(CliGraph, WritesEverySeriesOfTheChannel) {
    TempDir out;
    const auto r = graph("--lap race:1:4 --lap race:3:4 --channel 12 --wheel 1 --wheel 4 --csv " +
                         out.file("g.csv") + " sample_race.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string csv = testsupport::readFileText(out.file("g.csv"));
    ASSERT_EQ(csv.rfind("series,name,x,y\nlap1-wheel1,New graph - 1,", 0), 0u) << csv.substr(0, 80);
    int rows = 0;
    EXPECT_EQ(seriesOf(csv, rows), (std::vector<std::string>{"lap1-wheel1", "lap1-wheel4", "lap2-wheel1", "lap2-wheel4"}));
    EXPECT_GT(rows, 1000);
    EXPECT_EQ(csv.find('\r'), std::string::npos);
    // The time difference adds its series and prints the info.
    const auto diff = graph("--lap race:1:4 --lap race:3:4 --channel 1 --mph --timediff --csv " + out.file("g.csv") +
                         " sample_race.rpy");
    ASSERT_EQ(diff.exitCode, 0) << diff.err;
    EXPECT_EQ(diff.out.rfind("Max ahead:\t", 0), 0u) << diff.out;
    EXPECT_NE(diff.out.find("\nAt finish line:\t"), std::string::npos);
    EXPECT_NE(diff.out.find("\nAt current pos:\t\n"), std::string::npos);
    int diffRows = 0;
    const std::string diffCsv = testsupport::readFileText(out.file("g.csv"));
    EXPECT_EQ(seriesOf(diffCsv, diffRows), (std::vector<std::string>{"lap1", "lap2", "timediff"}));
}

TEST(CliGraph, DrawsTheGraphAsPngPdfOrSvg) {
    TempDir out;
    // Drawing starts the toolkit, whose font caches live until the process ends.
    const std::string env = "LSAN_OPTIONS=suppressions=" + std::string(MOVRANE_TEST_DATA) + "/../gui/lsan.supp ";
    struct Case {
        std::string file;
        std::string start;
    };
    for (const Case& c : {Case{"g.png", "\x89PNG"}, Case{"g.PDF", "%PDF"}, Case{"g.svg", "<?xml"}}) {
        const auto r = testsupport::runCommand(env + MOVRANE_CLI_PATH + " graph " + testsupport::sampleOrv() +
                                  "--lap race:1:4 --lap race:3:4 --channel 3 --timediff --out " + out.file(c.file) +
                                  " sample_race.rpy");
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string bytes = testsupport::readFileText(out.file(c.file));
        EXPECT_EQ(bytes.rfind(c.start, 0), 0u) << c.file;
        EXPECT_GT(bytes.size(), 5000u) << c.file;
    }
    EXPECT_EQ(graph("--lap race:1:4 --channel 3 --out g.gif sample_race.rpy").exitCode, 1);
    // What it cannot do is refused.
    struct Refusal {
        std::string arguments;
        int status;
    };
    for (const Refusal& c : {Refusal{"--lap race:1:4 --channel 22 sample_race.rpy", 1},
                          Refusal{"--lap race:1:4 --channel 1 --timediff sample_race.rpy", 1},
                          Refusal{"--lap race:1:4 --channel 1 --wheel 5 sample_race.rpy", 1},
                          Refusal{"--channel 1 sample_race.rpy", 1},
                          Refusal{"--lap race:1:4 --channel 1 sample_race.rpy", 1},  // nothing to write
                          Refusal{"--lap race:1:4 --channel 1 --csv - missing.rpy", 2},
                          Refusal{"--lap race:1:4 --channel 1 --csv /nonexistent/dir/g.csv sample_race.rpy", 3}})
        EXPECT_EQ(graph(c.arguments).exitCode, c.status) << c.arguments;
}

}  // namespace
