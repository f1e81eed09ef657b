#include "core/app/Playback.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "core/app/Commands.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/reports/ReportReplayChoice.h"

namespace movrane {

namespace {

constexpr int NORMAL_STEP = 2;
constexpr int FAST_STEP = 4;
constexpr int FIRST_LINE_SAMPLE = 2;
constexpr int ICON_REACH = 128;

struct IconCentre {
    int centre;
    int icon;
};
// Icon i sits at 1024 - 256 i for i = 0 .. 12; icons 13 .. 15 at 1792, 1536, 1280; icon 12
// also at 2048, the same direction as -2048.
constexpr std::array<IconCentre, 17> ICON_CENTRES = {{{1024, 0}, {768, 1}, {512, 2}, {256, 3}, {0, 4}, {-256, 5},
                                                      {-512, 6}, {-768, 7}, {-1024, 8}, {-1280, 9}, {-1536, 10},
                                                      {-1792, 11}, {-2048, 12}, {2048, 12}, {1792, 13}, {1536, 14},
                                                      {1280, 15}}};

bool hasPosition(const LapSample& s) { return s.distance != 0.0 || s.lateral != 0.0; }

}  // namespace

int headingIcon(int heading) {
    for (const IconCentre& c : ICON_CENTRES)
        if (std::abs(heading - c.centre) <= ICON_REACH) return c.icon;
    return -1;
}

std::string gearText(int gear) {
    if (gear == -1) return "R";
    if (gear == 0) return "N";
    return std::to_string(gear);
}

int speedReadout(double kmh, bool mph) {
    const int whole = static_cast<int>(kmh);
    return mph ? static_cast<int>(whole * 0.621) : whole;
}

int rpmReadout(double rpm) { return static_cast<int>(static_cast<int>(rpm) * 0.01 + 0.5); }

std::string samplesElapsedText(int position) {
    const int seconds = position / 36;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
    return text;
}

Playback::Playback(CZodEvadiDoc& doc, LapBar& lapBar, RaceReplay& race, Ui& ui, LoadedFileChooser& chooser,
                   PlaybackDisplay& display)
    : doc_(doc), lapBar_(lapBar), race_(race), ui_(ui), chooser_(chooser), display_(display) {}

void Playback::startClock() {
    if (running_) return;
    running_ = true;
    display_.startClock();
}

void Playback::stopClock() {
    if (!running_) return;
    running_ = false;
    display_.stopClock();
}

void Playback::clearFlags() { fastForward_ = fastReverse_ = paused_ = false; }

void Playback::startContinue() {
    if (raceMode_) {
        if (running_) {
            clearFlags();
            return;
        }
        if (!paused_ && !fastForward_ && !fastReverse_) followFocusedCar(true);
        paused_ = false;
        startClock();
        return;
    }
    if (!doc_.trackFound()) {
        ui_.message(NO_TRACKMAP_LINES_MESSAGE);
        return;
    }
    if (running_) {
        fastForward_ = paused_ = false;
        return;
    }
    int first = -1;
    for (const int slot : doc_.usedSlots())
        if (doc_.slot(slot).shown && first < 0) first = slot;
    if (first < 0) {
        ui_.message(CHOOSE_LAPS_MESSAGE);
        return;
    }
    if (!lapBar_.playing()) lapBar_.setPlaying(true);
    startClock();
    if (!paused_ && !fastForward_) {
        const GetRpyInfo& lap = *doc_.slot(first).lap;
        if (lap.sampleCount() > FIRST_LINE_SAMPLE) {
            const LapSample& start = lap.sample(FIRST_LINE_SAMPLE);
            display_.centreOn(start.distance, start.lateral);
        }
        display_.redraw();
    }
    paused_ = false;
}

void Playback::pause() {
    stopClock();
    paused_ = true;
    fastForward_ = false;
    if (raceMode_) fastReverse_ = false;
}

void Playback::stop() {
    stopClock();
    clearFlags();
    if (!raceMode_) {
        lapBar_.setPlaying(false);
        position_ = 0;
    }
    display_.redraw();
}

void Playback::fastForward() {
    fastForward_ = true;
    fastReverse_ = paused_ = false;
    if (!raceMode_ && !lapBar_.playing()) lapBar_.setPlaying(true);
    startClock();
}

void Playback::fastReverse() {
    if (!raceMode_) return;
    fastReverse_ = true;
    fastForward_ = paused_ = false;
    startClock();
}

void Playback::beginningOfLap() {
    if (!running_) return;
    position_ = 0;
    if (raceMode_) clearFlags();
    else display_.redraw();
}

void Playback::moveToEndOfLap() {
    if (!raceMode_ && running_) stopClock();
}

// The menu command follows the clock, not the lap bar: after "Move to end of lap" the bar
// keeps its playing state (boxes disabled) while the laps can be ticked from the menu.
bool Playback::toggleLapEnabled(int slot) const {
    return !raceMode_ && !running_ && !paused_ && lapBar_.holdsLap(slot);
}

bool Playback::toggleLap(int slot) {
    if (!toggleLapEnabled(slot)) return false;
    lapBar_.flipShown(slot);
    display_.redraw();
    return true;
}

void Playback::toggleRaceMode() {
    if (raceMode_) leaveRaceMode();
    else enterRaceMode();
}

void Playback::enterRaceMode() {
    if (running_) {
        stopClock();
        lapBar_.setPlaying(false);
        position_ = 0;
    }
    std::vector<std::string> lapFiles;
    for (int i = 0; i < CZodEvadiDoc::MAX_LAPS; ++i)
        lapFiles.push_back(doc_.slot(i).inUse ? doc_.slot(i).replayPath : std::string());
    if (!requireLoadedLap(ui_, doc_)) return;
    const std::optional<std::string> path = chooseLoadedReplay(chooser_, lapFiles);
    if (!path) return;
    const LapSlot* chosen = nullptr;
    for (const int slot : doc_.usedSlots())
        if (doc_.slot(slot).replayPath == *path && !chosen) chosen = &doc_.slot(slot);
    if (!chosen || !chosen->drivers->racePresent() || chosen->drivers->raceSessionId() == 0) {
        ui_.message(NO_RACE_INFO_MESSAGE);
        return;
    }
    if (!doc_.trackFound()) {
        ui_.message(NO_TRACKMAP_RACE_MESSAGE, {}, Ui::Icon::Warning);
        return;
    }
    clearFlags();
    position_ = 0;
    raceMode_ = true;
    lapBar_.setPlaying(false);
    lapBar_.setRaceMode(true);
    display_.showRaceBar(true);
    race_.load(*path, *chosen->header, *chosen->drivers, ui_);
    display_.redraw();
}

void Playback::leaveRaceMode() {
    stopClock();
    clearFlags();
    position_ = 0;
    raceMode_ = false;
    lapBar_.setRaceMode(false);
    race_.clear();
    display_.showRaceBar(false);
    display_.redraw();
}

bool Playback::documentChanged() {
    if (!raceMode_ || doc_.trackFound()) return false;
    leaveRaceMode();
    return true;
}

void Playback::tick() {
    if (raceMode_) tickRace();
    else tickLines();
}

void Playback::moveToFrame(int frame) {
    if (!raceMode_ || !race_.showFrame(frame)) return;
    position_ = frame;
    followFocusedCar(false);
    display_.redraw();
}

void Playback::tickRace() {
    if (fastForward_) position_ += FAST_STEP;
    else if (fastReverse_) position_ -= FAST_STEP;
    else if (running_) position_ += NORMAL_STEP;
    const int last = static_cast<int>(race_.frameCount()) - 1;
    if (position_ > last) position_ = last;
    if (position_ < 0) position_ = 0;
    if (!race_.showFrame(position_)) return;
    followFocusedCar(false);
    display_.redraw();
}

bool Playback::advanceLap(int slot, int64_t elapsedMs) {
    LapSlot& lapSlot = doc_.slot(slot);
    if (!lapSlot.inUse || !lapSlot.shown || !lapSlot.lap) return false;
    const GetRpyInfo& lap = *lapSlot.lap;
    if (position_ >= lap.sampleCount() - 1) return false;
    const LapSample& s = lap.sample(position_);
    LapReadout& readout = lapBar_.readout(slot);
    readout.speed = std::to_string(speedReadout(s.speed, mph()));
    readout.gear = gearText(s.gear);
    readout.rpm = std::to_string(rpmReadout(s.engineSpeed));
    // A split of 0 was never passed, so its marker stays hidden.
    for (std::size_t i = 0; i < lap.splitTimes.size(); ++i)
        if (lap.splitTimes[i] > 0 && lap.splitTimes[i] < elapsedMs) readout.splitShown[i] = true;
    if (position_ == FIRST_LINE_SAMPLE) lapSlot.line = MapLineState{true, {}, lapSlot.colour};
    readout.headingIcon = headingIcon(s.orientation);
    return true;
}

void Playback::tickLines() {
    position_ += fastForward_ ? FAST_STEP : NORMAL_STEP;
    lapBar_.elapsedText = samplesElapsedText(position_);
    const int64_t elapsedMs = (static_cast<int64_t>(position_) * 1000 - 1000) / 36;
    bool advanced = false;
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) advanced = advanceLap(slot, elapsedMs) || advanced;
    if (!advanced) {
        stopClock();
        lapBar_.setPlaying(false);
        position_ = 0;
        clearFlags();
        display_.redraw();
        return;
    }
    followFocusedLap();
    display_.redraw();
}

void Playback::followFocusedLap() {
    const GetRpyInfo* followed = nullptr;
    if (lapBar_.focus == PlaybackFocus::Leader) {
        for (const int slot : doc_.usedSlots()) {
            const LapSlot& s = doc_.slot(slot);
            if (!s.shown || !s.lap || position_ >= s.lap->sampleCount() - 1) continue;
            if (!followed || s.lap->sample(position_).distance > followed->sample(position_).distance) followed = s.lap.get();
        }
    } else if (lapBar_.focus == PlaybackFocus::Driver) {
        const int slot = lapBar_.focusSlot;
        if (slot >= 0 && slot < CZodEvadiDoc::MAX_LAPS && doc_.slot(slot).inUse && doc_.slot(slot).lap &&
            position_ < doc_.slot(slot).lap->sampleCount() - 1)
            followed = doc_.slot(slot).lap.get();
    }
    if (!followed) return;
    const LapSample& s = followed->sample(position_);
    if (hasPosition(s)) display_.keepInView(s.distance, s.lateral);
}

void Playback::followFocusedCar(bool centre) {
    const std::optional<RaceCar> car = race_.followedCar();
    if (!car) return;
    if (centre) display_.centreOn(car->distance, car->lateral);
    else display_.keepInView(car->distance, car->lateral);
}

}  // namespace movrane
