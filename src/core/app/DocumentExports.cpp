#include "core/app/DocumentExports.h"

#include <filesystem>
#include <system_error>

#include "core/app/CZodEvadiDoc.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "core/replay/TelemetryExport.h"
#include "core/track/Track.h"

namespace movrane {

namespace {
constexpr char NO_TRACK_MESSAGE[] = "No track loaded!";
constexpr char CREATE_FAILED_MESSAGE[] = "Error creating file!";
constexpr char BAD_WIDTH_MESSAGE[] = "The groove width must be a number of meters, such as 3.0.";
}  // namespace

std::string loadedLapLabel(const CZodEvadiDoc& doc, int slotIndex) {
    const LapSlot& slot = doc.slot(slotIndex);
    const DriverRecord& d = slot.drivers->driver(slot.driver);
    return d.name1 + " " + d.name2 + " - " + (slot.session == PRACTICE ? "Practice" : "Race") + " lap " +
           std::to_string(slot.lapNumber) + " (" + lapTimeText(slot.lap->storedLapTime()) + ")";
}

std::string loadedLapChoiceLabel(const CZodEvadiDoc& doc, int slotIndex) {
    return loadedLapLabel(doc, slotIndex) + "\n" + afterLastSeparator(doc.slot(slotIndex).replayPath);
}

std::optional<int> chooseLoadedLap(const CZodEvadiDoc& doc, LoadedLapPicker& picker, const std::string& title) {
    const std::vector<int> slots = doc.usedSlots();
    if (slots.empty()) return std::nullopt;
    if (slots.size() == 1) return slots.front();
    std::vector<std::string> labels;
    for (int s : slots) labels.push_back(loadedLapChoiceLabel(doc, s));
    return picker.pickLap(title, slots, labels);
}

ExportResult exportTelemetry(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker) {
    if (doc.loadedLaps() == 0) {
        ui.message(NO_REPLAY_LOADED_MESSAGE);
        return ExportResult::Failed;
    }
    const auto slotIndex = chooseLoadedLap(doc, picker, CHOOSE_LAP_TITLE);
    if (!slotIndex) return ExportResult::Cancelled;
    const LapSlot& slot = doc.slot(*slotIndex);
    const std::string suggested = telemetryFileName(*slot.drivers, *slot.lap, doc.trackName());
    const auto chosen = ui.chooseFileToSave({"Save telemetry to text file",
                                             {{"Text files (*.txt)", "*.txt"}},
                                             joinPath(doc.replayFolder(), suggested),
                                             ".txt"});
    if (!chosen) return ExportResult::Cancelled;
    if (!writeTelemetryFile(withExtension(*chosen, ".txt"), *slot.lap)) {
        ui.message(CREATE_FAILED_MESSAGE, {}, Ui::Icon::Warning);
        return ExportResult::Failed;
    }
    return ExportResult::Written;
}

ExportResult exportGroove(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker, GrooveSettingsDialog& dialog) {
    if (doc.loadedLaps() == 0) {
        ui.message(NO_REPLAY_LOADED_MESSAGE);
        return ExportResult::Failed;
    }
    if (!doc.trackFound()) {
        ui.message(NO_TRACK_MESSAGE);
        return ExportResult::Failed;
    }
    const auto slotIndex = chooseLoadedLap(doc, picker, CHOOSE_LAP_TITLE);
    if (!slotIndex) return ExportResult::Cancelled;
    GrooveSettings settings;
    if (!dialog.edit(settings)) return ExportResult::Cancelled;
    if (!GrooveSettings::validWidth(settings.widthText)) {
        ui.message(BAD_WIDTH_MESSAGE, {}, Ui::Icon::Warning);
        return ExportResult::Failed;
    }
    const std::string text = grooveText(*doc.slot(*slotIndex).lap, doc.track()->lapLength(), settings);
    const auto chosen = ui.chooseFileToSave({"Export Lap To Groove (GRV) File",
                                             {{"Groove files (*.grv)", "*.grv"}},
                                             doc.trackName() + ".grv",
                                             ".grv"});
    if (!chosen) return ExportResult::Cancelled;
    if (!writeGrooveFile(grooveFileName(*chosen), text)) {
        ui.message(CREATE_FAILED_MESSAGE, {}, Ui::Icon::Warning);
        return ExportResult::Failed;
    }
    return ExportResult::Written;
}

std::optional<std::string> mostRecentReplay(const std::string& folder) {
    std::error_code error;
    std::optional<std::string> newest;
    std::filesystem::file_time_type newestTime{};
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!hasExtension(name, ".rpy")) continue;
        if (!entry.is_regular_file(error)) continue;
        const auto time = entry.last_write_time(error);
        if (error) continue;
        if (!newest || time > newestTime) {
            newest = entry.path().string();
            newestTime = time;
        }
    }
    return newest;
}

}  // namespace movrane
