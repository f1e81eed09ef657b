#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/track/GrooveExport.h"

namespace movrane {

class CZodEvadiDoc;
class Ui;

// Picks one of the loaded laps (slot indexes, each with a label); nothing on Cancel.
class LoadedLapPicker {
public:
    virtual ~LoadedLapPicker() = default;
    virtual std::optional<int> pickLap(const std::string& title, const std::vector<int>& slots,
                                       const std::vector<std::string>& labels) = 0;
};

// The settings window of the groove export: edits the settings, false on Cancel.
class GrooveSettingsDialog {
public:
    virtual ~GrooveSettingsDialog() = default;
    virtual bool edit(GrooveSettings& settings) = 0;
};

enum class ExportResult { Written, Cancelled, Failed };

// The guard of the commands that write a loaded lap out, and the title of their lap choice.
inline constexpr const char* NO_REPLAY_LOADED_MESSAGE = "No replay file loaded!";
inline constexpr const char* CHOOSE_LAP_TITLE = "Choose a lap";

// "Driver name - Practice lap 3 (1m 23.456s)": how a loaded lap is named in choices.
std::string loadedLapLabel(const CZodEvadiDoc& doc, int slot);

// The label of a loaded lap in a picker: loadedLapLabel and, on a line of its own, the
// file name of the lap's replay, so that laps of different replays can be told apart.
std::string loadedLapChoiceLabel(const CZodEvadiDoc& doc, int slot);

// The lap an export works on: the only loaded one, or the one the person picks.
std::optional<int> chooseLoadedLap(const CZodEvadiDoc& doc, LoadedLapPicker& picker, const std::string& title);

// "Save telemetry to text file": the chosen lap's telemetry as text.
ExportResult exportTelemetry(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker);

// "Export Lap To Groove (GRV) File": the chosen lap's driven line as a groove file.
ExportResult exportGroove(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker, GrooveSettingsDialog& dialog);

// The "*.rpy" file of a folder with the latest modification time.
std::optional<std::string> mostRecentReplay(const std::string& folder);

}  // namespace movrane
