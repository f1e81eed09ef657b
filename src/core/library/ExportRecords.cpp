#include "core/library/ExportRecords.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/library/Installation.h"
#include "core/library/ReplayDatabase.h"
#include "core/library/ReplayIndex.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

namespace {

constexpr const char* NOT_INSTALLED_PREFIX = "NotInstalledTrack ";

std::string trackMissingMessage(const std::string& track) {
    return "Track.ini or entire track seems to be missing in the tracks directory: " + track +
           "\n\rThe html-pages will be corrupt! You must \n\reither remove the bad entry in 67season.ini or\n\r"
           "restore the missing trackdirectory";
}

std::string playerNameOf(const PlayerNames& names) {
    std::string name = names.firstName + " " + names.lastName;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

// The smallest 24-bit time of laps 1..last that count.
uint32_t bestLap(const SessionLaps& laps, bool onlyCompleteLaps) {
    uint32_t best = MISSING_TIME;
    for (int32_t l = 1; l <= laps.lastIndex && l < static_cast<int32_t>(laps.words.size()); ++l) {
        const auto i = static_cast<std::size_t>(l);
        if (laps.words[i] & LAP_FLAG_INVALID) continue;
        if (onlyCompleteLaps && laps.valid[i] != 1) continue;
        best = std::min(best, laps.words[i] & LAP_TIME_MASK);
    }
    return best;
}

// A replay read in the library scan, kept until its track's rows are filled.
struct LibraryReplay {
    std::string path;    // empty for a CD database record
    std::string track;   // trackCell of the header's track name
    ReplaySummary summary;  // set for database records, filled later for files
};

// Reads the headers of the replay folders and the CD database records; tells about a
// header that cannot be read.
std::vector<LibraryReplay> scanLibrary(const LibraryFolders& folders, ReplayIndex& index, Ui& ui) {
    std::vector<LibraryReplay> library;
    for (const std::string& folder : {folders.replayFolder(), folders.alternative}) {
        for (const std::string& path : replayFilesIn(folder)) {
            ReplaySummary header;
            if (index.read(path, [](const std::string&) { return false; }, header) == ReplayRead::HeaderUnreadable) {
                ui.message(path, REPLAY_READ_ERROR_CAPTION, Ui::Icon::Warning);
                continue;
            }
            library.push_back(LibraryReplay{path, trackCell(header.header.trackName), {}});
        }
    }
    index.forgetUnseen();
    ReplayDatabaseLoader databases;
    databases.open(folders.databaseFolder());
    while (databases.next())
        library.push_back(LibraryReplay{{}, trackCell(databases.current().header.trackName), databases.current()});
    return library;
}

}  // namespace

void updateRowFromReplay(RecordsRow& row, const ReplaySummary& replay, const std::string& firstName,
                         const std::string& lastName, bool onlyCompleteLaps) {
    const bool training = replay.drivers.size() == 1;
    for (const DriverPart& driver : replay.drivers) {
        if (driver.firstName != firstName || driver.lastName != lastName || driver.carMake >= CAR_MAKE_COUNT) continue;
        const uint32_t practice = replay.practicePresent ? bestLap(driver.laps[PRACTICE], onlyCompleteLaps) : MISSING_TIME;
        const uint32_t race = replay.racePresent ? bestLap(driver.laps[RACE], onlyCompleteLaps) : MISSING_TIME;
        auto& sessions = row.cars[driver.carMake].sessions;
        uint32_t& kept = sessions[training ? BEST_TRAINING : BEST_PRACTICE].ms;
        kept = std::min(kept, practice);
        sessions[BEST_RACE].ms = std::min(sessions[BEST_RACE].ms, race);
    }
}

std::optional<PlayerIni> readChosenPlayer(const Installation& installation, int playerIndex, Ui& ui) {
    const std::vector<PlayerEntry> players = installation.players();
    if (playerIndex < 0 || playerIndex >= static_cast<int>(players.size())) {
        ui.message("No driver selected!");
        return std::nullopt;
    }
    PlayerIni player = installation.readPlayer(players[static_cast<std::size_t>(playerIndex)].directory, true);
    if (player.status == PlayerIni::Status::CannotOpen) {
        ui.message("Can't open " + player.path + ", aborting", {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    if (player.status == PlayerIni::Status::CannotWriteTemp) {
        ui.message("Can't write temp file, aborting", {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    return player;
}

std::optional<RecordsTable> collectPersonalBests(const LibraryFolders& folders, int playerIndex,
                                                 const CollectOptions& options, Ui& ui) {
    const Installation installation(folders.installation);
    const std::optional<PlayerIni> chosen = readChosenPlayer(installation, playerIndex, ui);
    if (!chosen) return std::nullopt;
    const PlayerIni& player = *chosen;

    // Every replay header is read (and an unreadable one told about) before the season's
    // tracks are looked up.
    ReplayIndex index(folders.indexPath);
    std::vector<LibraryReplay> library = scanLibrary(folders, index, ui);

    RecordsTable table;
    table.playerName = playerNameOf(player.names);
    // The track each row takes replays of; empty when the row keeps player.ini's times.
    std::vector<std::string> scannedTrack;
    for (const EventBests& event : player.bests) {
        const auto names = installation.trackNames(event.trackDirectory);
        if (!names) {
            ui.message(trackMissingMessage(event.trackDirectory), {}, Ui::Icon::Warning);
            return std::nullopt;
        }
        table.rows.push_back(RecordsRow{names->shortName, names->longName, event.trackDirectory, event.cars});
        scannedTrack.push_back(!event.inPlayerIni || options.scanReplays ? trackCell(event.trackDirectory) : "");
    }

    std::set<std::string> notInstalled;
    for (const LibraryReplay& replay : library) notInstalled.insert(replay.track);
    for (const std::string& cell : installation.seasonTrackCells()) notInstalled.erase(cell);
    for (const std::string& track : notInstalled) {
        RecordsRow row;
        row.directory = track;
        std::error_code ec;
        const auto names = std::filesystem::is_directory(installation.path("tracks/" + track), ec)
                               ? installation.trackNames(track)
                               : std::nullopt;
        row.shortName = names ? names->shortName : track;
        row.longName = names ? names->longName : NOT_INSTALLED_PREFIX + track;
        table.rows.push_back(std::move(row));
        scannedTrack.push_back(track);
    }

    Progress progress(ui, static_cast<int>(library.size()));
    int done = 0;
    for (LibraryReplay& replay : library) {
        progress.set(++done);
        if (std::find(scannedTrack.begin(), scannedTrack.end(), replay.track) == scannedTrack.end()) continue;
        if (!replay.path.empty()) {
            const ReplayRead read = index.read(replay.path, [](const std::string&) { return true; }, replay.summary);
            if (read == ReplayRead::DriversUnreadable) reportUnreadableDrivers(folders, ui, replay.path);
            if (read != ReplayRead::Read) continue;
        }
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            if (scannedTrack[i] == replay.track)
                updateRowFromReplay(table.rows[i], replay.summary, player.names.firstName, player.names.lastName,
                                    options.onlyCompleteLaps);
        }
    }
    return table;
}

}  // namespace movrane
