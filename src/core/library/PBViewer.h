#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/library/ExportRecords.h"
#include "core/library/ReplayLibrary.h"
#include "core/replay/Cars.h"

namespace movrane {

class Ui;

// "Personal Best Laps Viewer": a player's overall best per track and make, kept in the
// settings store between runs and exported as a lap-times file; the upload and the
// rank calculator take the table from here.
class PBViewer {
public:
    static constexpr const char* TITLE = "Personal Best Laps Viewer";
    static constexpr const char* PLAYER_CHOOSER = "Choose driver to use in PB Viewer";
    static constexpr const char* PROGRESS_LABEL = "PB collecting progress";
    static constexpr int COLUMNS = 1 + CAR_MAKE_COUNT;
    static const std::array<const char*, COLUMNS> COLUMN_HEADERS;
    using Row = std::array<std::string, COLUMNS>;

    // Shows the stored rows, if any, behind a note that they are old.
    PBViewer(LibraryFolders folders, Ui& ui);

    const std::vector<Row>& rows() const { return rows_; }
    bool refreshed() const { return table_.has_value(); }
    const std::optional<RecordsTable>& table() const { return table_; }

    // "Refresh": collects for the player, lists and stores the rows; false when the
    // collection stopped.
    bool refresh(int playerIndex, const CollectOptions& options = {});
    // "Export laptimes to .ini file": the path written, or nothing.
    std::optional<std::string> exportLapTimes(const std::string& exportFolder);
    // Guards of "Upload laptimes to OrvRank" and "OrvRank calculator": true when the
    // table is there, else tells the person to refresh first.
    bool mayUpload();
    bool mayCalculate();

private:
    bool requireRefresh(const char* message);

    LibraryFolders folders_;
    Ui& ui_;
    std::vector<Row> rows_;
    std::optional<RecordsTable> table_;
};

// 83456 ms as "1:23.456"; a missing time as a single blank.
std::string viewerTime(uint32_t milliseconds);

}  // namespace movrane
