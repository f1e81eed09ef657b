#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace movrane {

class Drivers;
class Header;
class Ui;

// Race status words of the type-9 items and the codes the race bar shows for them.
constexpr uint16_t NO_STATUS_WORD = 65535;  // the frame held no status item
constexpr uint16_t CHEQUERED_BITS = 0x34;
constexpr uint8_t STATUS_CHEQUERED = 8;

// The display code that follows `previousCode` when the status word changes from
// `previousWord` to `word`: 12 -> 1, 32 -> 2, 40 -> 3, 4 -> 4, a word that newly has every
// bit of 0x34 -> 8; any other word keeps the code.
uint8_t nextStatusCode(uint8_t previousCode, uint16_t previousWord, uint16_t word);
// "Cars lining up" .. "Chequered flag waved"; "" for code 0 and unknown codes.
const char* raceStatusText(uint8_t code);
inline constexpr const char* ALL_CARS_FINISHED_TEXT = "All cars finished";

// One car in one race frame.
struct RaceCar {
    uint32_t driver = 0;  // position in the driver list
    double distance = 0;  // metres along the lap
    double lateral = 0;   // metres, positive to the left
    double heading = 0;   // degrees
};

// The race of a replay, frame by frame: session time, race status and where every car is,
// with the lap crossing times of the race lap table. Per car and frame it keeps the raw lap
// position with the present flag, the lateral offset as a float and the 12-bit orientation,
// ten bytes, so a full race of 20 cars and 200,000 frames stays near 40 MB.
class RaceTimeline {
public:
    inline static constexpr const char* SEARCHING_TEXT = "Searching for start of race...";
    inline static constexpr const char* LOADING_TEXT = "Loading race information...";
    static constexpr int PROGRESS_STEP = 360;  // frames between progress updates

    // Reads the race of the replay; the number of frames K, or 0 when the race cannot be
    // read (failureText() says why).
    uint32_t load(const std::string& path, const Header& header, const Drivers& drivers, Ui& ui);

    uint32_t frameCount() const { return static_cast<uint32_t>(times_.size()); }
    const std::string& failureText() const { return failure_; }
    uint16_t scheduledLaps() const { return scheduledLaps_; }
    uint32_t driverCount() const { return static_cast<uint32_t>(cars_.size()); }

    uint32_t time(uint32_t k) const { return times_.at(k); }
    uint8_t statusCode(uint32_t k) const { return codes_.at(k); }
    bool present(uint32_t k, uint32_t driver) const;
    RaceCar car(uint32_t k, uint32_t driver) const;
    // Every car of the frame, furthest along the lap first (ties in driver order); a car
    // not present counts as standing at distance 0.
    std::vector<uint32_t> orderOnTrack(uint32_t k) const;
    // The cars present in the frame, in the order on track.
    std::vector<RaceCar> carsOnTrack(uint32_t k) const;

    // Race laps of a driver in the lap table; 0 without an entry.
    int laps(uint32_t driver) const;
    bool hasLapEntry(uint32_t driver) const { return driver < crossings_.size() && !crossings_[driver].empty(); }
    // Session time at which the driver completed lap L (1 .. laps), or the base time for L = 0.
    uint64_t crossingTime(uint32_t driver, int lap) const { return crossings_.at(driver).at(static_cast<std::size_t>(lap)); }
    // The largest lap count of the race.
    int raceLaps() const { return static_cast<int>(leaderTimes_.size()); }
    uint64_t leaderTime(int lap) const { return leaderTimes_.at(static_cast<std::size_t>(lap - 1)); }
    uint32_t leader(int lap) const { return leaders_.at(static_cast<std::size_t>(lap - 1)); }
    // When the last car took its last lap; nothing when no driver has a lap entry.
    std::optional<uint64_t> finishTime() const { return finishTime_; }

    // Laps the leader had completed before the frame's time.
    int leaderLapsBefore(uint32_t time) const;
    // Laps the driver had completed before the frame's time.
    int lapsBefore(uint32_t driver, uint32_t time) const;

private:
    struct CarTrack {
        std::vector<uint32_t> position;  // bit 31 present, bits 0..25 the raw lap position
        std::vector<float> lateral;
        std::vector<int16_t> orientation;
    };

    void reset();
    uint32_t fail(const std::string& text);
    bool readFrames(const std::string& path, const Drivers& drivers, uint64_t startFrame, Ui& ui,
                    std::vector<uint16_t>& statusWords);
    void fillGaps(std::vector<uint16_t>& statusWords);
    void deriveStatusCodes(const std::vector<uint16_t>& statusWords);
    void computeCrossings(const Drivers& drivers);

    std::string failure_;
    uint16_t scheduledLaps_ = 0;
    std::vector<uint32_t> times_;
    std::vector<uint8_t> codes_;
    std::vector<CarTrack> cars_;
    std::vector<std::vector<uint64_t>> crossings_;  // per driver: base time, then lap ends
    std::vector<uint64_t> leaderTimes_;
    std::vector<uint32_t> leaders_;
    std::optional<uint64_t> finishTime_;
};

// The texts the race bar shows for a frame; empty where it shows nothing.
struct RaceFrameTexts {
    std::string status;
    std::string elapsed;
    std::string currentLap;
    std::string leader;
    std::string position;
    std::string lap;
    std::string gapAhead;
    std::string gapBehind;
    std::string lastLap;
};

// How the race bar names a driver: "J. Smith (Lotus)".
std::string raceDriverLabel(const Drivers& drivers, uint32_t driver);
// "m:ss" of a session time rounded to whole seconds.
std::string elapsedText(uint32_t timeMs);
// A gap between two crossings: "+0.512s", "+1m 02.345s".
std::string gapText(uint64_t milliseconds);
// The texts of frame k; `focused` is the driver the bar follows (none: no driver texts).
RaceFrameTexts raceFrameTexts(const RaceTimeline& timeline, const Drivers& drivers, uint32_t k,
                              std::optional<uint32_t> focused);

}  // namespace movrane
