#include "core/app/Commands.h"

#include <algorithm>

#include "core/app/CZodEvadiDoc.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"

namespace movrane {

namespace {
constexpr char FILE_MENU[] = "&File";
constexpr char VIEW_MENU[] = "&View";
constexpr char REPORTS_MENU[] = "&Reports";
constexpr char TOOLS_MENU[] = "&Tools";
constexpr char HELP_MENU[] = "&Help";
constexpr char TRACK_TOOLS[] = "Track Creating Tools";

const std::vector<CommandInfo> COMMANDS = {
    {CommandId::ClearLaps, FILE_MENU, "", "&Clear all replay laps...", "Clear all replay laps..."},
    {CommandId::AddLap, FILE_MENU, "", "&Add replay lap...", "Add replay lap..."},
    {CommandId::OpenRecentReplay, FILE_MENU, "", "Open most recently added replay file...",
     "Open most recently added replay file..."},
    {CommandId::SaveTrackmap, FILE_MENU, "", "Save Trackmap as BMP-file...", "Save Trackmap as BMP-file...", true},
    {CommandId::SaveTelemetry, FILE_MENU, "", "Save telemetry to text file", "Save telemetry to text file"},
    {CommandId::Settings, FILE_MENU, "", "Settings...", "Settings...", true},
    {CommandId::Exit, FILE_MENU, "", "E&xit", "Exit", true},
    {CommandId::ZoomIn, VIEW_MENU, "", "Zoom In", "Zoom In"},
    {CommandId::ZoomOut, VIEW_MENU, "", "Zoom Out", "Zoom Out"},
    {CommandId::FitToTrack, VIEW_MENU, "", "Fit To Track", "Fit To Track"},
    {CommandId::PanningTool, VIEW_MENU, "", "Panning Tool", "Panning Tool"},
    {CommandId::DistanceMarkers, VIEW_MENU, "", "Distance Markers", "Show or hide the distance markers on the map"},
    {CommandId::LapBarShown, VIEW_MENU, "", "Lap Bar", "Lap Bar", true},
    {CommandId::ReportPractice, REPORTS_MENU, "", "Practice", "Practice"},
    {CommandId::ReportRace, REPORTS_MENU, "", "Race", "Race"},
    {CommandId::ReportLapByLap, REPORTS_MENU, "", "Lap by lap", "Lap by lap"},
    {CommandId::ReportLapChart, REPORTS_MENU, "", "Lap Chart", "Lap Chart"},
    {CommandId::ReportComplete, REPORTS_MENU, "", "Complete(all above)", "Complete(all above)"},
    {CommandId::ReportMechanical, REPORTS_MENU, "", "Mechanical", "Mechanical", true},
    {CommandId::Graph, TOOLS_MENU, "", "&Graph", "Graph"},
    {CommandId::GrooveExport, TOOLS_MENU, TRACK_TOOLS, "Export Lap To Groove (GRV) File",
     "Export Lap To Groove (GRV) File"},
    {CommandId::About, HELP_MENU, "", "&About Movrane", "About Movrane"},
    {CommandId::ViewReadme, HELP_MENU, "", "View Readme file", "View Readme file"},
};

constexpr char BITMAP_TITLE[] = "Save Trackmap as BMP-file";
}  // namespace

const std::vector<CommandInfo>& mainMenuCommands() { return COMMANDS; }

std::optional<ReportKind> reportKindOf(CommandId id) {
    switch (id) {
        case CommandId::ReportPractice: return ReportKind::Practice;
        case CommandId::ReportRace: return ReportKind::Race;
        case CommandId::ReportLapByLap: return ReportKind::LapByLap;
        case CommandId::ReportLapChart: return ReportKind::LapChart;
        case CommandId::ReportComplete: return ReportKind::Complete;
        case CommandId::ReportMechanical: return ReportKind::Mechanical;
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

bool lapLoadedGuard(Ui& ui, const CZodEvadiDoc& doc) {
    if (doc.loadedLaps() > 0) return true;
    ui.message(NO_LAP_LOADED_MESSAGE);
    return false;
}

bool viewReadme(Ui& ui, const std::string& programDirectory) {
    return ui.openWithDefaultHandler(joinPath(programDirectory, README_FILE));
}

std::string aboutText() {
    return std::string(MAIN_TITLE) +
           "\n\nAn analyser for the replay files of the racing simulator Orv: laps, track maps,"
           "\ntelemetry and the reports of practice and race."
           "\n\nCredits: written by the Movrane developers, with thanks to the league admins"
           "\nand drivers who tried it out and reported what they found.";
}

}  // namespace movrane
