#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/LapBar.h"
#include "core/replay/Drivers.h"
#include "core/replay/RaceTimeline.h"
#include "core/track/MapGeometry.h"

namespace movrane {

class Header;
class Ui;

// How the race bar draws the cars on the map.
enum class CarDrawing { ToScale, Oversized, Circles };
inline constexpr const char* CAR_DRAWING_TEXTS[] = {"According to scale", "Oversized (200%)", "As circles (fixed size)"};
inline constexpr const char* RACE_FOCUS_TEXTS[] = {"Focus Leader", "Manual", "Focus Driver:"};

// The colour of a driver's car on the map.
Colour raceCarColour(uint32_t driver);

// The race bar: a replay's race frame by frame, its texts, the focus on a driver and how
// the cars are drawn. The slider runs over 0 .. K - 1 and pages by one minute of frames.
class RaceReplay {
public:
    static constexpr int PAGE_FRAMES = 2160;

    // Reads the race of the replay; false when it cannot be read (the bar then shows why
    // and stays empty).
    bool load(const std::string& path, const Header& header, const Drivers& drivers, Ui& ui);
    void clear();

    bool loaded() const { return timeline_.frameCount() > 0; }
    const RaceTimeline& timeline() const { return timeline_; }
    uint32_t frameCount() const { return timeline_.frameCount(); }
    const std::string& failureText() const { return timeline_.failureText(); }

    // Shows frame k: its texts and cars. False when no race is loaded.
    bool showFrame(int k);
    uint32_t frame() const { return frame_; }
    const RaceFrameTexts& texts() const { return texts_; }
    // The cars of the shown frame, in the order on track.
    const std::vector<RaceCar>& cars() const { return cars_; }

    // The driver list of "Focus Driver:": first letter of the first name, the last name and
    // the car make.
    const std::vector<std::string>& driverList() const { return driverList_; }
    PlaybackFocus focus() const { return focus_; }
    void setFocus(PlaybackFocus focus);
    uint32_t focusedDriver() const { return focusedDriver_; }
    void chooseDriver(uint32_t driver);
    // "Prev. Driver" / "Next Driver": the car ahead of or behind the focused one on track.
    void previousDriver();
    void nextDriver();
    // "Go to closest fight on track": the focus moves to the car that is nearest behind
    // another car on the same stretch of track (the smallest distance between neighbours in
    // the order on track); ties go to the pair nearer the front.
    void closestFight();
    // The car the map keeps in view: the leader, the chosen driver; none for "Manual" or
    // when that car is not on track in the shown frame.
    std::optional<RaceCar> followedCar() const;

    CarDrawing carDrawing = CarDrawing::ToScale;

private:
    void stepDriver(int direction);
    std::optional<uint32_t> leaderNow() const;

    Drivers drivers_;
    RaceTimeline timeline_;
    uint32_t frame_ = 0;
    RaceFrameTexts texts_;
    std::vector<RaceCar> cars_;
    std::vector<std::string> driverList_;
    PlaybackFocus focus_ = PlaybackFocus::Leader;
    uint32_t focusedDriver_ = 0;
};

// The outline of a car in metres around its point: 37 points, 1.5 m wide and 3 m long with
// four wheels, turned by heading x pi / 180 - pi / 2 as on the screen and doubled for
// "Oversized (200%)". Map y points up where screen y points down, so the turned outline's y
// is negated.
std::vector<MetrePoint> carOutline(double heading, CarDrawing drawing);

}  // namespace movrane
