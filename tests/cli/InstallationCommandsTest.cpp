#include <gtest/gtest.h>

#include "samplekit/InstallationWriter.h"
#include "support/ConfigSandbox.h"
#include "support/TempDir.h"

namespace {

using testsupport::CommandResult;
using testsupport::ConfigSandbox;
using testsupport::TempDir;

class InstallationCommands : public ::testing::Test {
protected:
    ConfigSandbox sandbox;
    TempDir orv;

    void SetUp() override { samplekit::writeInstallation(orv.path(), samplekit::sampleInstallationContent()); }

    CommandResult cli(const std::string& arguments) const {
        return testsupport::runCommand(sandbox.environmentPrefix() + MOVRANE_CLI_PATH + " " + arguments);
    }
    std::string orvOption() const { return "--orv '" + orv.path().string() + "'"; }
};

TEST_F(InstallationCommands, SettingsShowsDefaultsAndTheirOrigin) {
    const CommandResult r = cli("settings");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("store: " + sandbox.userStoreFile() + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("BMPSizeInPixel = 768  (dword; default)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("DefaultPlayerIndex = -1  (signed dword; default)\n"), std::string::npos) << r.out;
    // An unreadable store is reported once.
    std::filesystem::create_directories(sandbox.configDir());
    testsupport::writeFileBytes(sandbox.userStoreFile(), {'x', '\n'});
    const CommandResult unreadable = cli("settings");
    EXPECT_EQ(unreadable.exitCode, 0);
    EXPECT_NE(unreadable.err.find("could not be read"), std::string::npos) << unreadable.err;
    EXPECT_EQ(cli("settings").err, "");
}

TEST_F(InstallationCommands, SettingsSetChangesOneValueByItsTypeAndRefusesTheRest) {
    ASSERT_EQ(cli("settings set mph 1").exitCode, 0);
    ASSERT_EQ(cli("settings set OrvDirectory '" + orv.path().string() + "'").exitCode, 0);
    const CommandResult r = cli("settings");
    EXPECT_NE(r.out.find("MPH = 1  (dword; stored in " + sandbox.userStoreFile() + ")\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("OrvDirectory = " + orv.path().string() + "  (string; stored"), std::string::npos) << r.out;

    const CommandResult bad = cli("settings set BMPSizeInPixel big");
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("whole number"), std::string::npos) << bad.err;
    for (const char* wrong : {"settings set Nothing 1", "settings set MPH"})
        EXPECT_EQ(cli(wrong).exitCode, 1) << wrong;
    // A store that cannot be written is an output not written.
    std::filesystem::remove(sandbox.userStoreFile());
    std::filesystem::create_directories(sandbox.userStoreFile());
    EXPECT_EQ(cli("settings set MPH 0").exitCode, 3);
}

TEST_F(InstallationCommands, PlayersListsTheEntries) {
    // Without an installation the command fails.
    const CommandResult none = cli("players");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("no installation directory"), std::string::npos) << none.err;
    const CommandResult r = cli("players " + orvOption());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1. Ada Kestrel\tPlayer1\n2. Bruno Talavera\tPlayer2\n3. Cleo Marsh\tRookie\n");

    EXPECT_EQ(cli("players --orv='" + orv.path().string() + "'").out, r.out);
    ASSERT_EQ(cli("settings set OrvDirectory '" + orv.path().string() + "'").exitCode, 0);
    EXPECT_EQ(cli("players").out, r.out);
    EXPECT_EQ(cli("players --orv '" + orv.file("missing") + "'").exitCode, 2);
    EXPECT_EQ(cli("players --orv").exitCode, 1);
    for (const char* wrong : {"players extra ", "pb 3 ", "pb one ", "pb -1 ", "pb "})
        EXPECT_EQ(cli(wrong + orvOption()).exitCode, 1) << wrong;
}

TEST_F(InstallationCommands, PbPrintsThePersonalBestTable) {
    const CommandResult r = cli("pb 0 " + orvOption());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("player: 1. Ada Kestrel ("), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("event 1: harbour (Harbour Park Circuit)\n"
                         "  Brabham  T -         P 1:25.250  R -\n"
                         "  Lotus    T 1:23.460  P -         R 1:24.100\n"
                         "  best: Lotus 1:23.460\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("event 4: pinewood (Pinewood Road Circuit)\n  no personal bests\n"), std::string::npos)
        << r.out;
}

}  // namespace
