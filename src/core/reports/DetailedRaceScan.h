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
    static constexpr uint32_t UNSET = 0xFFFFFFFF;

    struct Car {
        uint32_t position = UNSET;  // raw lap position, UNSET until the car is seen
        int32_t lateral = 0;
        int gear = 0;
        bool seen = false;
        bool seenBefore = false;
        uint32_t previousPosition = UNSET;
        int32_t previousLateral = 0;
        int64_t moved = 0;
        int64_t previousMoved = 0;
        int laps = -1;
        int lapsAtPreviousStamp = -1;
        double distance = 0;
        std::optional<std::size_t> place;  // 0-based, in the order of the current stamp
        std::optional<std::size_t> previousPlace;
        bool disconnected = false;
        bool retired = false;
        std::optional<uint32_t> lastReset;
        int resets = 0;
        uint64_t finish = 0;  // F: cumulative race time at the end of the last recorded lap
        bool inRace = false;  // has a race entry
    };

    void walkStream(class BufferedFile& file);
    void raceStatusItem(class FrameWalker& walker);
    void timeStampItem(class FrameWalker& walker, uint64_t framesRead);
    void takeCars();
    bool fieldComplete() const;
    void countLaps();
    void placeCars();
    void reportOvertakes();
    void overtake(uint32_t d, uint32_t w);
    void endOfFrame();
    void timeLine(const std::string& text);
    std::string name(uint32_t d) const { return data_.name(d); }

    const ReportData& data_;
    CarStateTable& carStates_;
    double lapLength_;
    Append append_;
    MechanicalScan mechanical_;
    FrameCars cars_;
    std::vector<Car> field_;
    uint64_t winnerFinish_ = 0;  // TW
    uint64_t lastFinish_ = 0;    // TL
    uint32_t now_ = 0;
    bool raceFound_ = false;
    bool fieldOnGrid_ = false;
    bool allCrossed_ = false;
    uint32_t previousStatus_ = 0;
};

}  // namespace movrane
