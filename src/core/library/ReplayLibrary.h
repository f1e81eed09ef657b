#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/library/ReplaySummary.h"

namespace movrane {

class Ui;

// Shown with a replay's path when it cannot be read during a library scan.
inline constexpr const char* REPLAY_READ_ERROR_CAPTION = "Error reading replay file - is this a standard Orv replay?";

// Where the replay library lives: the installation's replay folder, the alternative
// replay folder (may be empty) and the folder of the CD databases.
struct LibraryFolders {
    std::string installation;
    std::string alternative;
    // Reports a driver table that cannot be read (the exclusion-messages preference).
    bool reportUnreadableDrivers = false;
    // The replay index (ReplayIndex); empty: every scan reads every file.
    std::string indexPath;

    static LibraryFolders fromPrefs();
    std::string replayFolder() const;
    std::string databaseFolder() const;
};

// The "*.rpy" files (any case) of one folder, in name order.
std::vector<std::string> replayFilesIn(const std::string& folder);

enum class ReplayRead { Read, NotWanted, HeaderUnreadable, DriversUnreadable };

// Reads a replay's header and, when `wanted` accepts its track name, its driver table.
// The header's track name is set in `summary` also when the replay is not wanted.
ReplayRead readReplay(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                      ReplaySummary& summary);

// Tells about a replay whose driver table could not be read, when the folders ask for it.
void reportUnreadableDrivers(const LibraryFolders& folders, Ui& ui, const std::string& path);

}  // namespace movrane
