#include "core/library/Installation.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Profile.h"

namespace movrane {

namespace {

constexpr std::size_t NUM_EVENTS_BUFFER = 10;
constexpr std::size_t TRACK_DIRECTORY_BUFFER = 10;

std::string foldLineEnds(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            folded += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            folded += text[i];
        }
    }
    return folded;
}

std::string_view withoutLeadingBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// The text strictly between the next "=" at or after `from` and the line feed after
// it (or the end of the text); leading blanks removed.
std::string valueAfter(std::string_view text, std::size_t from) {
    const std::size_t eq = text.find('=', from);
    if (eq == std::string_view::npos) return {};
    std::size_t end = text.find('\n', eq + 1);
    if (end == std::string_view::npos) end = text.size();
    return std::string(withoutLeadingBlanks(text.substr(eq + 1, end - eq - 1)));
}

std::vector<std::string> sortedEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return names;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        names.push_back(it->path().filename().string());
    }
    // The player list's positions are stored as the default player, so the order must
    // not change between runs: name order without regard to case, as the simulator's
    // file system lists them.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = toLowerAscii(a), lb = toLowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

}  // namespace

bool hasOrvExe(const std::string& directory) {
    if (directory.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(resolveUnder(directory, ORV_EXE), ec);
}

std::string Installation::path(std::string_view relative) const { return resolveUnder(directory_, relative); }

std::string Installation::seasonPath() const { return path("seasons/67season.ini"); }

std::string Installation::playerIniPath(const std::string& player) const {
    return path("players/" + player + "/player.ini");
}

std::vector<PlayerEntry> Installation::players() const {
    std::vector<PlayerEntry> list;
    for (const std::string& player : sortedEntries(path("players"))) {
        const PlayerIni ini = readPlayer(player, false);
        if (ini.status != PlayerIni::Status::Ok) continue;
        const std::string text =
            std::to_string(list.size() + 1) + ". " + ini.names.firstName + " " + ini.names.lastName;
        list.push_back(PlayerEntry{player, ini.names, text});
    }
    return list;
}

PlayerIni Installation::readPlayer(const std::string& player, bool withBests) const {
    if (!withBests) return readPlayerIni(playerIniPath(player), nullptr);
    const std::vector<std::string> tracks = seasonTrackDirectories();
    return readPlayerIni(playerIniPath(player), &tracks);
}

namespace {

int numEventsOf(const ProfileSnapshot& season) {
    const int declared = decimalToInt(season.getString("Season", "numEvents", "", NUM_EVENTS_BUFFER));
    const int sections = static_cast<int>(season.sectionNames().size());
    return std::clamp(declared, 0, sections);
}

}  // namespace

int Installation::numEvents() const { return numEventsOf(ProfileSnapshot(seasonPath())); }

std::vector<std::string> Installation::seasonTrackDirectories() const {
    const ProfileSnapshot season(seasonPath());
    std::vector<std::string> tracks;
    const int events = numEventsOf(season);
    for (int i = 1; i <= events; ++i) {
        tracks.push_back(
            toLowerAscii(season.getString("Event" + std::to_string(i), "trackDirectory", "", TRACK_DIRECTORY_BUFFER)));
    }
    return tracks;
}

std::vector<std::string> Installation::seasonTrackCells() const {
    std::string raw;
    if (!readWholeFile(seasonPath(), raw)) return {};
    std::erase(raw, '\0');
    const std::string text = foldLineEnds(raw);
    std::vector<std::string> cells;
    const int events = numEvents();
    std::size_t pos = 0;
    constexpr std::string_view key = "trackDirectory";
    while (static_cast<int>(cells.size()) < events && (pos = text.find(key, pos)) != std::string::npos) {
        pos += key.size();
        cells.push_back(trackCell(valueAfter(text, pos)));
    }
    return cells;
}

std::optional<TrackNames> Installation::trackNames(const std::string& trackDirectory) const {
    std::string text;
    if (!readWholeFile(path("tracks/" + trackDirectory + "/track.ini"), text)) return std::nullopt;
    return parseTrackIni(text);
}

TrackNames parseTrackIni(std::string_view raw) {
    const std::string text = foldLineEnds(raw);
    constexpr std::string_view shortKey = "track_name_short";
    constexpr std::string_view longKey = "track_name";
    TrackNames names;
    const std::size_t shortAt = text.find(shortKey);
    if (shortAt != std::string::npos) names.shortName = valueAfter(text, shortAt + shortKey.size());
    // "track_name" also matches the start of "track_name_short": skip such matches.
    std::size_t longAt = text.find(longKey);
    while (longAt != std::string::npos && longAt + longKey.size() < text.size() &&
           text[longAt + longKey.size()] == '_')
        longAt = text.find(longKey, longAt + 1);
    if (longAt != std::string::npos) names.longName = valueAfter(text, longAt + longKey.size());
    return names;
}

std::string trackCell(std::string_view name) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!name.empty() && isSpace(name.front())) name.remove_prefix(1);
    while (!name.empty() && isSpace(name.back())) name.remove_suffix(1);
    return toLowerAscii(name);
}

}  // namespace movrane
