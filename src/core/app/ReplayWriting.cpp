#include "core/app/ReplayWriting.h"

#include <sys/stat.h>

#include <fcntl.h>

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/DocumentExports.h"
#include "core/app/MergeParameters.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReplayWriters.h"
#include "core/replay/TelemetryExport.h"

namespace movrane {

namespace {

constexpr char REPLAY_FILTER[] = "Replay files (*.rpy)";
constexpr char SAVE_LAP_TITLE[] = "Save replay lap";
constexpr char MERGE_TITLE[] = "Merge all laps to one replay file";

std::optional<std::string> chooseReplayDestination(Ui& ui, const ReplayOutput& output, const std::string& title,
                                                   const std::string& suggested) {
    if (output.path) return output.path;
    const auto chosen = ui.chooseFileToSave({title, {{REPLAY_FILTER, "*.rpy"}}, suggested, ".rpy"});
    if (!chosen) return std::nullopt;
    return replayFileName(*chosen);
}

// The same name, or another name of the same file (a link, "./"): writing there would
// replace the replay being read.
bool sameFile(const std::string& destination, const std::string& source) {
    std::error_code error;
    return destination == source || std::filesystem::equivalent(destination, source, error);
}

bool refuseSource(Ui& ui, const std::string& destination, const std::string& source) {
    if (!sameFile(destination, source)) return false;
    ui.message(SAME_FILE_MESSAGE, {}, Ui::Icon::Warning);
    return true;
}

// Gives a file the access and modification times of another.
void copyFileTimes(const std::string& from, const std::string& to) {
    struct stat source {};
    if (::stat(from.c_str(), &source) != 0) return;
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    ::utimensat(AT_FDCWD, to.c_str(), times, 0);
}

ReplayWriteResult writeFailed(Ui& ui) {
    ui.message(SAVE_REPLAY_FAILED_MESSAGE, {}, Ui::Icon::Warning);
    return ReplayWriteResult::WriteFailed;
}

}  // namespace

bool writeReplayFile(const std::string& path, const std::string& bytes) { return writeFileAtomically(path, bytes); }

std::string replayFileName(const std::string& chosen) {
    return hasExtension(chosen, ".rpy") ? chosen : chosen + ".rpy";
}

ReplayWriteResult saveReplayLap(const CZodEvadiDoc& doc, Ui& ui, LoadedLapPicker& picker,
                                const ReplayOutput& output) {
    if (doc.loadedLaps() == 0) {
        ui.message(NO_REPLAY_LOADED_MESSAGE);
        return ReplayWriteResult::Refused;
    }
    const auto slotIndex = chooseLoadedLap(doc, picker, CHOOSE_LAP_TITLE);
    if (!slotIndex) return ReplayWriteResult::Cancelled;
    const LapSlot& slot = doc.slot(*slotIndex);
    const std::string suggested = lapFileStem(*slot.drivers, *slot.lap, doc.trackName()) + ".rpy";
    const auto destination = chooseReplayDestination(ui, output, SAVE_LAP_TITLE, joinPath(doc.replayFolder(), suggested));
    if (!destination) return ReplayWriteResult::Cancelled;
    if (refuseSource(ui, *destination, slot.replayPath)) return ReplayWriteResult::Refused;
    const auto bytes = extractedReplay(slot.replayPath, slot.drivers->streamOffset(), slot.lap->streamWindow());
    if (!bytes) {
        ui.message(SAVE_REPLAY_FAILED_MESSAGE, {}, Ui::Icon::Warning);
        return ReplayWriteResult::SourceUnreadable;
    }
    if (!output.write(*destination, *bytes)) return writeFailed(ui);
    if (ui.askYesNo(KEEP_FILE_DATE_QUESTION)) copyFileTimes(slot.replayPath, *destination);
    return ReplayWriteResult::Written;
}

ReplayWriteResult mergeAllLaps(const CZodEvadiDoc& doc, Ui& ui, MergeParametersEditor& dialog,
                               const ReplayOutput& output) {
    if (doc.loadedLaps() == 0) {
        ui.message(NO_REPLAY_LOADED_MESSAGE);
        return ReplayWriteResult::Refused;
    }
    MergeParameters parameters(doc);
    std::vector<double> offsets(parameters.rows().size(), 0.0);
    if (doc.loadedLaps() == 1) {
        ui.message(ONE_LAP_MERGE_MESSAGE);
    } else {
        if (!dialog.edit(parameters)) return ReplayWriteResult::Cancelled;
        const auto edited = parameters.offsets(ui);
        if (!edited) return ReplayWriteResult::Cancelled;
        offsets = *edited;
    }
    const LapSlot& first = doc.slot(parameters.rows().front().slot);
    const std::string trackName = first.header->trackName();
    const auto destination =
        chooseReplayDestination(ui, output, MERGE_TITLE, joinPath(doc.replayFolder(), trackName + "_MOVRN_merged.rpy"));
    if (!destination) return ReplayWriteResult::Cancelled;
    std::vector<MergedLap> laps;
    for (std::size_t i = 0; i < parameters.rows().size(); ++i) {
        const LapSlot& slot = doc.slot(parameters.rows()[i].slot);
        if (refuseSource(ui, *destination, slot.replayPath)) return ReplayWriteResult::Refused;
        laps.push_back({&slot.drivers->driver(slot.driver), slot.lap.get(),
                        slot.drivers->lapWord(slot.driver, slot.session, slot.lapNumber),
                        mergeOffsetFrames(offsets[i])});
    }
    if (!output.write(*destination, mergedReplay(trackName, laps))) return writeFailed(ui);
    return ReplayWriteResult::Written;
}

}  // namespace movrane
