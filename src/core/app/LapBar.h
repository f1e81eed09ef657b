#pragma once

#include <array>
#include <string>

#include "core/app/CZodEvadiDoc.h"

namespace movrane {

// What the view follows while it plays: the leading car or lap, nothing (the person scrolls
// the map), or the one chosen in the bar's list.
enum class PlaybackFocus { Leader, Manual, Driver };

// The readouts of one lap while it plays: speed, revs in hundreds, gear, the heading icon
// (-1 none) and which of the "25%", "50%", "75%" split markers are shown.
struct LapReadout {
    std::string speed;
    std::string rpm;
    std::string gear;
    int headingIcon = -1;
    std::array<bool, 3> splitShown{};
};

// What one lap check box of the lap bar shows.
struct LapBoxState {
    bool enabled = false;
    bool checked = false;
    std::string label;
    std::string replayFileName;  // of the lap's replay, shown as the box's tooltip; empty without a lap
    Colour colour{};
};

// The label of a slot's lap box: the loaded lap's label, or that the slot is empty.
std::string lapBoxLabel(const CZodEvadiDoc& doc, int slot);

// The static part of the lap bar: one check box per lap slot in the slot's colour with
// the lap's label. A box (and the "Toggle lap" command of its slot) can be used only while
// its slot holds a lap and playback is neither running nor paused.
class LapBar {
public:
    explicit LapBar(CZodEvadiDoc& doc) : doc_(doc) {}

    // Playback puts the bar into its playing state (running or paused) and back. Playing:
    // the boxes are disabled, the split markers hidden and the readouts of the ticked laps
    // shown; stopped: the boxes enabled, the readouts hidden and every split marker shown.
    void setPlaying(bool playing);
    bool playing() const { return playing_; }
    // While the race is replayed the lap boxes cannot be used.
    void setRaceMode(bool raceMode) { raceMode_ = raceMode; }

    bool readoutShown(int slot) const;
    std::vector<int> loadedSlots() const { return doc_.usedSlots(); }
    const char* speedUnitText() const { return doc_.settings().speedUnit != 0 ? "mph" : "km/h"; }
    LapReadout& readout(int slot) { return readouts_.at(static_cast<std::size_t>(slot)); }
    const LapReadout& readout(int slot) const { return readouts_.at(static_cast<std::size_t>(slot)); }
    bool splitMarkerShown(int slot, int split) const;
    // The elapsed time of playback, "m:ss"; empty while stopped.
    std::string elapsedText;

    PlaybackFocus focus = PlaybackFocus::Leader;
    int focusSlot = 0;  // the lap "Focus Driver:" follows

    // The slot is one of the five and holds a lap.
    bool holdsLap(int slot) const;
    bool toggleEnabled(int slot) const;
    LapBoxState box(int slot) const;
    // Ticks or unticks the slot's box, which shows or hides the lap's line on the map.
    // False when the box cannot be used.
    bool toggle(int slot);
    // Shows or hides the line of the lap in a slot that holds one, whatever the box's state
    // (the menu's "Toggle lap" commands).
    void flipShown(int slot);

    // "Toggle lap 1" .. "Toggle lap 5".
    static std::string toggleCommandText(int slot);

private:
    CZodEvadiDoc& doc_;
    bool playing_ = false;
    bool raceMode_ = false;
    std::array<LapReadout, CZodEvadiDoc::MAX_LAPS> readouts_{};
};

}  // namespace movrane
