#include <gtest/gtest.h>

#include <string>

#include "samplekit/ReplayWriter.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using testsupport::runCommand;
using testsupport::TempDir;

namespace {

std::string cli(const std::string& arguments) { return std::string(MOVRANE_CLI_PATH) + " " + arguments; }

}  // namespace

TEST(CliInfo, DescribesTheSampleRace) {
    TempDir dir;
    ASSERT_EQ(runCommand(std::string(MOVRANE_SAMPLE_PATH) + " " + dir.path().string()).exitCode, 0);
    const auto r = runCommand(cli("info " + dir.file("replay/sample_race.rpy")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("track: harbour\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("drivers: 20\n"), std::string::npos);
    EXPECT_NE(r.out.find("driver 0: "), std::string::npos);
    EXPECT_NE(r.out.find("  race: 9 laps, valid: "), std::string::npos);
    EXPECT_TRUE(r.err.empty());
}

TEST(CliInfo, UnreadableReplaysExitWithTheReadersMessage) {
    TempDir dir;
    testsupport::writeFileBytes(dir.file("empty.rpy"), {});
    auto r = runCommand(cli("info " + dir.file("empty.rpy")));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "HeaderClass: Error reading file!\n");
    EXPECT_TRUE(r.out.empty());

    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(1);
    d.version = 3;
    testsupport::writeStampedReplay(dir.file("v3.rpy"), d, {{0, 1000, 2}});
    r = runCommand(cli("info " + dir.file("v3.rpy")));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "HeaderClass: Kelsun 4 replays not supported!\n");

    d.version = 2;
    samplekit::writeHeaderOnly(dir.file("nodrivers.rpy"), d, true);
    r = runCommand(cli("info " + dir.file("nodrivers.rpy")));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "DriversClass: Error reading file!\n");
}

TEST(CliInfo, UsageAndHelp) {
    EXPECT_EQ(runCommand(cli("")).exitCode, 1);
    EXPECT_EQ(runCommand(cli("info")).exitCode, 1);
    EXPECT_EQ(runCommand(cli("frobnicate")).exitCode, 1);
    const auto help = runCommand(cli("--help"));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("info"), std::string::npos);
    const auto infoHelp = runCommand(cli("info --help"));
    EXPECT_EQ(infoHelp.exitCode, 0);
    EXPECT_NE(infoHelp.out.find("usage: movrane-cli info REPLAY"), std::string::npos);
}
