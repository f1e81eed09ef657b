#pragma once

#include <array>
#include <string>

#include "core/app/CZodEvadiDoc.h"

namespace movrane {

// What one lap check box of the lap bar shows.
struct LapBoxState {
    bool enabled = false;
    bool checked = false;
    std::string label;
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

    // Playback puts the bar into its playing state (running or paused) and back.
    void setPlaying(bool playing) { playing_ = playing; }
    bool playing() const { return playing_; }

    bool toggleEnabled(int slot) const;
    LapBoxState box(int slot) const;
    // Ticks or unticks the slot's box, which shows or hides the lap's line on the map.
    // False when the box cannot be used.
    bool toggle(int slot);

    // "Toggle lap 1" .. "Toggle lap 5".
    static std::string toggleCommandText(int slot);

private:
    CZodEvadiDoc& doc_;
    bool playing_ = false;
};

}  // namespace movrane
