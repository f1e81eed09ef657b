#include "samplekit/InstallationWriter.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace samplekit {

namespace {

const char* const CRLF = "\r\n";
const char* const LAP_TIME_FIELD = "418207356";

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string lapTimeValue(double seconds) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %.3f", LAP_TIME_FIELD, seconds);
    return buf;
}

// Tracks in the order their bests first appear, so each gets one section.
std::vector<std::string> bestTracks(const Player& player) {
    std::vector<std::string> tracks;
    for (const PersonalBest& best : player.bests) {
        bool known = false;
        for (const std::string& t : tracks) known = known || t == best.trackDirectory;
        if (!known) tracks.push_back(best.trackDirectory);
    }
    return tracks;
}

}  // namespace

std::string playerIniText(const Player& player) {
    std::string text = std::string("[ Personal Information ]") + CRLF;
    text += "firstName=" + player.firstName + CRLF;
    text += "lastName=" + player.lastName + CRLF;
    text += std::string("nationality=0") + CRLF;
    for (const std::string& track : bestTracks(player)) {
        text += std::string(CRLF) + "[ " + track + " ]" + CRLF;
        for (const PersonalBest& best : player.bests) {
            if (best.trackDirectory == track) text += best.key + "=" + lapTimeValue(best.seconds) + CRLF;
        }
    }
    return text;
}

std::string seasonText(const std::vector<Event>& events) {
    std::string text = std::string("[Season]") + CRLF;
    text += "numEvents=" + std::to_string(events.size()) + CRLF;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        text += std::string(CRLF) + "[Event" + std::to_string(i + 1) + "]" + CRLF;
        text += "name=" + e.name + CRLF;
        text += "shortname=" + e.shortName + CRLF;
        text += "trackDirectory=" + e.trackDirectory + CRLF;
        text += "numberOfLaps=" + std::to_string(e.numberOfLaps) + CRLF;
        text += "month=" + std::to_string(e.month) + CRLF;
        text += "startingGrid=" + e.startingGrid + CRLF;
    }
    return text;
}

std::string trackIniText(const TrackInfo& track) {
    const std::string shortLine = "track_name_short = " + track.shortName + CRLF;
    const std::string longLine = "track_name = " + track.longName + CRLF;
    std::string text = std::string("[ Track ]") + CRLF;
    text += track.longNameFirst ? longLine + shortLine : shortLine + longLine;
    text += std::string("track_length = 4000") + CRLF;
    return text;
}

void writeOrvExe(const std::filesystem::path& directory) {
    writeText(directory / "orv.exe", "MZ sample simulator program\r\n");
}

void writePlayer(const std::filesystem::path& directory, const Player& player) {
    writeText(directory / "players" / player.folder / "player.ini", playerIniText(player));
}

void writeSeason(const std::filesystem::path& directory, const std::vector<Event>& events) {
    writeText(directory / "seasons" / "67season.ini", seasonText(events));
}

void writeTrackInfo(const std::filesystem::path& directory, const TrackInfo& track) {
    writeText(directory / "tracks" / track.directory / "track.ini", trackIniText(track));
}

void writeInstallation(const std::filesystem::path& directory, const InstallationContent& content) {
    std::filesystem::create_directories(directory);
    if (content.orvExe) writeOrvExe(directory);
    for (const Player& p : content.players) writePlayer(directory, p);
    if (!content.events.empty()) writeSeason(directory, content.events);
    for (const TrackInfo& t : content.tracks) writeTrackInfo(directory, t);
}

InstallationContent sampleInstallationContent() {
    InstallationContent content;
    content.tracks = {
        {"harbour", "Harbour", "Harbour Park Circuit"},
        {"ridgeway", "Ridgeway", "Ridgeway Motor Course"},
        {"lakeside", "Lakeside", "Lakeside Autodrome"},
        {"pinewood", "Pinewood", "Pinewood Road Circuit"},
        {"northcape", "North Cape", "North Cape Ring"},
    };
    const int months[] = {1, 3, 5, 7, 9};
    for (std::size_t i = 0; i < content.tracks.size(); ++i) {
        const TrackInfo& t = content.tracks[i];
        content.events.push_back({t.longName + " Grand Prix", t.shortName, t.directory, 20 + static_cast<int>(i) * 5,
                               months[i], "random"});
    }
    content.players = {
        {"Player1", "Ada", "Kestrel",
         {{"harbour", "lotT", 83.456}, {"harbour", "lotR", 84.102}, {"harbour", "braP", 85.25},
          {"ridgeway", "ferR", 101.004}, {"lakeside", "murT", 92.5}}},
        {"Player2", "Bruno", "Talavera", {{"harbour", "eagR", 86.781}, {"pinewood", "covP", 77.349}}},
        {"Rookie", "Cleo", "Marsh", {}},
    };
    return content;
}

}  // namespace samplekit
