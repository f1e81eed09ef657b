#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/reports/CarStates.h"
#include "core/reports/ReportData.h"

namespace movrane {

class BufferedFile;
struct StreamItem;

// The opening lines every scanning report writes, then the replay opened for its scan;
// false, after "Error opening file!", when it cannot be opened.
bool beginReplayScan(const std::function<void(const std::string&)>& append, const std::string& replayPath,
                     BufferedFile& file);

// The mechanical scan: walks the record stream of the replay and reports every change of
// the cars' condition bytes during the race, the leader's lap starts, and retirements with
// their reasons. It fills the car state table whose retirement codes the race report shows.
class MechanicalScan {
public:
    using Append = std::function<void(const std::string&)>;

    MechanicalScan(const ReportData& data, CarStateTable& carStates, Append append);

    void run();
    // The detection step for one changed condition byte of the car in `slot`.
    void reportChange(int byteIndex, uint8_t value, uint32_t slot);

    // The steps of the scan that the detailed race report shares.
    // A car condition item: its changes are reported once race data has been found.
    void conditionItem(const StreamItem& item, const uint8_t* payload);
    // A time stamp word: sets the current time; the first stamp tells where the replay
    // starts. True for the first stamp.
    bool announceStart(uint32_t word, uint64_t framesRead);
    // The first stamp of the race session starts the detection. True once it has.
    bool findRace(uint32_t word);
    static bool isRaceStamp(uint32_t word, const Drivers& drivers);
    // Reports the leader's start of the next lap once the session clock has passed it.
    void leaderLap();

    // The session time of the last time stamp item, in ms.
    uint32_t currentTime() const { return currentTime_; }
    void setCurrentTime(uint32_t ms) { currentTime_ = ms; }

private:
    void walkStream(class BufferedFile& file);
    void timeStampItem(const StreamItem& item, const uint8_t* payload, uint64_t framesRead);
    std::optional<uint32_t> driverOfSlot(uint32_t slot) const;
    void wheelDetails(uint8_t now, uint8_t before, const char* const parts[4]);
    void engineDetail(uint8_t now, uint8_t before);
    void statusDetail(uint8_t now, const CarState& car);

    const ReportData& data_;
    CarStateTable& cars_;
    Append append_;
    int raceLaps_ = 0;
    std::vector<int> lapCounts_;                     // race laps per driver
    std::vector<std::vector<uint64_t>> cumulative_;  // C(d, L) for L = 0 .. N + 1
    std::array<std::optional<uint32_t>, MAX_SLOTS> driverOfSlot_{};
    uint32_t currentTime_ = 0;
    std::optional<uint32_t> lastPrintedTime_;
    std::optional<uint32_t> lastDriver_;
    bool timeStampSeen_ = false;
    bool raceFound_ = false;
    int leaderLaps_ = 0;  // K
};

}  // namespace movrane
