#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/library/Installation.h"
#include "core/library/PersonalBests.h"
#include "core/library/ReplayLibrary.h"

namespace movrane {

class Ui;

// One row of the records table: a track and, per car make, the best Training, Practice
// and Race lap (with the flag that tells whether player.ini held it).
struct RecordsRow {
    std::string shortName;
    std::string longName;
    std::string directory;
    std::array<CarBests, CAR_MAKE_COUNT> cars;
};

// A player's records: the season events in event order, then the tracks met only in
// replays.
struct RecordsTable {
    std::string playerName;  // first and last name, trailing blanks removed
    std::vector<RecordsRow> rows;
};

// The collector's check boxes.
struct CollectOptions {
    bool onlyCompleteLaps = false;  // "Only scan complete laps (bold in MOVRN)"
    bool scanReplays = false;       // "Scan replays for better times than is present in player.ini"
};

// The player at `playerIndex` of the installation's player list with the personal bests
// of player.ini; nothing after "No driver selected!" or the message why player.ini could
// not be read.
std::optional<PlayerIni> readChosenPlayer(const Installation& installation, int playerIndex, Ui& ui);

// Collects the personal bests of the player at `playerIndex` of the installation's
// player list: player.ini's bests per season track, improved from the replay library
// where player.ini has nothing for a track or where the options ask for it, and the
// tracks found only in replays. Nothing when it stopped with a message to `ui`.
// The records export, the personal-best viewer and the upload all collect through here.
std::optional<RecordsTable> collectPersonalBests(const LibraryFolders& folders, int playerIndex,
                                                 const CollectOptions& options, Ui& ui);

// Applies one replay's laps of the named player to a row (the smaller time wins).
void updateRowFromReplay(RecordsRow& row, const ReplaySummary& replay, const std::string& firstName,
                         const std::string& lastName, bool onlyCompleteLaps);

}  // namespace movrane
