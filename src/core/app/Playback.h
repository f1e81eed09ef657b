#pragma once

#include <cstdint>
#include <string>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/Commands.h"
#include "core/app/LapBar.h"
#include "core/app/RaceReplay.h"

namespace movrane {

class LoadedFileChooser;
class Ui;

// What playback asks of the window around it.
class PlaybackDisplay {
public:
    virtual ~PlaybackDisplay() = default;
    // The 55 ms playback clock.
    virtual void startClock() = 0;
    virtual void stopClock() = 0;
    // Centres the map on a track position, or scrolls it just enough to keep it in view.
    virtual void centreOn(double distance, double lateral) = 0;
    virtual void keepInView(double distance, double lateral) = 0;
    virtual void redraw() = 0;
    // Race mode shows the race bar and hides the lap bar; driving-lines mode the other way.
    virtual void showRaceBar(bool shown) = 0;
};

inline constexpr int PLAYBACK_CLOCK_MS = 55;
inline constexpr const char* NO_TRACKMAP_LINES_MESSAGE = "Realtime plotting of driving lines not available without trackmap!";
inline constexpr const char* CHOOSE_LAPS_MESSAGE = "Choose lap(s) to play!";
inline constexpr const char* NO_TRACKMAP_RACE_MESSAGE = "Realtime race replay not available without trackmap!";

// The heading icon (0 .. 15) of a 16-bit heading of 4096 units a turn: the icon whose
// centre lies within 128 units; -1 when none does.
int headingIcon(int heading);
// "R", "N", "1" .. "6"; other values give their number.
std::string gearText(int gear);
// The speed readout: whole km/h, or x 0.621 truncated again in MPH.
int speedReadout(double kmh, bool mph);
// Hundreds of revs, rounded.
int rpmReadout(double rpm);
// The lap bar's elapsed time at a sample position: "m:ss".
std::string samplesElapsedText(int position);

// Playback on the track map: the driving lines of the ticked laps sample by sample, or the
// race of one replay frame by frame. The commands of the Playback menu and the clock's ticks
// change this state; the display starts and stops the clock and draws.
class Playback {
public:
    Playback(CZodEvadiDoc& doc, LapBar& lapBar, RaceReplay& race, Ui& ui, LoadedFileChooser& chooser,
             PlaybackDisplay& display);

    void startContinue();
    void pause();
    void stop();
    void fastForward();
    void fastReverse();
    void beginningOfLap();
    void moveToEndOfLap();
    void toggleRaceMode();
    // "Toggle lap 1" .. "Toggle lap 5"; false when the command is disabled.
    bool toggleLap(int slot);
    bool toggleLapEnabled(int slot) const;

    // One tick of the playback clock.
    void tick();
    // Jumps to a race frame, as the race bar's slider does.
    void moveToFrame(int frame);
    // After laps were loaded or removed. The race is drawn on the document's track, so race
    // mode ends when the track went with the laps; true when it ended.
    bool documentChanged();

    bool raceMode() const { return raceMode_; }
    bool running() const { return running_; }
    bool fastForwarding() const { return fastForward_; }
    bool fastReversing() const { return fastReverse_; }
    bool paused() const { return paused_; }
    int position() const { return position_; }

private:
    bool mph() const { return doc_.settings().speedUnit != 0; }
    void startClock();
    void stopClock();
    void clearFlags();
    void tickRace();
    void tickLines();
    bool advanceLap(int slot, int64_t elapsedMs);
    void followFocusedLap();
    void followFocusedCar(bool centre);
    void enterRaceMode();
    void leaveRaceMode();

    CZodEvadiDoc& doc_;
    LapBar& lapBar_;
    RaceReplay& race_;
    Ui& ui_;
    LoadedFileChooser& chooser_;
    PlaybackDisplay& display_;
    bool raceMode_ = false;
    bool running_ = false;
    bool fastForward_ = false;
    bool fastReverse_ = false;
    bool paused_ = false;
    int32_t position_ = 0;
};

}  // namespace movrane
