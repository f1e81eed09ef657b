#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/replay/FrameWalker.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

// One entry of the driver list, decoded from its 152-byte record.
struct DriverRecord {
    std::string name1;
    std::string name2;
    uint8_t nationalityIndex = 0;
    std::string nationalityCode;
    bool ai = false;
    uint32_t carMake = 0;
    uint8_t formulaClass = 0;
    uint32_t keptValue = 0;  // the word at record offset 128
    uint32_t slot = 0;
    uint32_t carNumber = 0;
    bool standardCar = false;  // the mod-car block reads "NOT APPLICABLE"
    uint8_t carClass = 0;
    int year = 0;  // 255 for a standard car
    uint8_t modA = 0;
    uint8_t modB = 0;
    std::array<uint8_t, 7> modC{};
};

// Lap words of one slot in one session: word 0 is the base time, words 1..lapCount the laps.
struct SlotLaps {
    int lapCount = 0;
    std::array<uint32_t, MAX_LAP_WORDS> words{};
};

// The driver-table reader: walks the chunks and the record stream of a replay, reads the
// driver records, the lap tables and the session windows.
class Drivers {
public:
    static constexpr uint32_t INVALID_COUNT = 65535;
    // The longest driver list a replay can hold: the other cars' records name a car by a
    // slot code. A longer list is damage, and would multiply every per-driver table and scan
    // (race timeline, reports, pictures) by its length.
    static constexpr uint32_t MAX_DRIVERS = SLOT_CODES;
    enum Code { OK = 0, FAILED = 3 };

    // Why a walk failed; kept for diagnostics (the user sees one fixed message).
    enum class Failure { None, CannotOpen, NoDriverList, TooManyDrivers, DriverRecordsTruncated, LapTableDamaged,
                         StreamHeaderMissing, StreamTruncated, StreamBadItemType, StreamDamaged };

    int load(const std::string& path);
    int code() const { return code_; }
    Failure failure() const { return failure_; }
    const char* failureText() const;
    static const char* errorMessage() { return "DriversClass: Error reading file!"; }

    const std::string& fileName() const { return fileName_; }
    // Driver count, INVALID_COUNT after a failed load.
    uint32_t count() const { return count_; }
    const DriverRecord& driver(uint32_t index) const { return records_.at(index); }
    const std::vector<DriverRecord>& drivers() const { return records_; }

    // Position of the human player's record; may lie outside the list (no driver is the player).
    uint32_t playerIndex() const { return playerIndex_; }
    bool isPlayer(uint32_t driverIndex) const { return driverIndex == playerIndex_; }
    bool playerMismatch() const { return playerMismatch_; }

    bool practicePresent() const { return practicePresent_; }
    bool racePresent() const { return racePresent_; }
    uint32_t practiceStart() const { return practiceStart_; }
    uint32_t practiceEnd() const { return practiceEnd_; }
    uint32_t raceStart() const { return raceStart_; }
    uint32_t raceEnd() const { return raceEnd_; }
    uint32_t windowStart(Session s) const { return s == PRACTICE ? practiceStart_ : raceStart_; }
    uint32_t windowEnd(Session s) const { return s == PRACTICE ? practiceEnd_ : raceEnd_; }
    uint8_t raceSessionId() const { return raceSessionId_; }

    uint64_t streamOffset() const { return streamOffset_; }
    uint32_t streamLength() const { return streamLength_; }
    uint16_t lastFrameLength() const { return lastFrameLength_; }
    const std::string& fileDate() const { return fileDate_; }
    uint32_t lastFrameCounter() const { return lastFrameCounter_; }

    // Laps of a driver (position in the list), looked up by the driver's slot.
    int lapCount(uint32_t driverIndex, Session s) const;
    uint32_t lapWord(uint32_t driverIndex, Session s, int lap) const;
    uint32_t lapTime(uint32_t driverIndex, Session s, int lap) const {
        return lapWord(driverIndex, s, lap) & LAP_TIME_MASK;
    }
    // Session time at which a lap began and ended: sums of the lap times of words 0..lap.
    uint64_t lapStartTime(uint32_t driverIndex, Session s, int lap) const;
    uint64_t lapEndTime(uint32_t driverIndex, Session s, int lap) const;
    // A lap is valid (its data is in the file) when it is not flagged invalid and lies
    // strictly inside the session's window.
    bool lapValid(uint32_t driverIndex, Session s, int lap) const;

    // The raw table of a slot (slot below MAX_SLOTS).
    const SlotLaps& slotLaps(uint32_t slot, Session s) const { return tables_[s].at(slot); }

private:
    void reset();
    bool walk(const std::string& path);
    bool readLapTable(class BufferedFile& file, uint64_t tableOffset, uint32_t size, Session s);
    bool scanForward(class BufferedFile& file);
    bool scanBackward(class BufferedFile& file);
    bool walkFailed(const FrameWalker& walker);
    void decodeRecords(const std::vector<uint8_t>& raw);
    void checkPlayer(const uint8_t* headerNames);
    void useSingleTableAsRace();
    void computeValidity();
    bool fail(Failure f);

    std::string fileName_;
    int code_ = FAILED;
    Failure failure_ = Failure::None;
    uint32_t count_ = INVALID_COUNT;
    std::vector<DriverRecord> records_;
    uint32_t playerIndex_ = 0;
    bool playerMismatch_ = false;
    bool practicePresent_ = false;
    bool racePresent_ = false;
    uint32_t practiceStart_ = 0;
    uint32_t practiceEnd_ = 0;
    uint32_t raceStart_ = 0;
    uint32_t raceEnd_ = 0;
    uint8_t raceSessionId_ = 0;
    uint64_t streamOffset_ = 0;
    uint32_t streamLength_ = 0;
    uint16_t lastFrameLength_ = 0;
    std::string fileDate_;
    uint32_t lastFrameCounter_ = 0;
    std::array<std::array<SlotLaps, MAX_SLOTS>, 2> tables_{};
    std::array<std::vector<std::vector<bool>>, 2> valid_;  // per session, per driver, per lap
};

// "%Y %b %d" of a file's modification time, local time, with English month names.
std::string formatFileDate(int64_t unixSeconds);

}  // namespace movrane
