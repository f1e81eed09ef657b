// movrane-cli report and export, and the movrane program's -expreports start.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/reports/ReportText.h"
#include "support/ConfigSandbox.h"
#include "support/RaceFixture.h"
#include "support/SampleCli.h"
#include "support/TempDir.h"

namespace {

using testsupport::runCommand;
using testsupport::TempDir;
namespace fs = std::filesystem;

testsupport::FixtureRace twoDrivers() {
    testsupport::FixtureRace r;
    r.drivers = {{"Ann", "Alpha", 4, 7, 14, {}}, {"Bob", "Bravo", 5, 12, 12, {}}};
    r.practice = std::vector<std::optional<testsupport::FixtureLaps>>{testsupport::FixtureLaps{1000, {88000}},
                                                                      testsupport::FixtureLaps{1000, {87000}}};
    r.race = std::vector<std::optional<testsupport::FixtureLaps>>{testsupport::FixtureLaps{20000, {90000, 90000}},
                                                                  testsupport::FixtureLaps{20000, {91000, 1u << 30 | 88000}}};
    r.raceSeconds = 20;
    r.conditions = {{25000, 1, true, testsupport::conditionBytes({{13, 92}})}};
    return r;
}

// The report text the core gives, with file line ends.
std::string expected(const std::string& path, movrane::ReportKind kind, movrane::ReportPrefs prefs) {
    movrane::Header header;
    movrane::Drivers drivers;
    header.load(path);
    drivers.load(path);
    movrane::Report report(header, drivers, path, prefs);
    return movrane::toFileText(report.generate(kind));
}

class ReportCommands : public ::testing::Test {
protected:
    ReportCommands() { testsupport::writeFixtureRace(replay_, twoDrivers()); }
    std::string cli(const std::string& arguments) const {
        return sandbox_.environmentPrefix() + MOVRANE_CLI_PATH + " " + arguments;
    }
    testsupport::ConfigSandbox sandbox_;
    TempDir dir_;
    std::string replay_ = dir_.file("night.rpy");
};

TEST_F(ReportCommands, ReportPrintsTheTextWithTheOverriddenPreferences) {
    auto r = runCommand(cli("report race --retire '" + replay_ + "'"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected(replay_, movrane::ReportKind::Race, {true, false}));
    EXPECT_NE(r.out.find("  Puncture\n"), std::string::npos);

    r = runCommand(cli("report lapbylap --offtrack '" + replay_ + "'"));
    EXPECT_EQ(r.out, expected(replay_, movrane::ReportKind::LapByLap, {false, true}));
    EXPECT_NE(r.out.find("Bob Bravo goes off the track but rejoins.\n"), std::string::npos);

    r = runCommand(cli("report lapbylap '" + replay_ + "'"));
    EXPECT_EQ(r.out, expected(replay_, movrane::ReportKind::LapByLap, {false, false})) << "preference off by default";
}

TEST_F(ReportCommands, ReportWritesAFileOrSaysWhyNot) {
    auto r = runCommand(cli("report mechanical --out '" + dir_.file("m.txt") + "' '" + replay_ + "'"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(testsupport::readFileText(dir_.file("m.txt")), expected(replay_, movrane::ReportKind::Mechanical, {}));
    r = runCommand(cli("report practice --out '" + dir_.file("no/m.txt") + "' '" + replay_ + "'"));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Error creating file!\n" + dir_.file("no/m.txt") + "\n");

    // Through a link to the file it points to; "-" is standard output.
    fs::create_symlink(dir_.file("m.txt"), dir_.file("link.txt"));
    r = runCommand(cli("report race --out '" + dir_.file("link.txt") + "' '" + replay_ + "'"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(fs::is_symlink(dir_.file("link.txt")));
    EXPECT_EQ(testsupport::readFileText(dir_.file("m.txt")), expected(replay_, movrane::ReportKind::Race, {}));
    r = runCommand(cli("report race --out - '" + replay_ + "'"));
    EXPECT_EQ(r.out, expected(replay_, movrane::ReportKind::Race, {}));
}

TEST_F(ReportCommands, ReportRefusesUnknownKindsAndUnreadableReplays) {
    EXPECT_EQ(runCommand(cli("report engine '" + replay_ + "'")).exitCode, 1);
    EXPECT_EQ(runCommand(cli("report race --bogus '" + replay_ + "'")).exitCode, 1);
    EXPECT_EQ(runCommand(cli("report race")).exitCode, 1);
    const auto r = runCommand(cli("report race '" + dir_.file("none.rpy") + "'"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "HeaderClass: Error reading file!\n" + dir_.file("none.rpy") + "\n");
    // The replay is found in the installation.
    fs::create_directories(dir_.path() / "orv" / "replay");
    fs::copy_file(replay_, dir_.path() / "orv" / "replay" / "copy.rpy");
    const auto found = runCommand(cli("report lapchart --orv '" + dir_.file("orv") + "' copy.rpy"));
    ASSERT_EQ(found.exitCode, 0) << found.err;
    EXPECT_NE(found.out.find("Driver: Ann Alpha - Ferrari  \n"), std::string::npos);
}

TEST_F(ReportCommands, ExportWritesEveryReplayAndSummarises) {
    testsupport::writeFixtureRace(dir_.file("second.rpy"), twoDrivers());
    const std::string prefix = dir_.file("out/night") + "/";  // made when missing
    const auto r = runCommand(cli("export --mech '" + replay_ + "' '" + dir_.file("second.rpy") + "' '" +
                                  dir_.file("gone.rpy") + "' --prefix '" + prefix + "'"));
    EXPECT_EQ(r.exitCode, 2) << "one replay could not be read";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path() / "out/night"), {}), 12);
    EXPECT_EQ(testsupport::readFileText(prefix + "night_Race.txt"), expected(replay_, movrane::ReportKind::Race, {}));
    EXPECT_EQ(r.err, "[1/3] " + replay_ + ": 6 of 6 files written as " + prefix + "night_*.txt\n" + "[2/3] " +
                         dir_.file("second.rpy") + ": 6 of 6 files written as " + prefix + "second_*.txt\n" +
                         "[3/3] " + dir_.file("gone.rpy") + ": HeaderClass: Error reading file!\n" +
                         dir_.file("gone.rpy") + "\nexported 2 of 3 replays\n");
    EXPECT_EQ(runCommand(cli("export '" + replay_ + "'")).exitCode, 1) << "the prefix is required";
    // The file that cannot be written is named: a file stands where the folder belongs.
    const std::string blocked = prefix + "night_Race.txt/";
    const auto unwritable = runCommand(cli("export '" + replay_ + "' --prefix '" + blocked + "'"));
    EXPECT_EQ(unwritable.exitCode, 3);
    EXPECT_NE(unwritable.err.find("0 of 5 files written as " + blocked + "night_*.txt\nError creating file!\n" + blocked +
                                  "night_Practice.txt\n"),
              std::string::npos)
        << unwritable.err;
}

TEST_F(ReportCommands, TheProgramExportsTheSampleRaceWithoutADisplay) {
    fs::create_directory(dir_.path() / "out");
    const std::string program =
        sandbox_.environmentPrefix() + "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + MOVRANE_PROGRAM_PATH;
    auto r = runCommand(program + " -expreports '-f" + testsupport::sampleInstallation().file("replay/sample_race.rpy") + "' '-o" +
                        dir_.file("out") + "/' -mech");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path() / "out"), {}), 6);
    EXPECT_TRUE(fs::exists(dir_.path() / "out" / "sample_race_Mechanical.txt"));

    r = runCommand(program + " -expreports '-f" + dir_.file("none.rpy") + "' -oout");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "HeaderClass: Error reading file!\n" + dir_.file("none.rpy") + "\n");

    r = runCommand(program + " -expreports");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("movrane: no display to open the window on\n", 0), 0u) << r.err;

    r = runCommand(program + " --help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("movrane -expreports -fREPLAY -oPREFIX [-mech]"), std::string::npos) << r.out;
    r = runCommand(program + " --version");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "movrane " MOVRANE_VERSION "\n");
    EXPECT_EQ(runCommand(std::string(MOVRANE_CLI_PATH) + " --version").out, "movrane-cli " MOVRANE_VERSION "\n");
}

TEST_F(ReportCommands, LapReportsRunOnTheLapsNamedInTheirOrder) {
    const std::string replay = testsupport::sampleOrv() + "sample_race.rpy";
    auto r = runCommand(cli("report verify --lap race:4:5 --lap race:0:3 " + replay));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("ONLINE LAPTIME VERIFIER\n\nLap 1: ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find(" - Lionel Brecq\nLap 2: "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Clock smashes                      0         0\n"), std::string::npos) << r.out;

    r = runCommand(cli("report sectors --lap race:0:3 --out '" + dir_.file("s.txt") + "' " + replay));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testsupport::readFileText(dir_.file("s.txt")).rfind("SECTOR TIMES\n\n", 0), 0u);

    r = runCommand(cli("report detailed --lap race:0:1 " + replay));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("All drivers on grid"), std::string::npos);
    // Without laps or with a refused lap.
    auto refusal = runCommand(cli("report speed " + replay));
    EXPECT_EQ(refusal.exitCode, 1);
    EXPECT_EQ(refusal.err, "No replay lap loaded!\n");
    refusal = runCommand(cli("report detailed " + replay));
    EXPECT_EQ(refusal.exitCode, 1);
    EXPECT_EQ(refusal.err, "This report cannot be run unless you have loaded a lap.\n");
    refusal = runCommand(cli("report verify --lap race:0:99 " + replay));
    EXPECT_EQ(refusal.exitCode, 2);
    EXPECT_NE(refusal.err.find("RpyDataClass: Error reading file!"), std::string::npos) << refusal.err;
    EXPECT_TRUE(refusal.out.empty());
}

TEST_F(ReportCommands, StoredPreferencesHoldWhenAnInstallationIsNamed) {
    // The overall top speed of the lap, in the column under "Overall".
    const auto overallTopSpeed = [&] {
        const auto r = runCommand(cli("report speed " + testsupport::sampleOrv() + "--lap race:0:3 sample_race.rpy"));
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return std::stod(testsupport::splitLines(r.out).at(4).substr(47, 7));
    };
    const double kmh = overallTopSpeed();
    ASSERT_EQ(runCommand(cli("settings set MPH 1")).exitCode, 0);
    EXPECT_NEAR(overallTopSpeed(), kmh * 0.6213722922, 0.01);
}

TEST_F(ReportCommands, SiteOfTheSampleRaceWithItsTrackMap) {
    auto r = runCommand(cli("site " + testsupport::sampleOrv() + "--out '" + dir_.file("web") + "' sample_race.rpy"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, dir_.file("web/sample_race") + "\n");
    EXPECT_TRUE(r.err.empty()) << r.err;
    // The map is drawn: the picture is far larger than a blank one would be.
    EXPECT_GT(fs::file_size(dir_.path() / "web/sample_race/track.png"), 2000u);

    r = runCommand(cli("site " + testsupport::sampleOrv() + "--out '" + dir_.file("web") + "' sample_hotlap.rpy"));
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "This replay file does not contain race info!\r\nHTML Site export is only made for replays "
                     "containing race info.\n");
}

}  // namespace
