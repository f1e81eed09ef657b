#include "core/app/LapBar.h"

#include "core/app/DocumentExports.h"
#include "core/platform/Paths.h"

namespace movrane {

namespace {
bool validSlot(int slot) { return slot >= 0 && slot < CZodEvadiDoc::MAX_LAPS; }
}  // namespace

std::string lapBoxLabel(const CZodEvadiDoc& doc, int slot) {
    return doc.slot(slot).inUse ? loadedLapLabel(doc, slot) : "Lap " + std::to_string(slot + 1) + ": none loaded";
}

bool LapBar::holdsLap(int slot) const { return validSlot(slot) && doc_.slot(slot).inUse; }

bool LapBar::toggleEnabled(int slot) const { return holdsLap(slot) && !playing_ && !raceMode_; }

void LapBar::setPlaying(bool playing) {
    playing_ = playing;
    readouts_.fill(LapReadout{});
    elapsedText = playing ? "0:00" : "";
}

bool LapBar::readoutShown(int slot) const {
    return playing_ && holdsLap(slot) && doc_.slot(slot).shown;
}

bool LapBar::splitMarkerShown(int slot, int split) const {
    if (!playing_) return true;
    return validSlot(slot) && split >= 0 && split < 3 && readout(slot).splitShown[static_cast<std::size_t>(split)];
}

LapBoxState LapBar::box(int slot) const {
    LapBoxState state;
    if (!validSlot(slot)) return state;
    const LapSlot& lap = doc_.slot(slot);
    state.enabled = toggleEnabled(slot);
    state.checked = lap.inUse && lap.shown;
    state.colour = lap.colour;
    state.label = lapBoxLabel(doc_, slot);
    if (lap.inUse) state.replayFileName = afterLastSeparator(lap.replayPath);
    return state;
}

bool LapBar::toggle(int slot) {
    if (!toggleEnabled(slot)) return false;
    flipShown(slot);
    return true;
}

void LapBar::flipShown(int slot) {
    LapSlot& lap = doc_.slot(slot);
    lap.shown = !lap.shown;
}

std::string LapBar::toggleCommandText(int slot) { return "Toggle lap " + std::to_string(slot + 1); }

}  // namespace movrane
