#include "core/app/ReportCommands.h"

#include "core/app/CZodEvadiDoc.h"
#include "core/platform/Ui.h"
#include "core/track/Track.h"

namespace movrane {

namespace {

// The replay of the first loaded lap, read already by the document.
std::unique_ptr<ReportReplay> firstLapReplay(const CZodEvadiDoc& doc) {
    const LapSlot& slot = doc.slot(doc.usedSlots().front());
    return std::make_unique<ReportReplay>(ReportReplay{slot.replayPath, *slot.header, *slot.drivers});
}

std::vector<std::string> lapFiles(const CZodEvadiDoc& doc) {
    std::vector<std::string> files;
    for (int i = 0; i < CZodEvadiDoc::MAX_LAPS; ++i) files.push_back(doc.slot(i).inUse ? doc.slot(i).replayPath : "");
    return files;
}

}  // namespace

ReportLaps reportLapsOf(const CZodEvadiDoc& doc) {
    ReportLaps laps;
    for (int i : doc.usedSlots()) {
        const LapSlot& slot = doc.slot(i);
        laps.laps.push_back({slot.drivers.get(), slot.driver, slot.lapNumber, slot.session, slot.lap.get()});
    }
    laps.lapLength = doc.track() ? doc.track()->lapLength() : 0;
    laps.mph = doc.settings().speedUnit == 1;
    return laps;
}

std::unique_ptr<ReportViewer> openReportViewer(Ui& ui, LoadedFileChooser& chooser, const CZodEvadiDoc& doc,
                                               ReportKind kind) {
    const bool lapLoaded = doc.loadedLaps() > 0;
    std::unique_ptr<ReportReplay> replay;
    if (Report::isLapBased(kind)) {
        if (!lapLoaded) {
            ui.message(NO_LAP_LOADED_MESSAGE);
            return nullptr;
        }
        replay = firstLapReplay(doc);
    } else {
        if (kind == ReportKind::DetailedRace && !lapLoaded) {
            ui.message(DETAILED_NEEDS_LAP_MESSAGE);
            return nullptr;
        }
        replay = chooseReportReplay(ui, chooser, lapFiles(doc), doc.replayFolder());
        if (!replay) return nullptr;
    }
    const DocumentSettings& s = doc.settings();
    return std::make_unique<ReportViewer>(std::move(replay), kind,
                                          ReportPrefs{s.retireInRaceReport, s.offTrackInRaceReport}, reportLapsOf(doc));
}

}  // namespace movrane
