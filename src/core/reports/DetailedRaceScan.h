#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/CarStates.h"
#include "core/reports/FrameCars.h"
#include "core/reports/MechanicalScan.h"
#include "core/reports/ReportData.h"

namespace movrane {

// The detailed race report: replays the race's record stream and tells it second by
// second: the start, overtakes, disconnects, retirements and parc ferme, resets to the
// pits seen in the cars' movement, the leader's laps and the mechanical events.
class DetailedRaceScan {
public:
    using Append = std::function<void(const std::string&)>;

    // lapLength: the track's lap length in metres.
    DetailedRaceScan(const ReportData& data, CarStateTable& carStates, double lapLength, Append append);

    void run();

private:
    static constexpr uint32_t UNSET = FrameCars::NOT_SEEN;

    // What every frame updates of every car, by driver, side by side: the pass over the
    // field at the end of each frame works on whole vectors. Flags are 0 or 1.
    struct Motion {
        std::array<uint32_t, MAX_SLOTS> position;  // raw lap position, UNSET until the car is seen
        std::array<uint32_t, MAX_SLOTS> previousPosition;
        std::array<int32_t, MAX_SLOTS> lateral{}, previousLateral{};
        std::array<int32_t, MAX_SLOTS> moved{}, previousMoved{};  // raw units in the frame, 0 unless seen in both
        std::array<int32_t, MAX_SLOTS> gear{};
        std::array<int32_t, MAX_SLOTS> seen{}, seenBefore{}, disconnected{}, inRace{};
        std::array<int32_t, MAX_SLOTS> eventPossible{};
        Motion() {
            position.fill(UNSET);
            previousPosition.fill(UNSET);
        }
    };

    struct Car {
        int laps = -1;
        int lapsAtPreviousStamp = -1;
        double distance = 0;
        std::optional<std::size_t> place;  // 0-based, in the order of the current stamp
        std::optional<std::size_t> previousPlace;
        bool retired = false;
        std::optional<uint32_t> lastReset;
        int resets = 0;
        uint64_t finish = 0;  // F: cumulative race time at the end of the last recorded lap
        std::vector<uint64_t> cumulative;  // C(d, L) for L = 0 .. its race laps
        std::vector<uint64_t> earliestFrom;  // the smallest C(d, L') of the laps L' >= L
    };

    void walkStream(class BufferedFile& file);
    void raceStatusItem(const StreamItem& item, const uint8_t* payload);
    void timeStampItem(const StreamItem& item, const uint8_t* payload, uint64_t framesRead);
    void takeCars();
    bool fieldComplete() const;
    void countLaps();
    void placeCars();
    void reportOvertakes();
    void overtake(uint32_t d, uint32_t w);
    void endOfFrame();
    void carEvents(uint32_t d, bool jumped);
    void timeLine(const std::string& text);
    std::string name(uint32_t d) const { return data_.name(d); }

    const ReportData& data_;
    CarStateTable& carStates_;
    double lapLength_;
    Append append_;
    MechanicalScan mechanical_;
    FrameCars cars_;
    std::vector<Car> field_;
    Motion motion_;
    uint64_t winnerFinish_ = 0;  // TW
    uint64_t lastFinish_ = 0;    // TL
    uint32_t now_ = 0;
    bool raceFound_ = false;
    bool fieldOnGrid_ = false;
    bool allCrossed_ = false;
    uint32_t previousStatus_ = 0;
};

}  // namespace movrane
