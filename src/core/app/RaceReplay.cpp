#include "core/app/RaceReplay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace movrane {

namespace {

// Twenty colours that stand apart from each other and from the track's greys and greens.
constexpr std::array<Colour, 20> CAR_COLOURS = {{
    {230, 25, 75},   {0, 130, 200},   {245, 130, 48},  {145, 30, 180},  {240, 50, 230},
    {0, 0, 128},     {170, 110, 40},  {128, 0, 0},     {255, 225, 25},  {70, 240, 240},
    {250, 190, 212}, {220, 190, 255}, {128, 128, 0},   {255, 215, 180}, {0, 128, 128},
    {60, 180, 75},   {90, 0, 90}, {170, 255, 195}, {210, 245, 60},  {0, 0, 0},
}};

constexpr std::array<MetrePoint, 37> CAR_OUTLINE = {{
    {0.15, -1.5},  {0.25, -0.73},  {0.44, -0.73},  {0.44, -0.96},  {0.71, -0.96},  {0.71, -0.44},
    {0.44, -0.44}, {0.44, -0.67},  {0.25, -0.67},  {0.25, 1.16},   {0.43, 1.16},   {0.43, 0.94},
    {0.75, 0.94},  {0.75, 1.46},   {0.43, 1.46},   {0.43, 1.23},   {0.25, 1.23},   {0.25, 1.5},
    {-0.25, 1.5},  {-0.25, 1.23},  {-0.43, 1.23},  {-0.43, 1.46},  {-0.75, 1.46},  {-0.75, 0.94},
    {-0.43, 0.94}, {-0.43, 1.16},  {-0.25, 1.16},  {-0.25, -0.67}, {-0.44, -0.67}, {-0.44, -0.44},
    {-0.72, -0.44}, {-0.72, -0.96}, {-0.44, -0.96}, {-0.44, -0.73}, {-0.25, -0.73}, {-0.15, -1.5},
    {0.15, -1.5},
}};

}  // namespace

Colour raceCarColour(uint32_t driver) { return CAR_COLOURS[driver % CAR_COLOURS.size()]; }

std::vector<MetrePoint> carOutline(double heading, CarDrawing drawing) {
    const double a = heading * std::numbers::pi / 180 - std::numbers::pi / 2;
    const double factor = drawing == CarDrawing::Oversized ? 2.0 : 1.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    std::vector<MetrePoint> points;
    points.reserve(CAR_OUTLINE.size());
    for (const MetrePoint& p : CAR_OUTLINE)
        points.push_back({(p.x * c - p.y * s) * factor, -(p.x * s + p.y * c) * factor});
    return points;
}

bool RaceReplay::load(const std::string& path, const Header& header, const Drivers& drivers, Ui& ui) {
    clear();
    drivers_ = drivers;
    // A race that cannot be read leaves the bar empty: no drivers to choose from.
    if (timeline_.load(path, header, drivers, ui) == 0) return false;
    for (uint32_t d = 0; d < drivers.count(); ++d) driverList_.push_back(raceDriverLabel(drivers, d));
    return showFrame(0);
}

void RaceReplay::clear() {
    timeline_ = RaceTimeline();
    drivers_ = Drivers();
    driverList_.clear();
    texts_ = RaceFrameTexts();
    cars_.clear();
    frame_ = 0;
    focusedDriver_ = 0;
}

bool RaceReplay::showFrame(int k) {
    if (!loaded() || k < 0 || static_cast<uint32_t>(k) >= frameCount()) return false;
    frame_ = static_cast<uint32_t>(k);
    cars_ = timeline_.carsOnTrack(frame_);
    const bool driverTexts = focus_ == PlaybackFocus::Driver && focusedDriver_ < timeline_.driverCount();
    texts_ = raceFrameTexts(timeline_, drivers_, frame_, driverTexts ? std::optional(focusedDriver_) : std::nullopt);
    return true;
}

void RaceReplay::setFocus(PlaybackFocus focus) {
    focus_ = focus;
    if (loaded()) showFrame(static_cast<int>(frame_));
}

void RaceReplay::chooseDriver(uint32_t driver) {
    if (driver >= driverList_.size()) return;
    focusedDriver_ = driver;
    setFocus(PlaybackFocus::Driver);
}

void RaceReplay::stepDriver(int direction) {
    if (cars_.empty()) return;
    const auto at = std::find_if(cars_.begin(), cars_.end(), [this](const RaceCar& c) { return c.driver == focusedDriver_; });
    if (at == cars_.end()) {
        chooseDriver(cars_.front().driver);
        return;
    }
    const auto count = static_cast<long>(cars_.size());
    const long index = ((at - cars_.begin()) + direction + count) % count;
    chooseDriver(cars_[static_cast<std::size_t>(index)].driver);
}

void RaceReplay::previousDriver() { stepDriver(-1); }
void RaceReplay::nextDriver() { stepDriver(1); }

void RaceReplay::closestFight() {
    std::optional<std::size_t> behind;
    double smallest = 0;
    for (std::size_t i = 1; i < cars_.size(); ++i) {
        const double gap = cars_[i - 1].distance - cars_[i].distance;
        if (!behind || gap < smallest) {
            behind = i;
            smallest = gap;
        }
    }
    if (behind) chooseDriver(cars_[*behind].driver);
}

std::optional<uint32_t> RaceReplay::leaderNow() const {
    if (!loaded()) return std::nullopt;
    const int laps = timeline_.leaderLapsBefore(timeline_.time(frame_));
    if (laps > 0) return timeline_.leader(std::min(laps + 1, timeline_.raceLaps()));
    if (!cars_.empty()) return cars_.front().driver;
    return std::nullopt;
}

std::optional<RaceCar> RaceReplay::followedCar() const {
    std::optional<uint32_t> driver;
    if (focus_ == PlaybackFocus::Leader) driver = leaderNow();
    else if (focus_ == PlaybackFocus::Driver) driver = focusedDriver_;
    if (!driver) return std::nullopt;
    for (const RaceCar& car : cars_)
        if (car.driver == *driver) return car;
    return std::nullopt;
}

}  // namespace movrane
