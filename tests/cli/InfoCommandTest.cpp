#include <gtest/gtest.h>

#include <string>

#include "samplekit/ReplayWriter.h"
#include "support/SampleCli.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using testsupport::runCommand;
using testsupport::TempDir;

namespace {

std::string cli(const std::string& arguments) { return std::string(MOVRANE_CLI_PATH) + " " + arguments; }

}  // namespace

TEST(CliInfo, DescribesTheSampleRace) {
    const auto r = runCommand(cli("info " + testsupport::sampleInstallation().file("replay/sample_race.rpy")));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("track: harbour\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("drivers: 20\n"), std::string::npos);
    EXPECT_NE(r.out.find("driver 0: "), std::string::npos);
    EXPECT_NE(r.out.find("  race: 9 laps, valid: "), std::string::npos);
    EXPECT_TRUE(r.err.empty());
    // Usage and help.
    for (const char* wrong : {"", "info", "frobnicate"}) EXPECT_EQ(runCommand(cli(wrong)).exitCode, 1) << wrong;
    const auto help = runCommand(cli("--help"));
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("info"), std::string::npos);
    const auto infoHelp = runCommand(cli("info --help"));
    EXPECT_EQ(infoHelp.exitCode, 0);
    EXPECT_NE(infoHelp.out.find("usage: movrane-cli info REPLAY"), std::string::npos);
    // Unreadable replays exit with the reader's message.
    TempDir dir;
    testsupport::writeFileBytes(dir.file("empty.rpy"), {});
    auto unreadable = runCommand(cli("info " + dir.file("empty.rpy")));
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_EQ(unreadable.err, "HeaderClass: Error reading file!\n" + dir.file("empty.rpy") + "\n");
    EXPECT_TRUE(unreadable.out.empty());

    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(1);
    d.version = 3;
    testsupport::writeStampedReplay(dir.file("v3.rpy"), d, {{0, 1000, 2}});
    unreadable = runCommand(cli("info " + dir.file("v3.rpy")));
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_EQ(unreadable.err, "HeaderClass: Kelsun 4 replays not supported!\n" + dir.file("v3.rpy") + "\n");

    d.version = 2;
    samplekit::writeHeaderOnly(dir.file("nodrivers.rpy"), d, true);
    unreadable = runCommand(cli("info " + dir.file("nodrivers.rpy")));
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_EQ(unreadable.err, "DriversClass: Error reading file!\n" + dir.file("nodrivers.rpy") + "\n");
}

