#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/library/ReplayLibrary.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

class DriveList;
class Ui;

// The lap finder: every valid lap of every driver on one track, found in the replay
// folder, the alternative folder and the CD databases; filtered, sorted, copied as text
// and handed to the document.
class LapFinder {
public:
    static constexpr const char* TITLE = "Lap Finder";
    static constexpr int VISIBLE_COLUMNS = 7;
    static const std::array<const char*, VISIBLE_COLUMNS> COLUMN_HEADERS;

    enum class Filter { All, NoAi, LocalOnly };
    static const std::array<const char*, 3> FILTER_LABELS;
    enum class Sort { Unsorted, Driver, LapTime, Team, Class, Session, FileDate, ReplayFile };
    static const std::array<const char*, 8> SORT_LABELS;

    struct Row {
        std::array<std::string, VISIBLE_COLUMNS> columns;
        // lap index x 65536 + driver index x 256 + session bit (1 race)
        uint32_t identifier = 0;
        std::string volumeLabel = "NA";  // the medium label of a CD replay
        // A CD replay's database name and path on the medium; empty for a replay on disk.
        std::string databaseName;
        std::string mediumPath;
    };

    // A lap to hand to the document.
    struct LapRequest {
        std::string path;
        Session session = PRACTICE;
        uint32_t driver = 0;
        int lap = 0;
    };

    LapFinder(LibraryFolders folders, Ui& ui);

    // The installation's track folders, lower case, sorted, each once.
    std::vector<std::string> trackChoices() const;

    const std::string& track() const { return track_; }
    Filter filter() const { return filter_; }
    Sort sortMode() const { return sort_; }
    // Each of these scans again.
    void chooseTrack(const std::string& track);
    void chooseFilter(Filter filter);
    void scan();

    // False when the mode is already in force (nothing changes).
    bool sort(Sort mode);
    // A click on a column header: columns 0..6 sort, the others are told they do not.
    void sortByColumn(int column);

    const std::vector<Row>& rows() const { return rows_; }
    int filesScanned() const { return filesScanned_; }
    int cdReplays() const { return cdReplays_; }
    std::string statusText() const;
    std::string clipboardText() const;
    void copyToClipboard() const;

    // OK: the laps of the selected rows (indexes into rows(), in list order), with the
    // CD prompts; nothing when the dialog must stay open.
    std::optional<std::vector<LapRequest>> accept(const std::vector<int>& selected, int loadedLaps, int capacity,
                                                  const DriveList& drives);

private:
    void addLaps(const ReplaySummary& replay, const std::string& replayText);
    std::optional<std::string> locate(const Row& row, const DriveList& drives);

    LibraryFolders folders_;
    Ui& ui_;
    std::string track_;
    Filter filter_ = Filter::LocalOnly;
    Sort sort_ = Sort::Unsorted;
    std::vector<Row> rows_;
    int filesScanned_ = 0;
    int cdReplays_ = 0;
    std::string confirmedLabel_;
};

// "NA", "F3", "F2", "F1" for formula index 0..3.
const char* formulaName(uint32_t index);

}  // namespace movrane
