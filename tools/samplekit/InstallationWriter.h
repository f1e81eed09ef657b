#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace samplekit {

// One personal best as the simulator keeps it in player.ini: the track section, the
// key (car prefix and session letter, "braT", "lotR", ...) and the time in seconds.
struct PersonalBest {
    std::string trackDirectory;
    std::string key;
    double seconds = 0;
};

struct Player {
    std::string folder;  // name of the folder under "players"
    std::string firstName;
    std::string lastName;
    std::vector<PersonalBest> bests;
};

struct Event {
    std::string name;
    std::string shortName;
    std::string trackDirectory;
    int numberOfLaps = 10;
    int month = 1;
    std::string startingGrid = "random";
};

struct TrackInfo {
    std::string directory;
    std::string shortName;
    std::string longName;
    bool longNameFirst = false;  // the simulator's own files put the short name first
};

struct InstallationContent {
    bool orvExe = true;
    std::vector<Player> players;
    std::vector<Event> events;
    std::vector<TrackInfo> tracks;
};

// The installation used by the demo: three players with personal bests, a season of
// five events and their tracks.
InstallationContent sampleInstallationContent();

// Writes the installation's files below `directory` (created as needed): "orv.exe",
// "players/<folder>/player.ini", "seasons/67season.ini", "tracks/<dir>/track.ini".
// Throws std::runtime_error when a file cannot be written.
void writeInstallation(const std::filesystem::path& directory, const InstallationContent& content);

void writeOrvExe(const std::filesystem::path& directory);
// player.ini as the simulator writes it: "[ Section ]" headers, CR LF line ends, lap
// times as "418207356 83.456".
void writePlayer(const std::filesystem::path& directory, const Player& player);
void writeSeason(const std::filesystem::path& directory, const std::vector<Event>& events);
void writeTrackInfo(const std::filesystem::path& directory, const TrackInfo& track);

// The text of a player.ini, for tests that want to change it before writing.
std::string playerIniText(const Player& player);
std::string seasonText(const std::vector<Event>& events);
std::string trackIniText(const TrackInfo& track);

}  // namespace samplekit
