#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/Report.h"
#include "core/reports/ReportReplayChoice.h"

namespace movrane {

class CZodEvadiDoc;
class Ui;

// The commands of the main window's menus, in menu order.
enum class CommandId {
    ClearLaps,
    AddLap,
    LapFinder,
    OpenRecentReplay,
    ArrangeLaps,
    SaveReplayLap,
    MergeLaps,
    SaveTrackmap,
    SaveTelemetry,
    Settings,
    Exit,
    ZoomIn,
    ZoomOut,
    FitToTrack,
    PanningTool,
    DistanceMarkers,
    PlaybackBarShown,
    ZoomBarShown,
    LapBarShown,
    PlaybackStart,
    PlaybackPause,
    PlaybackStop,
    PlaybackFastForward,
    PlaybackFastReverse,
    PlaybackBeginning,
    PlaybackEnd,
    PlaybackRaceMode,
    ToggleLap1,
    ToggleLap2,
    ToggleLap3,
    ToggleLap4,
    ToggleLap5,
    ReportPractice,
    ReportRace,
    ReportLapByLap,
    ReportLapChart,
    ReportComplete,
    ReportMechanical,
    GraphicalRaceReport,
    RaceHistoryGraph,
    TractionCircle,
    Ratings,
    GearChangeAnalyser,
    ReportDetailedRace,
    ReportSite,
    SectorTimes,
    SpeedReport,
    LaptimeVerifier,
    EngineDetection,
    ExportRecords,
    PBViewer,
    OrvRankHandicap,
    TrackOrganizer,
    CDDatabaseCreator,
    Graph,
    GrooveExport,
    About,
    ViewReadme,
    ModSetInfo,  // toolbar only
};

// One menu entry: its menu, an optional submenu, its text and the status-bar prompt (the
// text without its "&").
struct CommandInfo {
    CommandId id;
    const char* menu;
    const char* submenu;  // "" when the entry sits in the menu itself
    const char* text;
    const char* prompt;
    bool separatorBefore = false;
};

const std::vector<CommandInfo>& mainMenuCommands();
// Commands reached from the toolbar only (their menu is "").
const std::vector<CommandInfo>& toolbarOnlyCommands();

// The keys of a command in the portable key notation ("Ctrl++"), the one the menu shows
// first. Keypad keys reach the same commands. Empty for commands without keys.
std::vector<std::string> commandShortcuts(CommandId id);

inline constexpr const char* MAIN_TITLE = "Movrane - version " MOVRANE_VERSION;
inline constexpr const char* NO_TRACK_LOADED_MESSAGE = "No track loaded!";
inline constexpr const char* NO_LAP_LOADED_MESSAGE = "No replay lap loaded!";
inline constexpr const char* BITMAP_NOT_CREATED_MESSAGE = "Error creating file!";
inline constexpr const char* README_FILE = "Movrane.txt";
inline constexpr const char* NO_RACE_INFO_MESSAGE = "This replay file does not contain race info!";

// The guard of "Traction Circle" and "Ratings": true when a lap is loaded, else the message.
bool requireLoadedLap(Ui& ui, const CZodEvadiDoc& doc);
// The replay of "Graphical Race Report" and "Race History Graph": chosen as for the text
// reports, then refused with a message when it holds no race.
std::unique_ptr<ReportReplay> chooseRaceReplay(Ui& ui, LoadedFileChooser& chooser, const CZodEvadiDoc& doc);

// The lap slot a "Toggle lap N" command ticks or unticks.
std::optional<int> toggledLapOf(CommandId id);

// The report kind a report command opens.
std::optional<ReportKind> reportKindOf(CommandId id);

// Draws the track map with the driven lines into a square bitmap and writes it.
class MapBitmapWriter {
public:
    virtual ~MapBitmapWriter() = default;
    // False when the file could not be written.
    virtual bool write(const std::string& path, int size) = 0;
};

// The side of the saved bitmap: the size preference, held within what an image can be.
constexpr int MIN_BITMAP_SIDE = 16;
constexpr int MAX_BITMAP_SIDE = 8192;
int bitmapSide(uint32_t sizePreference);

// "Save Trackmap as BMP-file...": the guard, the save chooser, the bitmap of the size
// preference. False when nothing was written.
bool saveTrackmap(Ui& ui, const CZodEvadiDoc& doc, MapBitmapWriter& writer);

// "&Clear all replay laps...": asks "Remove all N loaded laps?" when laps are loaded and
// clears the document on Yes. False when the person said No.
bool clearAllLaps(Ui& ui, CZodEvadiDoc& doc);

// "View Readme file": opens Movrane.txt in the program's folder, or says why it cannot.
bool viewReadme(Ui& ui, const std::string& programDirectory);

// The text of "&About Movrane".
std::string aboutText();

}  // namespace movrane
