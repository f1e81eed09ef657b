#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/SampleCli.h"

using testsupport::cli;
using testsupport::sampleInstallation;
using testsupport::TempDir;

namespace {

std::string lapArguments(const std::string& replay, const std::string& session, int driver, int lap) {
    return testsupport::sampleOrv() + "--replay " + replay + " --session " + session +
           " --driver " + std::to_string(driver) + " --lap " + std::to_string(lap);
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

TEST(CliLaps, PrintsTheTreeWithValidLapsMarked) {
    const auto r = cli("laps " + testsupport::sampleOrv() + "sample_hotlap.rpy");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("track: harbour\n"), std::string::npos);
    EXPECT_NE(r.out.find("driver 0: Ada Marsh\n  Practice Laps\n    Time before start/finish: "), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\n  * Lap 1: "), std::string::npos);
    EXPECT_NE(r.out.find("\n    Lap 3: "), std::string::npos) << "the invalid lap is not marked";
    EXPECT_NE(r.out.find("[16]\n"), std::string::npos);
    EXPECT_EQ(cli("laps").exitCode, 1);
    EXPECT_EQ(cli("laps " + sampleInstallation().file("missing.rpy")).exitCode, 2);
}

TEST(CliTelemetry, WritesTheTextExportOfALap) {
    TempDir out;
    const auto r = cli("telemetry " + lapArguments("sample_race.rpy", "race", 3, 4) + " --out " + out.file("t.txt"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(firstLine(r.err), "Online quality of lapdata: 100%") << "the document's messages go to stderr";
    const std::string text = testsupport::readFileText(out.file("t.txt"));
    EXPECT_NE(text.find("\nLongitude, Latitude, Gear, Rpm, Orientation, Roll, Pitch, Steering, Speed, Long Acc, "
                        "Lat Acc, SlipAngle\n"),
              std::string::npos);
    // The lap named as the other commands do, written to standard output or a device.
    const std::string orv = testsupport::sampleOrv();
    const auto toStdout = cli("telemetry " + orv + "--lap race:3:4 --out - sample_race.rpy");
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, text);
    EXPECT_EQ(cli("telemetry " + orv + "--lap race:3:4 --lap race:3:5 --out - sample_race.rpy").exitCode, 1);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(cli("telemetry " + orv + "--lap race:3:4 --out /dev/full sample_race.rpy").exitCode, 3);
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
}

TEST(CliTelemetry, CsvHasAHeaderWithUnits) {
    TempDir out;
    const auto r = cli("telemetry " + lapArguments("sample_hotlap.rpy", "practice", 0, 2) + " --out " +
                       out.file("t.csv") + " --csv");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testsupport::readFileText(out.file("t.csv"));
    const std::string header = firstLine(text);
    EXPECT_EQ(header.rfind("sample,has data,lap position [raw],lap distance [m],", 0), 0u) << header;
    EXPECT_NE(header.find(",speed [km/h],"), std::string::npos);
    EXPECT_NE(header.find(",suspension 4 [raw],"), std::string::npos);
    const auto columns = std::count(header.begin(), header.end(), ',');
    const std::string row = text.substr(header.size() + 1, text.find('\n', header.size() + 1) - header.size() - 1);
    EXPECT_EQ(std::count(row.begin(), row.end(), ','), columns);
}

TEST(CliTelemetry, FailedLoadWritesNoFile) {
    TempDir out;
    // Lap 3 of the hotlap is flagged invalid.
    const auto r = cli("telemetry " + lapArguments("sample_hotlap.rpy", "practice", 0, 3) + " --out " + out.file("t.txt"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(firstLine(r.err), "RpyDataClass: Error reading file!");
    EXPECT_FALSE(std::filesystem::exists(out.file("t.txt")));
    // A line under the reader's message names what the replay lacks.
    const struct {
        int driver, lap;
        const char* says;
    } refusals[] = {{0, 3, "--lap practice:0:3: the replay does not hold that lap's data"},
                    {0, 9, "--lap practice:0:9: driver 0 has practice laps 1 to "},
                    {0, 0, "--lap practice:0:0: driver 0 has practice laps 1 to "},
                    {7, 1, "--lap practice:7:1: the replay has drivers 0 to "}};
    for (const auto& refusal : refusals) {
        const auto said = cli("telemetry " + lapArguments("sample_hotlap.rpy", "practice", refusal.driver, refusal.lap) +
                              " --out " + out.file("t.txt"));
        EXPECT_EQ(said.exitCode, 2);
        EXPECT_NE(said.err.find(refusal.says), std::string::npos) << said.err;
    }

    EXPECT_EQ(cli("telemetry " + lapArguments("sample_hotlap.rpy", "qualifying", 0, 2) + " --out x").exitCode, 1);
    EXPECT_EQ(cli("telemetry --replay sample_hotlap.rpy --session race").exitCode, 1);
    const auto unwritable = cli("telemetry " + lapArguments("sample_hotlap.rpy", "practice", 0, 2) + " --out " +
                                out.file("no/such/t.txt"));
    EXPECT_EQ(unwritable.exitCode, 3);
}

TEST(CliGroove, WritesTheGrooveFile) {
    TempDir out;
    const auto r = cli("groove " + lapArguments("sample_hotlap.rpy", "practice", 0, 2) +
                       " --resolution 2.0 --way old --accel 50 --roll 10 --width 4.5 --out " + out.file("g.grv"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = testsupport::readFileText(out.file("g.grv"));
    EXPECT_EQ(firstLine(text), "60sections,1750entries") << "2 m steps over the 3498.06 m sample circuit";
    EXPECT_EQ(text.substr(text.find('\n') + 1, 2), "0 ");
    EXPECT_NE(text.find(" 2.00000000 4.5\n"), std::string::npos);
    for (const std::string wrong : {" --resolution 0.25 --out ", " --accel 1000 --out ", " --width wide --out "}) {
        const auto refused = cli("groove " + lapArguments("sample_hotlap.rpy", "practice", 0, 2) + wrong + out.file("x"));
        EXPECT_EQ(refused.exitCode, 1) << wrong;
    }
    // The lap named as the other commands do, written through a link.
    std::filesystem::create_directory(out.path() / "kept");
    std::filesystem::create_symlink("kept/g.grv", out.path() / "link.grv");
    const auto linked = cli("groove " + testsupport::sampleOrv() + "--lap practice:0:2 --resolution 2.0 --out " +
                            out.file("link.grv") + " sample_hotlap.rpy");
    ASSERT_EQ(linked.exitCode, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(out.file("link.grv")));
    EXPECT_EQ(firstLine(testsupport::readFileText(out.file("kept/g.grv"))), "60sections,1750entries");
}

