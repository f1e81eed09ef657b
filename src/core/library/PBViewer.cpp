#include "core/library/PBViewer.h"

#include <cstdio>

#include "core/library/PersonalBestStore.h"
#include "core/library/RecordsExport.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

const std::array<const char*, PBViewer::COLUMNS> PBViewer::COLUMN_HEADERS = {
    "Track", "Brabham", "BRM", "Cooper", "Eagle", "Ferrari", "Lotus", "Honda"};

namespace {

PBViewer::Row rowOf(const StoredBestsRow& stored) {
    PBViewer::Row row;
    row[0] = stored.shortName;
    for (int car = 0; car < CAR_MAKE_COUNT; ++car) row[car + 1] = viewerTime(stored.best[car]);
    return row;
}

}  // namespace

std::string viewerTime(uint32_t ms) {
    if (ms == MISSING_TIME) return " ";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
    return buf;
}

PBViewer::PBViewer(LibraryFolders folders, Ui& ui) : folders_(std::move(folders)), ui_(ui) {
    const auto stored = loadStoredPersonalBests();
    if (!stored) return;
    rows_.push_back({"Using old times!", "Please", "click", "refresh", "to get", "current", "updated", "times"});
    rows_.push_back({});
    for (const StoredBestsRow& row : *stored) rows_.push_back(rowOf(row));
}

bool PBViewer::refresh(int playerIndex, const CollectOptions& options) {
    auto table = collectPersonalBests(folders_, playerIndex, options, ui_);
    if (!table) return false;
    const std::vector<StoredBestsRow> stored = storedRowsOf(*table);
    rows_.clear();
    for (const StoredBestsRow& row : stored) rows_.push_back(rowOf(row));
    storePersonalBests(stored);
    table_ = std::move(table);
    return true;
}

bool PBViewer::requireRefresh(const char* message) {
    if (table_) return true;
    ui_.message(message);
    return false;
}

std::optional<std::string> PBViewer::exportLapTimes(const std::string& exportFolder) {
    if (!requireRefresh("No laptimes to export!\r\nYou must first click 'Refresh' above")) return std::nullopt;
    Ui::FileRequest request;
    request.filters = {{"Ini files (*.ini)", "*.ini"}};
    request.initialPath = joinPath(exportFolder, "OrvLapTimes.ini");
    auto chosen = ui_.chooseFileToSave(request);
    if (!chosen) return std::nullopt;
    if (!hasExtension(*chosen, ".ini")) *chosen += ".ini";
    if (!writeLapTimesFile(*chosen, *table_)) {
        ui_.message("Error creating file!", {}, Ui::Icon::Warning);
        return std::nullopt;
    }
    ui_.message("The Laptimes for " + table_->playerName + "\r\nare now stored in\r\n" + *chosen);
    return chosen;
}

bool PBViewer::mayUpload() {
    return requireRefresh("No laptimes to upload!\r\nYou must first click 'Refresh' above");
}

bool PBViewer::mayCalculate() {
    return requireRefresh("No laptimes to calculate Ranks on!\r\nYou must first click 'Refresh' above");
}

}  // namespace movrane
