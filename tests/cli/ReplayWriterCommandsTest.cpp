#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/SampleLaps.h"
#include "support/TempDir.h"

using testsupport::runCommand;
using testsupport::TempDir;

namespace {

const TempDir& installation() { return testsupport::sampleInstallation(); }

// Without --orv the stored settings count: an empty settings folder of its own.
testsupport::CommandResult cli(const TempDir& config, const std::string& arguments) {
    return runCommand("MOVRANE_CONFIG_DIR=" + config.path().string() + " " + MOVRANE_CLI_PATH + " " + arguments);
}

std::string orv() { return "--orv " + installation().path().string() + " "; }

}  // namespace

TEST(CliExtract, WritesALapThatLoadsWithTheSameTelemetry) {
    TempDir out;
    const std::string source = installation().file("replay/sample_race.rpy");
    auto r = cli(out, "extract --lap race:3:4 --out " + out.file("lap.rpy") + " " + source);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto telemetry = [&](const std::string& replay) {
        return cli(out, "telemetry " + orv() + "--lap race:3:4 --out - " + replay).out;
    };
    EXPECT_EQ(telemetry(out.file("lap.rpy")), telemetry(source));
    // With --orv the replay is found in the installation's replay folder and loads with its track.
    r = cli(out, "extract " + orv() + "--lap race:3:4 --out " + out.file("named.rpy") + " sample_race.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err.find("Can't find track"), std::string::npos) << r.err;
    EXPECT_EQ(telemetry(out.file("named.rpy")), telemetry(source));

    const auto size = std::filesystem::file_size(source);
    r = cli(out, "extract --lap race:3:4 --out " + source + " " + source);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("Source and destination file cannot be the same file\n"), std::string::npos) << r.err;
    EXPECT_EQ(std::filesystem::file_size(source), size);
    EXPECT_EQ(cli(out, "extract --lap race:3:4 " + source).exitCode, 1);
    EXPECT_EQ(cli(out, "extract --lap race:3:4 --lap race:1:4 --out x.rpy " + source).exitCode, 1);
}

TEST(CliMerge, WritesOneCarPerLapAndRefusesWithoutWriting) {
    TempDir out;
    auto r = cli(out, "merge " + orv() + "--lap race:3:4 --lap race:1:4 --out " + out.file("m.rpy") +
                          " sample_race.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = cli(out, "laps " + out.file("m.rpy"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("driver 0: MovraneCreator MOVRN\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("driver 2: T merged Velin\n"), std::string::npos) << r.out;

    r = cli(out, "merge " + orv() + "--lap race:3:4 --out " + out.file("one.rpy") + " sample_race.rpy");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("Only 1 lap loaded, will extract that to a new replay file.\n"), std::string::npos);
    r = cli(out, "merge " + orv() + "--lap race:3:99 --out " + out.file("no.rpy") + " sample_race.rpy");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(out.file("no.rpy")));
}
