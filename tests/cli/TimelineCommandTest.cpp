#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/SampleCli.h"

using testsupport::sampleInstallation;

namespace {

testsupport::CommandResult timeline(const std::string& arguments) { return testsupport::cli("timeline " + arguments); }

}  // namespace

TEST(CliTimeline, PrintsTheListedFramesWithTheirCarsInOrderOnTrack) {
    const std::string race = sampleInstallation().file("replay/sample_race.rpy");
    const auto r = timeline("--frames 720,0 " + race);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = testsupport::splitLines(r.out);
    ASSERT_EQ(lines.at(0).rfind("frames\t", 0), 0u);
    EXPECT_GT(std::stol(lines[0].substr(7)), 720);

    std::vector<std::vector<std::string>> frameLines;
    std::vector<int> carsPerFrame;
    double previousDistance = 1e9;
    for (const std::string& line : std::vector(lines.begin() + 1, lines.end())) {
        const auto f = testsupport::splitFields(line, '\t');
        if (line[0] != '\t') {
            ASSERT_EQ(f.size(), 6u) << line;
            frameLines.push_back(f);
            carsPerFrame.push_back(0);
            previousDistance = 1e9;
            continue;
        }
        ASSERT_EQ(f.size(), 5u) << line;
        const double distance = std::stod(f[2]);
        EXPECT_LE(distance, previousDistance) << "order on track";
        previousDistance = distance;
        ++carsPerFrame.back();
    }
    ASSERT_EQ(frameLines.size(), 2u);
    EXPECT_EQ(frameLines[0][0], "720");
    EXPECT_EQ(frameLines[1][0], "0");
    EXPECT_EQ(std::stol(frameLines[0][1]) - std::stol(frameLines[1][1]), 20000) << "720 frames are 20 s";
    EXPECT_EQ(frameLines[1][2], "0") << "frame 0 keeps code 0";
    EXPECT_EQ(frameLines[1][3], "");
    EXPECT_EQ(frameLines[0][5], "") << "no lap completed after 20 s";
    EXPECT_GT(carsPerFrame[0], 10);
    // Bad arguments and unreadable races are refused.
    EXPECT_EQ(timeline(race).exitCode, 1);
    EXPECT_EQ(timeline("--frames 1,x " + race).exitCode, 1);
    EXPECT_EQ(timeline("--frames 99999999 " + race).exitCode, 1);
    const auto missing = timeline("--frames 0 " + sampleInstallation().file("replay/missing.rpy"));
    EXPECT_EQ(missing.exitCode, 2);
    const auto hotlap = timeline("--frames 0 " + sampleInstallation().file("replay/sample_hotlap.rpy"));
    EXPECT_EQ(hotlap.exitCode, 2);
    EXPECT_EQ(hotlap.err, "The race cannot be read: the replay holds no time stamps of the race.\n");
}

