#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/PersonalBests.h"
#include "core/library/PlayerIni.h"

namespace movrane {

inline constexpr const char* ORV_EXE = "orv.exe";
// Shown at start-up when the installation directory is empty or lacks orv.exe, before
// the Settings dialog opens.
inline constexpr const char* ORV_DIRECTORY_INVALID_MESSAGE =
    "Unable to find the file orv.exe in the specified Orv-directory.\nPlease choose a valid Orv directory.";

// True when the directory is not empty and holds "orv.exe" (spelled in any case); the
// directory may end with a separator or not.
bool hasOrvExe(const std::string& directory);

// One entry of the player list: the player's folder name, names and the entry text
// n + ". " + firstName + " " + lastName (n counts the listed players from 1).
struct PlayerEntry {
    std::string directory;
    PlayerNames names;
    std::string text;
};

struct TrackNames {
    std::string shortName;
    std::string longName;
};

// The simulator's installation: its files, found under `directory` without regard to
// the case of their names.
class Installation {
public:
    explicit Installation(std::string directory) : directory_(std::move(directory)) {}
    const std::string& directory() const { return directory_; }
    bool isValid() const { return hasOrvExe(directory_); }

    // A path below the installation ('/' or '\\' separated), resolved by case.
    std::string path(std::string_view relative) const;

    // Player folders in name order; a player whose player.ini cannot be read is left
    // out and does not use up a number.
    std::vector<PlayerEntry> players() const;
    std::string playerIniPath(const std::string& player) const;
    // Reads a player's names and, with `withBests`, the personal-best table of the
    // season events.
    PlayerIni readPlayer(const std::string& player, bool withBests) const;

    // "numEvents" of the season file; 0 when the file or key is missing. Never more
    // than the season file has sections, so a wild number cannot run away.
    int numEvents() const;
    // Each event's track directory (at most 9 characters, lower case), event order.
    std::vector<std::string> seasonTrackDirectories() const;
    // The season's tracks scanned from the raw text of the season file, each in the
    // form trackCell gives.
    std::vector<std::string> seasonTrackCells() const;
    // Nothing when the track's track.ini cannot be read.
    std::optional<TrackNames> trackNames(const std::string& trackDirectory) const;

private:
    std::string seasonPath() const;

    std::string directory_;
};

// The short and long track names from the text of a track.ini; a missing key gives
// an empty name.
TrackNames parseTrackIni(std::string_view text);

// A track name in the form track names from replays and from the season file are
// compared in: lower case, blanks and line-end characters around it removed. Names are
// neither cut nor padded, so two tracks that share their first letters stay apart.
std::string trackCell(std::string_view name);

}  // namespace movrane
