#include <gtest/gtest.h>

#include <filesystem>

#include "support/ConfigSandbox.h"
#include "support/LibraryFixture.h"

namespace {

using testsupport::CommandResult;
namespace fs = std::filesystem;

class LibraryCommands : public ::testing::Test {
protected:
    LibraryCommands() : library({{"harbour", "ferP", 83.456}}) {
        testsupport::FixtureRace race = testsupport::playerRace("harbour", {83456});
        race.practiceSeconds = 700;
        race.practice->at(1)->laps = {600500};
        library.addReplay("a.rpy", race);
    }
    CommandResult cli(const std::string& arguments) const {
        return testsupport::runCommand(sandbox.environmentPrefix() + MOVRANE_CLI_PATH + " " + arguments +
                                       " --orv '" + library.orv() + "'");
    }

    testsupport::ConfigSandbox sandbox;
    testsupport::LibraryFixture library;
    const testsupport::TempDir& dir = library.dir;
};

TEST_F(LibraryCommands, FinderPrintsTheClipboardTextOfItsRows) {
    const std::string header = "Driver Name\tLap time\tTeam\tClass\tSession\tFiledate\tReplay file\n";
    const std::string ann = "Ann Example\t1m 23.456s\tFerrari\tF3\tPractice\t2002 Dec 07\ta.rpy\t\n";
    const std::string bob = "Bob Other\t10m 00.500s\tBRM\tF3\tPractice\t2002 Dec 07\ta.rpy\t\n";
    EXPECT_EQ(cli("finder harbour").out, header + ann);
    EXPECT_EQ(cli("finder HARBOUR --filter all").out, header + ann + bob);
    EXPECT_EQ(cli("finder harbour --filter all --sort laptime").out, header + bob + ann);
    EXPECT_EQ(cli("finder ridgeway").out, header);
    EXPECT_EQ(cli("finder harbour --sort speed").exitCode, 1);
    // Records write the lap-times file and the site.
    const CommandResult r = cli("records 0 --out '" + dir.file("out") + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(testsupport::readFileText(dir.file("out/OrvLapTimes.ini")), "[ harbour ]\r\nferP = 418207356 83.46\r\n\r\n");
    const std::string site = r.out.substr(r.out.find('\n') + 1);
    EXPECT_TRUE(fs::exists(site.substr(0, site.size() - 1))) << r.out;
    EXPECT_EQ(cli("records 5 --out '" + dir.file("out") + "'").exitCode, 2);
    EXPECT_EQ(cli("records 0").exitCode, 1);
    // The season: list, move, remove, add and export.
    EXPECT_EQ(cli("season list").out,
              "Number of tracks in 67season.ini (max 64): 2\n#\tLong Name\tShort Name\tTrackDir\tLaps\tMonth\tDay\tGrid\n"
              "1\tHarbour Grand Prix\tHarbour\tharbour\t10\t1\tdefault\trandom\n"
              "2\tRidgeway Trophy\tRidgeway\tridgeway\t10\t1\tdefault\trandom\n");
    ASSERT_EQ(cli("season move 2 1").exitCode, 0);
    ASSERT_EQ(cli("season add --name 'New GP' --short New --dir newtrack --laps 5").exitCode, 0);
    ASSERT_EQ(cli("season remove 2").exitCode, 0);
    EXPECT_EQ(cli("season list").out.substr(97),
              "1\tRidgeway Trophy\tRidgeway\tridgeway\t10\t1\tdefault\trandom\n2\tNew GP\tNew\tnewtrack\t5\t\t\t\n");
    EXPECT_EQ(cli("season export").exitCode, 0);
    EXPECT_TRUE(fs::exists(dir.file("orv/seasons/67season.old")));
    EXPECT_EQ(cli("season remove 9").exitCode, 1);
    EXPECT_EQ(cli("season shuffle").exitCode, 1);
}

TEST_F(LibraryCommands, CddbCreateWritesTheDatabaseTheFinderReads) {
    fs::create_directories(dir.file("disc/sub"));
    fs::rename(dir.file("orv/replay/a.rpy"), dir.file("disc/sub/a.rpy"));
    const CommandResult r = cli("cddb create '" + dir.file("disc") + "' Disc1");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, dir.file("orv/replay/MOVRN_CDDB/Disc1.rdb") + "\n");
    EXPECT_NE(cli("finder harbour").out.find("\tDisc1:sub/a.rpy\t\n"), std::string::npos);
    const CommandResult kept = cli("cddb create '" + dir.file("disc") + "' Disc1");
    EXPECT_EQ(kept.exitCode, 3);
    EXPECT_NE(kept.err.find("--overwrite replaces it."), std::string::npos) << kept.err;
    EXPECT_EQ(cli("cddb create '" + dir.file("disc") + "' ''").exitCode, 1) << "no name, no hidden .rdb file";
    EXPECT_EQ(cli("cddb create '" + dir.file("disc") + "' Disc1 --overwrite").exitCode, 0);
    EXPECT_EQ(cli("cddb create '" + dir.file("orv/players") + "' none").exitCode, 2);
}

}  // namespace
