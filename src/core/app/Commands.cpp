#include "core/app/Commands.h"

#include <algorithm>

#include "core/app/CZodEvadiDoc.h"
#include "core/platform/DefaultHandler.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

namespace {
constexpr char FILE_MENU[] = "&File";
constexpr char VIEW_MENU[] = "&View";
constexpr char PLAYBACK_MENU[] = "&Playback";
constexpr char REPORTS_MENU[] = "&Reports";
constexpr char TOOLS_MENU[] = "&Tools";
constexpr char HELP_MENU[] = "&Help";
constexpr char TRACK_TOOLS[] = "Track Creating Tools";

const std::vector<CommandInfo> COMMANDS = {
    {CommandId::ClearLaps, FILE_MENU, "", "&Clear all replay laps...", "Clear all replay laps..."},
    {CommandId::AddLap, FILE_MENU, "", "&Add replay lap...", "Add replay lap..."},
    {CommandId::LapFinder, FILE_MENU, "", "Add replay lap using Lap Finder...", "Add replay lap using Lap Finder..."},
    {CommandId::OpenRecentReplay, FILE_MENU, "", "Open most recently added replay file...",
     "Open most recently added replay file..."},
    {CommandId::ArrangeLaps, FILE_MENU, "", "Move/Remove loaded replay laps", "Move/Remove loaded replay laps"},
    {CommandId::SaveReplayLap, FILE_MENU, "", "&Save replay lap...", "Save replay lap...", true},
    {CommandId::MergeLaps, FILE_MENU, "", "Merge all laps to one replay file...",
     "Merge all laps to one replay file..."},
    {CommandId::SaveTrackmap, FILE_MENU, "", "Save Trackmap as BMP-file...", "Save Trackmap as BMP-file...", true},
    {CommandId::SaveTelemetry, FILE_MENU, "", "Save telemetry to text file", "Save telemetry to text file"},
    {CommandId::Settings, FILE_MENU, "", "Settings...", "Settings...", true},
    {CommandId::Exit, FILE_MENU, "", "E&xit", "Exit", true},
    {CommandId::ZoomIn, VIEW_MENU, "", "Zoom In", "Zoom In"},
    {CommandId::ZoomOut, VIEW_MENU, "", "Zoom Out", "Zoom Out"},
    {CommandId::FitToTrack, VIEW_MENU, "", "Fit To Track", "Fit To Track"},
    {CommandId::PanningTool, VIEW_MENU, "", "Panning Tool", "Panning Tool"},
    {CommandId::DistanceMarkers, VIEW_MENU, "", "Distance Markers", "Distance Markers"},
    {CommandId::PlaybackBarShown, VIEW_MENU, "", "Playback Bar", "Playback Bar", true},
    {CommandId::ZoomBarShown, VIEW_MENU, "", "Zoom Bar", "Zoom Bar"},
    {CommandId::LapBarShown, VIEW_MENU, "", "Lap Bar", "Lap Bar"},
    {CommandId::PlaybackBeginning, PLAYBACK_MENU, "", "Beginning of lap", "Beginning of lap"},
    {CommandId::PlaybackFastReverse, PLAYBACK_MENU, "", "Fast Reverse", "Fast Reverse"},
    {CommandId::PlaybackStart, PLAYBACK_MENU, "", "Start/Continue", "Start/Continue"},
    {CommandId::PlaybackPause, PLAYBACK_MENU, "", "Pause", "Pause"},
    {CommandId::PlaybackFastForward, PLAYBACK_MENU, "", "Fast Forward", "Fast Forward"},
    {CommandId::PlaybackStop, PLAYBACK_MENU, "", "Stop", "Stop"},
    {CommandId::PlaybackEnd, PLAYBACK_MENU, "", "Move to end of lap", "Move to end of lap"},
    {CommandId::PlaybackRaceMode, PLAYBACK_MENU, "", "Toggle replay race/driving lines",
     "Toggle replay race/driving lines", true},
    {CommandId::ToggleLap1, PLAYBACK_MENU, "", "Toggle lap 1", "Toggle lap 1", true},
    {CommandId::ToggleLap2, PLAYBACK_MENU, "", "Toggle lap 2", "Toggle lap 2"},
    {CommandId::ToggleLap3, PLAYBACK_MENU, "", "Toggle lap 3", "Toggle lap 3"},
    {CommandId::ToggleLap4, PLAYBACK_MENU, "", "Toggle lap 4", "Toggle lap 4"},
    {CommandId::ToggleLap5, PLAYBACK_MENU, "", "Toggle lap 5", "Toggle lap 5"},
    {CommandId::ReportPractice, REPORTS_MENU, "", "Practice", "Practice"},
    {CommandId::ReportRace, REPORTS_MENU, "", "Race", "Race"},
    {CommandId::ReportLapByLap, REPORTS_MENU, "", "Lap by lap", "Lap by lap"},
    {CommandId::ReportLapChart, REPORTS_MENU, "", "Lap Chart", "Lap Chart"},
    {CommandId::ReportComplete, REPORTS_MENU, "", "Complete(all above)", "Complete(all above)"},
    {CommandId::ReportMechanical, REPORTS_MENU, "", "Mechanical", "Mechanical", true},
    {CommandId::GraphicalRaceReport, REPORTS_MENU, "", "Graphical Race Report", "Graphical Race Report", true},
    {CommandId::RaceHistoryGraph, REPORTS_MENU, "", "Race History Graph", "Race History Graph"},
    {CommandId::ReportDetailedRace, REPORTS_MENU, "", "Detailed Race Report", "Detailed Race Report"},
    {CommandId::ReportSite, REPORTS_MENU, "", "Generate Report site (html)", "Generate Report site (html)", true},
    {CommandId::Graph, TOOLS_MENU, "", "&Graph", "Graph"},
    {CommandId::TractionCircle, TOOLS_MENU, "", "Traction Circle", "Traction Circle"},
    {CommandId::Ratings, TOOLS_MENU, "", "Ratings", "Ratings"},
    {CommandId::SectorTimes, TOOLS_MENU, "", "Sector Times", "Sector Times"},
    {CommandId::SpeedReport, TOOLS_MENU, "", "Speed Report", "Speed Report"},
    {CommandId::LaptimeVerifier, TOOLS_MENU, "", "Online Laptime Verifier", "Online Laptime Verifier"},
    {CommandId::GearChangeAnalyser, TOOLS_MENU, "", "Gearchange Analyser", "Gearchange Analyser", true},
    {CommandId::EngineDetection, TOOLS_MENU, "", "Engine detection", "Engine detection"},
    {CommandId::ExportRecords, TOOLS_MENU, "", "E&xport Records", "Export Records"},
    {CommandId::PBViewer, TOOLS_MENU, "", "PB Viewer", "PB Viewer"},
    {CommandId::OrvRankHandicap, TOOLS_MENU, "", "OrvRank Handicap", "OrvRank Handicap"},
    {CommandId::TrackOrganizer, TOOLS_MENU, "", "Track Organizer", "Track Organizer"},
    {CommandId::CDDatabaseCreator, TOOLS_MENU, "", "Replay CD Database Creator",
     "Replay CD Database Creator"},
    {CommandId::GrooveExport, TOOLS_MENU, TRACK_TOOLS, "Export Lap To Groove (GRV) File",
     "Export Lap To Groove (GRV) File"},
    {CommandId::About, HELP_MENU, "", "&About Movrane", "About Movrane"},
    {CommandId::ViewReadme, HELP_MENU, "", "View Readme file", "View Readme file"},
};

const std::vector<CommandInfo> TOOLBAR_ONLY = {
    {CommandId::ModSetInfo, "", "", "Season/Engine/ZEK+ info", "Season/Engine/ZEK+ info"},
};

constexpr char BITMAP_TITLE[] = "Save Trackmap as BMP-file";
}  // namespace

const std::vector<CommandInfo>& mainMenuCommands() { return COMMANDS; }

std::vector<std::string> commandShortcuts(CommandId id) {
    switch (id) {
        case CommandId::ZoomIn: return {"Ctrl++", "Ctrl+="};
        case CommandId::ZoomOut: return {"Ctrl+-"};
        case CommandId::FitToTrack: return {"Ctrl+0"};
        default: return {};
    }
}
const std::vector<CommandInfo>& toolbarOnlyCommands() { return TOOLBAR_ONLY; }
std::optional<int> toggledLapOf(CommandId id) {
    const int slot = static_cast<int>(id) - static_cast<int>(CommandId::ToggleLap1);
    if (slot < 0 || slot >= CZodEvadiDoc::MAX_LAPS) return std::nullopt;
    return slot;
}

std::optional<ReportKind> reportKindOf(CommandId id) {
    switch (id) {
        case CommandId::ReportPractice: return ReportKind::Practice;
        case CommandId::ReportRace: return ReportKind::Race;
        case CommandId::ReportLapByLap: return ReportKind::LapByLap;
        case CommandId::ReportLapChart: return ReportKind::LapChart;
        case CommandId::ReportComplete: return ReportKind::Complete;
        case CommandId::ReportMechanical: return ReportKind::Mechanical;
        case CommandId::ReportDetailedRace: return ReportKind::DetailedRace;
        case CommandId::SectorTimes: return ReportKind::SectorTimes;
        case CommandId::SpeedReport: return ReportKind::Speed;
        case CommandId::LaptimeVerifier: return ReportKind::LaptimeVerifier;
        case CommandId::EngineDetection: return ReportKind::EngineDetection;
        case CommandId::ModSetInfo: return ReportKind::ModSet;
        default: return std::nullopt;
    }
}

int bitmapSide(uint32_t sizePreference) {
    if (sizePreference > static_cast<uint32_t>(MAX_BITMAP_SIDE)) return MAX_BITMAP_SIDE;
    return std::max(MIN_BITMAP_SIDE, static_cast<int>(sizePreference));
}

bool saveTrackmap(Ui& ui, const CZodEvadiDoc& doc, MapBitmapWriter& writer) {
    if (!doc.trackFound()) {
        ui.message(NO_TRACK_LOADED_MESSAGE);
        return false;
    }
    Ui::FileRequest request{BITMAP_TITLE,
                            {{"Bitmap files (*.bmp)", "*.bmp"}},
                            joinPath(doc.replayFolder(), doc.trackName() + ".bmp"),
                            ".bmp"};
    const auto chosen = ui.chooseFileToSave(request);
    if (!chosen) return false;
    if (!writer.write(withExtension(*chosen, ".bmp"), bitmapSide(doc.settings().bitmapSize))) {
        ui.message(BITMAP_NOT_CREATED_MESSAGE, {}, Ui::Icon::Warning);
        return false;
    }
    return true;
}

bool clearAllLaps(Ui& ui, CZodEvadiDoc& doc) {
    const int laps = doc.loadedLaps();
    if (laps > 0 && !ui.askYesNo("Remove all " + std::to_string(laps) + " loaded laps?")) return false;
    doc.clear();
    return true;
}

bool requireLoadedLap(Ui& ui, const CZodEvadiDoc& doc) {
    if (doc.loadedLaps() > 0) return true;
    ui.message(NO_LAP_LOADED_MESSAGE);
    return false;
}

std::unique_ptr<ReportReplay> chooseRaceReplay(Ui& ui, LoadedFileChooser& chooser, const CZodEvadiDoc& doc) {
    std::vector<std::string> lapFiles;
    for (int i = 0; i < CZodEvadiDoc::MAX_LAPS; ++i)
        lapFiles.push_back(doc.slot(i).inUse ? doc.slot(i).replayPath : std::string());
    auto replay = chooseReportReplay(ui, chooser, lapFiles, doc.replayFolder());
    if (replay && !replay->drivers.racePresent()) {
        ui.message(NO_RACE_INFO_MESSAGE);
        return nullptr;
    }
    return replay;
}

bool viewReadme(Ui& ui, const std::string& programDirectory) {
    return openWithDefaultHandlerOrTell(ui, joinPath(programDirectory, README_FILE));
}

std::string aboutText() {
    return std::string(MAIN_TITLE) +
           "\n\nAn analyser for the replay files of the racing simulator Orv: laps, track maps,"
           "\ntelemetry and the reports of practice and race."
           "\n\nCredits: written by the Movrane developers, with thanks to the league admins"
           "\nand drivers who tried it out and reported what they found.";
}

}  // namespace movrane
