#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/ranking/RankCalculator.h"
#include "samplekit/InstallationWriter.h"
#include "support/ConfigSandbox.h"
#include "support/LocalHttpServer.h"
#include "support/RaceFixture.h"
#include "support/TempDir.h"

namespace {

using testsupport::CommandResult;
using testsupport::LocalHttpServer;
namespace fs = std::filesystem;

// Ann has a Ferrari time of 138.2 s on every OrvRank track: 11 x 138200 ms.
class RankingCommands : public ::testing::Test {
protected:
    void SetUp() override {
        samplekit::InstallationContent content;
        samplekit::Player ann{"ann", "Ann", "Example", {}};
        for (const std::string& track : movrane::ORVRANK_TRACKS.tracks) {
            content.events.push_back({track + " GP", track, track});
            content.tracks.push_back({track, track, track + " circuit"});
            ann.bests.push_back({track, "ferP", 138.2});
        }
        content.players = {ann};
        samplekit::writeInstallation(dir.file("orv"), content);
        fs::create_directories(dir.file("tmp"));
    }
    CommandResult cli(const std::string& arguments) const {
        return testsupport::runCommand(sandbox.environmentPrefix() + "TMPDIR='" + dir.file("tmp") + "' " +
                                       MOVRANE_CLI_PATH + " " + arguments + " --orv '" + dir.file("orv") + "'");
    }

    testsupport::ConfigSandbox sandbox;
    testsupport::TempDir dir;
};

TEST_F(RankingCommands, HandicapAndRankPrintTheDialogsFields) {
    const std::string eleven = "Missing 11 laptime(s)";
    EXPECT_EQ(cli("handicap 0").out, "Overall\t-0.020\nBrabham\t" + eleven + "\nBRM\t" + eleven + "\nCooper\t" + eleven +
                                         "\nEagle\t" + eleven + "\nFerrari\t-0.020\nLotus\t" + eleven + "\nHonda\t" +
                                         eleven + "\nMonsters of Orv:\tMissing 66 laptime(s)\n");
    const CommandResult rank = cli("rank 0");
    ASSERT_EQ(rank.exitCode, 0) << rank.err;
    EXPECT_EQ(std::count(rank.out.begin(), rank.out.end(), '\n'), 27);
    for (const char* line : {"OrvRank Handicap\tOverall\t-0.012\n", "OrvRank Handicap\tFerrari\t-0.012\n",
                             "OrvRank Handicap\ttotal\tMissing 66 laptime(s)\n",
                             "ChallangeRank Handicap\tHonda\tMissing 12 laptime(s)\n",
                             "Master of Orv Handicap\tOverall\tMissing 12 laptime(s)\n",
                             "Master of Orv Handicap\ttotal\tMissing 150 laptime(s)\n"})
        EXPECT_NE(rank.out.find(line), std::string::npos) << line;
    for (const char* bad : {"rank", "rank x", "handicap 0 1"}) EXPECT_EQ(cli(bad).exitCode, 1) << bad;
    EXPECT_EQ(cli("rank 3").exitCode, 2);
    EXPECT_EQ(cli("handicap 3").err, "No driver selected!\n");
}

TEST_F(RankingCommands, UploadPrintsTheTranscriptAndWritesTheReply) {
    LocalHttpServer server({LocalHttpServer::reply(401, "Unauthorized", "<p>no</p>")});
    const CommandResult r = cli("upload 0 --host " + server.address() + " --user ab --password cd --timeout 5 --reply '" +
                                dir.file("reply.html") + "'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_EQ(r.err, "Laptimes not uploaded!\r\nIncorrect username or password\n");
    EXPECT_EQ(r.out.substr(0, 41), "Beginning communication, please wait...\r\n");
    EXPECT_NE(r.out.find("\r\n\r\nServers response in short was: 401 Unauthorized\r\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 19), "Connection closed\r\n");
    EXPECT_EQ(testsupport::readFileText(dir.file("reply.html")), "<p>no</p>");
    EXPECT_NE(server.request().find("ferP = 418207356 138.2\r\n"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir.file("tmp")));

    LocalHttpServer accepted({LocalHttpServer::reply(200, "OK", "")});
    const CommandResult ok = cli("upload 0 --host " + accepted.address() + " --user ab --password cd --reply '" +
                                 dir.file("none.html") + "'");
    EXPECT_EQ(ok.exitCode, 0) << ok.out;
    EXPECT_EQ(ok.err, "Laptimes successfully uploaded!\n");
    EXPECT_FALSE(fs::exists(dir.file("none.html")));

    EXPECT_EQ(cli("upload 0 --host " + LocalHttpServer::closedAddress() + " --user a --password b").exitCode, 4);
    EXPECT_TRUE(fs::is_empty(dir.file("tmp")));
    for (const char* bad : {"upload 0 --user a --password b", "upload 0 --host h --user a",
                            "upload 0 --host h --user a --password b --timeout 0"})
        EXPECT_EQ(cli(bad).exitCode, 1) << bad;
    EXPECT_EQ(cli("upload 4 --host h --user a --password b").exitCode, 2);
}

}  // namespace
