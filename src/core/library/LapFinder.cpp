#include "core/library/LapFinder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "core/library/ReplayDatabase.h"
#include "core/library/ReplayIndex.h"
#include "core/platform/Drives.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Cars.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

const std::array<const char*, LapFinder::VISIBLE_COLUMNS> LapFinder::COLUMN_HEADERS = {
    "Driver Name", "Lap time", "Team", "Class", "Session", "Filedate", "Replay file"};
const std::array<const char*, 3> LapFinder::FILTER_LABELS = {"Show all laps", "Don't show AI laps",
                                                              "Show only local drivers laps"};
const std::array<const char*, 8> LapFinder::SORT_LABELS = {
    "Unsorted (fastest)", "By Driver", "By Laptime", "By Team", "By Class (Fx)", "By Session", "By Filedate",
    "By Replay File"};

namespace {

constexpr const char* SCAN_WAIT_TEXT = "Please wait while scanning replays...";
constexpr const char* NO_LAP_CAPTION = "No lap choosen!";

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return lower(x) < lower(y); });
}

}  // namespace

const char* formulaName(uint32_t index) {
    static constexpr const char* NAMES[] = {"NA", "F3", "F2", "F1"};
    return index < 4 ? NAMES[index] : "Unknown";
}

LapFinder::LapFinder(LibraryFolders folders, Ui& ui) : folders_(std::move(folders)), ui_(ui) {}

std::vector<std::string> LapFinder::trackChoices() const {
    std::set<std::string> tracks;
    std::error_code ec;
    std::filesystem::directory_iterator it(resolveUnder(folders_.installation, "tracks"), ec);
    if (ec) return {};
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        tracks.insert(toLowerAscii(it->path().filename().string()));
    }
    return {tracks.begin(), tracks.end()};
}

void LapFinder::chooseTrack(const std::string& track) {
    track_ = track;
    scan();
}

void LapFinder::chooseFilter(Filter filter) {
    filter_ = filter;
    scan();
}

void LapFinder::scan() {
    WaitWindow wait(ui_, SCAN_WAIT_TEXT);
    rows_.clear();
    sort_ = Sort::Unsorted;
    filesScanned_ = 0;
    cdReplays_ = 0;
    const auto wanted = [this](const std::string& name) { return name == track_; };
    ReplayIndex index(folders_.indexPath);
    for (const std::string& folder : {folders_.replayFolder(), folders_.alternative}) {
        for (const std::string& path : replayFilesIn(folder)) {
            ++filesScanned_;
            ReplaySummary replay;
            const ReplayRead read = index.read(path, wanted, replay);
            if (read == ReplayRead::DriversUnreadable) reportUnreadableDrivers(folders_, ui_, path);
            if (read == ReplayRead::Read) addLaps(replay, afterLastSeparator(path));
        }
    }
    index.forgetUnseen();
    ReplayDatabaseLoader databases;
    databases.open(folders_.databaseFolder());
    while (databases.next()) {
        ++cdReplays_;
        const ReplaySummary& replay = databases.current();
        if (replay.header.trackName == track_) addLaps(replay, replay.databaseName + ":" + replay.mediumPath);
    }
}

void LapFinder::addLaps(const ReplaySummary& replay, const std::string& replayText) {
    const bool training = replay.drivers.size() == 1;
    for (std::size_t d = 0; d < replay.drivers.size(); ++d) {
        const DriverPart& driver = replay.drivers[d];
        if (filter_ == Filter::NoAi && driver.ai) continue;
        if (filter_ == Filter::LocalOnly && d != replay.playerSlot) continue;
        for (const Session s : {PRACTICE, RACE}) {
            if (!(s == PRACTICE ? replay.practicePresent : replay.racePresent)) continue;
            const SessionLaps& laps = driver.laps[s];
            for (int32_t l = 0; l <= laps.lastIndex && l < static_cast<int32_t>(laps.valid.size()); ++l) {
                if (laps.valid[static_cast<std::size_t>(l)] != 1) continue;
                Row row;
                row.columns = {driver.firstName + " " + driver.lastName,
                               lapTimeText(laps.words[static_cast<std::size_t>(l)] & LAP_TIME_MASK),
                               carMakeName(driver.carMake),
                               formulaName(driver.formulaClass),
                               s == RACE ? "Race" : (training ? "Training" : "Practice"),
                               replay.fileDate,
                               replayText};
                row.identifier = static_cast<uint32_t>(l) * 65536 + static_cast<uint32_t>(d) * 256 +
                                 (s == RACE ? 1 : 0);
                if (replay.fromDatabase) {
                    row.volumeLabel = replay.mediumLabel;
                    row.databaseName = replay.databaseName;
                    row.mediumPath = replay.mediumPath;
                }
                rows_.push_back(std::move(row));
            }
        }
    }
}

bool LapFinder::sort(Sort mode) {
    if (mode == sort_) return false;
    sort_ = mode;
    if (mode == Sort::Unsorted) return true;
    const auto column = static_cast<std::size_t>(mode) - 1;
    std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& a, const Row& b) {
        return lessIgnoringCase(a.columns[column], b.columns[column]);
    });
    return true;
}

void LapFinder::sortByColumn(int column) {
    if (column < 0 || column >= VISIBLE_COLUMNS) {
        ui_.message("No sorting available for this column.");
        return;
    }
    sort(static_cast<Sort>(column + 1));
}

std::string LapFinder::statusText() const {
    return "Total number of replay files scanned was " + std::to_string(filesScanned_ + cdReplays_) +
           ", out of which " + std::to_string(cdReplays_) + " were taken from Replay CD databases.";
}

std::string LapFinder::clipboardText() const {
    std::string text = COLUMN_HEADERS[0];
    for (int c = 1; c < VISIBLE_COLUMNS; ++c) text += std::string("\t") + COLUMN_HEADERS[c];
    text += "\n";
    for (const Row& row : rows_) {
        for (const std::string& cell : row.columns) text += cell + "\t";
        text += "\n";
    }
    return text;
}

void LapFinder::copyToClipboard() const { ui_.setClipboardText(clipboardText()); }

std::optional<std::string> LapFinder::locate(const Row& row, const DriveList& drives) {
    const std::string& text = row.columns[6];
    if (row.databaseName.empty()) {
        std::error_code ec;
        const std::string inReplayFolder = resolveUnder(folders_.installation, "replay/" + text);
        if (std::filesystem::exists(inReplayFolder, ec)) return inReplayFolder;
        if (!folders_.alternative.empty()) {
            const std::string inAlternative = resolveUnder(folders_.alternative, text);
            if (std::filesystem::exists(inAlternative, ec)) return inAlternative;
        }
    }
    if (confirmedLabel_ != row.volumeLabel &&
        !ui_.askYesNo("The replay file " + row.mediumPath + " is stored on the CD " + row.databaseName +
                      ".\r\n(Actual CD label is " + row.volumeLabel +
                      ")\r\nThis CD must be inserted now to load the replay.\r\n\r\nDo you want to continue?"))
        return std::nullopt;
    std::string root;
    while ((root = findDriveByLabel(drives, row.volumeLabel)).empty()) {
        if (!ui_.askYesNo("Can't find the CD with label: " + row.volumeLabel + "! Try again?")) return std::nullopt;
    }
    confirmedLabel_ = row.volumeLabel;
    return resolveUnder(root, row.mediumPath);
}

std::optional<std::vector<LapFinder::LapRequest>> LapFinder::accept(const std::vector<int>& selected, int loadedLaps,
                                                                    int capacity, const DriveList& drives) {
    if (loadedLaps + static_cast<int>(selected.size()) > capacity) {
        ui_.message("Too many laps selected!");
        return std::nullopt;
    }
    if (selected.empty()) {
        ui_.message("Choose a lap to view!", NO_LAP_CAPTION);
        return std::nullopt;
    }
    std::vector<LapRequest> requests;
    for (const int index : selected) {
        const Row& row = rows_.at(static_cast<std::size_t>(index));
        const auto path = locate(row, drives);
        if (!path) continue;
        requests.push_back(LapRequest{*path, (row.identifier & 1) ? RACE : PRACTICE, (row.identifier >> 8) & 0xFF,
                                      static_cast<int>((row.identifier >> 16) & 0xFF)});
    }
    return requests;
}

}  // namespace movrane
