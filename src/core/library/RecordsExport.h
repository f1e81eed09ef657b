#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/library/ExportRecords.h"

namespace movrane {

class Ui;

// The lap-times INI file: per row a section named by the track directory with, per
// make, the keys prefix + "T", "P", "R" of the times that exist, written in the
// simulator's own player.ini style ("[ monza ]", "ferR = 418207356 83.456", CR LF,
// one extra line end at the end). Built whole, so an export replaces the file cleanly.
std::string lapTimesIniText(const RecordsTable& table);
// "418207356 " and the time in seconds with up to 10 significant digits.
std::string lapTimeValue(uint32_t milliseconds);
bool writeLapTimesFile(const std::string& path, const RecordsTable& table);

struct CalendarDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;
    static CalendarDate today();
};

inline constexpr const char* RECORDS_STYLE_SHEET = "movrn.css";

// The records site folder: export folder + "/" + player name + "_" + "March_07_2003".
std::string recordsSiteFolder(const std::string& exportFolder, const std::string& playerName, const CalendarDate& date);

// Writes the HTML records site of the table into its folder (made when missing, reused
// when it exists) with the style sheet copied from the program directory or built in.
// The folder, or nothing after a message to `ui`.
std::optional<std::string> writeRecordsSite(const RecordsTable& table, const std::string& exportFolder,
                                            const std::string& programDirectory, const CalendarDate& date, Ui& ui);

// "Record Export - Choose Driver": its texts and what its OK does.
struct RecordsExportChoice {
    static constexpr const char* TITLE = "Record Export - Choose Driver";
    static constexpr const char* PLAYER_CHOOSER = "Choose driver to use in Records Export";
    static constexpr const char* LAUNCH_BROWSER = "Launch web browser after export is finished";
    static constexpr const char* ONLY_COMPLETE_LAPS = "Only scan complete laps (bold in MOVRN)";
    static constexpr const char* SCAN_REPLAYS = "Scan replays for better times than is present in player.ini";

    int playerIndex = -1;  // -1: none chosen
    CollectOptions options;
    bool launchBrowser = false;
};

// Collects for the chosen player and writes the site, then opens its index page when
// asked; the site folder, or nothing after a message.
std::optional<std::string> exportRecordsSite(const LibraryFolders& folders, const RecordsExportChoice& choice,
                                             const std::string& exportFolder, const std::string& programDirectory,
                                             const CalendarDate& date, Ui& ui);

}  // namespace movrane
