#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/Report.h"

namespace movrane {

class CZodEvadiDoc;
class Ui;

// The commands of the main window's menus, in menu order.
enum class CommandId {
    ClearLaps,
    AddLap,
    OpenRecentReplay,
    SaveTrackmap,
    SaveTelemetry,
    Settings,
    Exit,
    ZoomIn,
    ZoomOut,
    FitToTrack,
    PanningTool,
    DistanceMarkers,
    LapBarShown,
    ReportPractice,
    ReportRace,
    ReportLapByLap,
    ReportLapChart,
    ReportComplete,
    ReportMechanical,
    Graph,
    GrooveExport,
    About,
    ViewReadme,
};

// One menu entry: its menu, an optional submenu, its text and the status-bar prompt.
struct CommandInfo {
    CommandId id;
    const char* menu;
    const char* submenu;  // "" when the entry sits in the menu itself
    const char* text;
    const char* prompt;
    bool separatorBefore = false;
};

const std::vector<CommandInfo>& mainMenuCommands();

inline constexpr const char* MAIN_TITLE = "Movrane - version " MOVRANE_VERSION;
inline constexpr const char* NO_TRACK_LOADED_MESSAGE = "No track loaded!";
inline constexpr const char* NO_LAP_LOADED_MESSAGE = "No replay lap loaded!";
inline constexpr const char* BITMAP_NOT_CREATED_MESSAGE = "Error creating file!";
inline constexpr const char* README_FILE = "Movrane.txt";

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

// The guard of the commands that work on the loaded laps ("&Graph"): false, after
// "No replay lap loaded!", when no lap is loaded.
bool lapLoadedGuard(Ui& ui, const CZodEvadiDoc& doc);

// "View Readme file": opens Movrane.txt in the program's folder.
bool viewReadme(Ui& ui, const std::string& programDirectory);

// The text of "&About Movrane".
std::string aboutText();

}  // namespace movrane
