#pragma once

#include <climits>
#include <string>

#include "core/library/Prefs.h"
#include "core/platform/Ui.h"

namespace movrane {

// The behaviour of the Settings dialog: its fields as the controls show them, the
// Browse buttons and what OK does. The window forwards input here and shows the state.
class Options {
public:
    static constexpr const char* TITLE = "Settings";
    static constexpr const char* LOCATE_TITLE = "Locate ORV.EXE";
    static constexpr const char* LOCATE_FILTER = "ORV.exe File (orv.exe)";
    static constexpr const char* NOT_FOUND_MESSAGE =
        "Unable to find the file orv.exe in the specified directory.\nPlease choose a valid Orv directory.";
    static constexpr const char* ALT_RPY_TITLE = "Alternative Replay Path";
    static constexpr const char* EXPORT_TITLE = "Export Path (for records and html site etc)";
    static constexpr const char* ORVRANK_HOST_CAPTION = "OrvRank server (HOST[:PORT])";
    // The path fields take at most this many characters: the longest path the file system
    // allows (the settings store keeps paths of any length).
    static constexpr std::size_t PATH_LIMIT = PATH_MAX - 1;
    static constexpr std::size_t BITMAP_SIZE_LIMIT = 15;
    static constexpr uint32_t DEFAULT_BITMAP_SIZE = 768;

    // Fills the fields from the preferences.
    Options(Prefs& prefs, Ui& ui);

    bool mph = false;              // "KPH" / "MPH"
    bool qualityReport = true;     // "Quality report when adding replay"
    std::string orvPath;           // "Orv Path"
    std::string altRpyPath;        // "Alternative Replay Path"
    std::string exportPath;        // "Export Path (for records and html site etc)"
    bool retirementReason = false; // "Include retirement reason in Race Report"
    bool offTrackLines = false;    // "Remove off the track info in LapByLap"
    std::string bitmapSize;        // "Size of exported BMP file (pixels):"
    bool exclusionMessages = false;  // "Display messages when excluding VizUziv generated replays"
    std::string orvRankHost;       // ORVRANK_HOST_CAPTION

    // The Browse buttons; a cancelled chooser changes nothing.
    void browseOrvPath();
    void browseAltRpyPath();
    void browseExportPath();

    // OK: makes sure the installation path holds orv.exe, asking for it through the
    // "Locate ORV.EXE" chooser until it does, then stores every field in the
    // preferences and saves them. False when the person cancelled the chooser: the
    // dialog stays open and nothing is stored. After true the caller copies the speed
    // unit, the three report flags, the directory and the bitmap size into the open
    // document. The ranking server, without the spaces around it, is written on its own
    // when it changed.
    bool ok();

private:
    // The folder of a chosen orv.exe, or nothing when the chooser was cancelled.
    std::optional<std::string> locateOrvExe();
    void store();
    void storeOrvRankHost();

    Prefs& prefs_;
    Ui& ui_;
};

// "Size of exported BMP file (pixels):" as stored: the first 15 characters read as a
// decimal number; 0, a negative number or text that is not a number gives 768.
uint32_t parseBitmapSize(const std::string& field);

}  // namespace movrane
