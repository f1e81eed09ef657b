#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>

#include "core/library/Installation.h"
#include "samplekit/InstallationWriter.h"
#include "support/TempDir.h"

namespace {

using namespace movrane;
using testsupport::TempDir;
namespace fs = std::filesystem;

bool anyTemporaryCopyLeft(const fs::path& root) {
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (e.path().string().ends_with(".MOVRN")) return true;
    }
    return false;
}

samplekit::InstallationContent twoTrackSeason() {
    samplekit::InstallationContent content;
    content.events = {{"Harbour GP", "Harbour", "Harbour", 20, 1, "random"},
                   {"Ridgeway GP", "Ridgeway", "ridgeway", 30, 3, "random"}};
    content.tracks = {{"Harbour", "Harbour", "Harbour Park Circuit"}, {"ridgeway", "Ridgeway", "Ridgeway Motor Course"}};
    return content;
}

TEST(Installation, OrvExeIsFoundWithOrWithoutTrailingSeparator) {
    TempDir dir;
    samplekit::writeOrvExe(dir.path());
    EXPECT_TRUE(hasOrvExe(dir.path().string()));
    EXPECT_TRUE(hasOrvExe(dir.path().string() + "/"));
    EXPECT_FALSE(hasOrvExe(""));
    EXPECT_FALSE(hasOrvExe(dir.file("elsewhere")));

    TempDir upper;
    testsupport::writeFileText(upper.path() / "ORV.EXE", "MZ");
    EXPECT_TRUE(Installation(upper.path().string()).isValid());

    TempDir folderOnly;
    fs::create_directories(folderOnly.path() / "orv.exe");
    EXPECT_FALSE(hasOrvExe(folderOnly.path().string()));
    // The player list skips unreadable players without using a number.
    TempDir playersDir;
    samplekit::writePlayer(playersDir.path(), {"zed", "Zoe", "Quist", {}});
    samplekit::writePlayer(playersDir.path(), {"Alpha", "Ada", "Kestrel", {}});
    fs::create_directories(playersDir.path() / "players" / "broken");
    testsupport::writeFileText(playersDir.path() / "players" / "notes.txt", "not a player");
    const auto players = Installation(playersDir.path().string()).players();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].text, "1. Ada Kestrel");
    EXPECT_EQ(players[0].directory, "Alpha");
    EXPECT_EQ(players[1].text, "2. Zoe Quist");
    EXPECT_FALSE(anyTemporaryCopyLeft(playersDir.path()));
    EXPECT_TRUE(Installation(playersDir.file("nothing")).players().empty());
}

TEST(Installation, PlayerIniHeadersWithBlanksAreRepaired) {
    TempDir dir;
    const fs::path ini = dir.path() / "player.ini";
    testsupport::writeFileText(ini, "[ Personal Information ]\r\nfirstName=Ada\r\nlastName=Kestrel\r\n");
    PlayerIni read = readPlayerIni(ini.string(), nullptr);
    ASSERT_EQ(read.status, PlayerIni::Status::Ok);
    EXPECT_EQ(read.names.firstName, "Ada");
    EXPECT_EQ(read.names.lastName, "Kestrel");
    EXPECT_EQ(testsupport::readFileText(ini), "[ Personal Information ]\r\nfirstName=Ada\r\nlastName=Kestrel\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "player.ini.MOVRN"));

    testsupport::writeFileText(ini, "[ Other ]\r\nfirstName=Nobody\r\n");
    read = readPlayerIni(ini.string(), nullptr);
    EXPECT_EQ(read.names.firstName, "default");
    EXPECT_EQ(read.names.lastName, "default");
    // Player name rules.
    const std::pair<const char*, const char*> names[] = {
        {";Ada", ""}, {"Ad;a", "Ad"}, {"Ada ; comment", "Ada"}, {"A;da", "A;da"}, {"Ada   ", "Ada"}};
    for (const auto& [raw, clean] : names) EXPECT_EQ(cleanPlayerName(raw), clean) << raw;

    TempDir namesDir;
    testsupport::writeFileText(namesDir.path() / "player.ini",
              "[ Personal Information ]\nfirstName=Maximilianus Longname\nlastName=;hidden\n");
    const PlayerIni named = readPlayerIni(namesDir.file("player.ini"), nullptr);
    EXPECT_EQ(named.names.firstName, "Maximilianus Lon");
    EXPECT_EQ(named.names.lastName, "");
}

TEST(Installation, TemporaryCopyThatCannotBeWrittenFailsAndLeavesForeignFilesAlone) {
    TempDir dir;
    testsupport::writeFileText(dir.path() / "player.ini", "[ Personal Information ]\nfirstName=Ada\n");
    testsupport::writeFileText(dir.path() / "player.ini.MOVRN" / "keep.txt", "someone else's");
    const PlayerIni read = readPlayerIni(dir.file("player.ini"), nullptr);
    EXPECT_EQ(read.status, PlayerIni::Status::CannotWriteTemp);
    EXPECT_TRUE(fs::exists(dir.path() / "player.ini.MOVRN" / "keep.txt"));
    EXPECT_EQ(readPlayerIni(dir.file("missing.ini"), nullptr).status, PlayerIni::Status::CannotOpen);
    // Season events and track directories.
    TempDir season;
    samplekit::writeInstallation(season.path(), twoTrackSeason());
    const Installation orv(season.path().string());
    EXPECT_EQ(orv.numEvents(), 2);
    EXPECT_EQ(orv.seasonTrackDirectories(), (std::vector<std::string>{"harbour", "ridgeway"}));
    EXPECT_EQ(orv.seasonTrackCells(), (std::vector<std::string>{"harbour", "ridgeway"}));

    testsupport::writeFileText(season.path() / "Seasons" / "67SEASON.INI",
              "[Season]\r\nnumEvents=1\r\n[Event1]\r\ntrackDirectory=  NorthCapeRing\r\n");
    fs::remove_all(season.path() / "seasons");
    EXPECT_EQ(orv.seasonTrackDirectories(), std::vector<std::string>{"northcape"});
    EXPECT_EQ(orv.seasonTrackCells(), std::vector<std::string>{"northcapering"});

    testsupport::writeFileText(season.path() / "Seasons" / "67SEASON.INI", "[Season]\nnumEvents=2000000000\n[Event1]\ntrackDirectory=a\n");
    EXPECT_EQ(orv.numEvents(), 2);
    EXPECT_EQ(Installation(season.file("none")).numEvents(), 0);
    EXPECT_TRUE(Installation(season.file("none")).seasonTrackCells().empty());
}

TEST(Installation, TrackIniNames) {
    const std::array<const char*, 3> cases[] = {
        {"track_name_short = Harbour\r\ntrack_name =  Harbour Park\r\n", "Harbour", "Harbour Park"},
        {"track_name=Long\ntrack_name_short=Short\n", "Short", "Long"},
        {"track_name_short=Short", "Short", ""},
        {"length=4000\n", "", ""},
    };
    for (const auto& [text, shortName, longName] : cases) {
        EXPECT_EQ(parseTrackIni(text).shortName, shortName) << text;
        EXPECT_EQ(parseTrackIni(text).longName, longName) << text;
    }

    TempDir dir;
    samplekit::writeInstallation(dir.path(), twoTrackSeason());
    const auto names = Installation(dir.path().string()).trackNames("harbour");
    ASSERT_TRUE(names);
    EXPECT_EQ(names->longName, "Harbour Park Circuit");
    EXPECT_FALSE(Installation(dir.path().string()).trackNames("missing"));
    // Lap-time values.
    const std::pair<const char*, std::optional<uint32_t>> values[] = {
        {"418207356 83.456", 83460}, {"418207356 83.454", 83450}, {"1 83.4", 83400},
        {"1 65", 65000},             {"1 59.995", 60000},         {"83.456", std::nullopt},
        {"1 .456", std::nullopt},    {"1 99999999999.0", std::nullopt}};
    for (const auto& [text, ms] : values) EXPECT_EQ(lapTimeValueToMs(text), ms) << text;
    // A tie for the best car goes to the first in table order.
    EventBests event;
    event.cars[4].sessions[BEST_RACE].ms = 70000;
    event.cars[2].sessions[BEST_PRACTICE].ms = 70000;
    EXPECT_EQ(event.bestCar(), 2);
    EXPECT_EQ(EventBests().bestCar(), 0);
}

TEST(Installation, PersonalBestTable) {
    TempDir dir;
    samplekit::InstallationContent content = twoTrackSeason();
    content.players = {{"Ada", "Ada", "Kestrel",
                     {{"Harbour", "lotT", 83.456}, {"Harbour", "lotR", 84.1}, {"Harbour", "braP", 83.454},
                      {"elsewhere", "ferR", 60.0}}}};
    samplekit::writeInstallation(dir.path(), content);
    const PlayerIni read = Installation(dir.path().string()).readPlayer("ada", true);
    ASSERT_EQ(read.status, PlayerIni::Status::Ok);
    ASSERT_EQ(read.bests.size(), 2u);

    const EventBests& harbour = read.bests[0];
    EXPECT_EQ(harbour.trackDirectory, "harbour");
    const auto& lotus = harbour.cars[5].sessions;
    EXPECT_EQ(std::tuple(lotus[BEST_TRAINING].ms, lotus[BEST_TRAINING].flag, lotus[BEST_RACE].ms,
                         lotus[BEST_PRACTICE].ms, lotus[BEST_PRACTICE].flag),
              std::tuple(83460u, 0, 84100u, MISSING_TIME, -1));
    EXPECT_EQ(harbour.cars[5].best(), 83460u);
    EXPECT_EQ(harbour.cars[0].best(), 83450u);
    EXPECT_EQ(harbour.bestCar(), 0);

    const EventBests& ridgeway = read.bests[1];
    for (const CarBests& car : ridgeway.cars) {
        for (const SessionTime& s : car.sessions) {
            EXPECT_EQ(s.ms, 0xFFFFFFFFu);
            EXPECT_EQ(s.flag, -1);
        }
    }
    EXPECT_FALSE(anyTemporaryCopyLeft(dir.path()));
    // A seven-character lap-time value is a time.
    TempDir seven;
    samplekit::writeInstallation(seven.path(), twoTrackSeason());
    testsupport::writeFileText(seven.path() / "players" / "ada" / "player.ini",
              "[ Personal Information ]\r\nfirstName=Ada\r\n[ harbour ]\r\nlotT=1 83.45\r\n");
    const PlayerIni sevenRead = Installation(seven.path().string()).readPlayer("ada", true);
    ASSERT_EQ(sevenRead.bests.size(), 2u);
    EXPECT_EQ(sevenRead.bests[0].cars[5].sessions[BEST_TRAINING].ms, 83450u);
    EXPECT_TRUE(sevenRead.bests[0].inPlayerIni);
    EXPECT_FALSE(sevenRead.bests[1].inPlayerIni);
}

TEST(Installation, SeasonAndPlayerFilesOfThousandsOfSections) {
    // Read key by key, files like these took minutes; each is now read once.
    TempDir dir;
    samplekit::writeInstallation(dir.path(), twoTrackSeason());
    constexpr int EVENTS = 4000;
    std::string season = "[Season]\r\nnumEvents=99999\r\n";
    std::string player = "[ Personal Information ]\r\nfirstName=Ada\r\n";
    for (int n = 1; n <= EVENTS; ++n) {
        season += "[Event" + std::to_string(n) + "]\r\ntrackDirectory=T" + std::to_string(n) + "\r\n";
        player += "[ t" + std::to_string(n) + " ]\r\nlotT=1 83.456\r\n";
    }
    testsupport::writeFileText(dir.path() / "seasons" / "67season.ini", season);
    testsupport::writeFileText(dir.path() / "players" / "ada" / "player.ini", player);
    const Installation installation(dir.path().string());
    EXPECT_EQ(installation.numEvents(), EVENTS + 1) << "clamped to the sections";
    const PlayerIni read = installation.readPlayer("ada", true);
    ASSERT_EQ(read.bests.size(), EVENTS + 1u);
    EXPECT_EQ(std::tuple(read.bests[EVENTS - 1].trackDirectory, read.bests[EVENTS - 1].cars[5].best(),
                         read.bests[EVENTS].inPlayerIni),
              std::tuple("t" + std::to_string(EVENTS), 83460u, false));
}

}  // namespace
