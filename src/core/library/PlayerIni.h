#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/library/PersonalBests.h"

namespace movrane {

struct PlayerNames {
    std::string firstName;
    std::string lastName;
};

struct PlayerIni {
    enum class Status { Ok, CannotOpen, CannotWriteTemp };
    Status status = Status::CannotOpen;
    std::string path;  // the player.ini that was read
    PlayerNames names;
    PersonalBestTable bests;  // filled when asked for
};

// Applies the simulator's name rules: a leading ";" empties it, a ";" at position 2 or
// later cuts it there, and trailing blanks are removed.
std::string cleanPlayerName(std::string_view name);

// Reads a player.ini: repairs the simulator's "[ section ]" headers in a temporary
// copy ("player.ini.MOVRN" beside it, removed before returning on every path), reads
// the names and, when `seasonTracks` is given, one entry of bests per season track.
PlayerIni readPlayerIni(const std::string& path, const std::vector<std::string>* seasonTracks);

}  // namespace movrane
