#include "core/reports/MechanicalScan.h"

#include <algorithm>

#include "core/replay/BufferedFile.h"
#include "core/replay/FrameWalker.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {
constexpr int FIRST_REPORTED_BYTE = 4;
constexpr int TYRE_BYTE = 9;
constexpr int SUSPENSION_BYTE = 11;
constexpr int ENGINE_BYTE = 12;
constexpr int STATUS_BYTE = 14;
constexpr int FIRE_BYTE = 7;
constexpr uint8_t FIRE_AT_BACK = 0x40;
constexpr uint8_t ENGINE_EXPLODED = 63;
constexpr uint32_t MS_PER_FRAME_ROUNDED = 28;

const char* const TYRES[4] = {" left front tire.\r\n", " right front tire.\r\n", " left rear tire.\r\n",
                              " right rear tire.\r\n"};
const char* const SUSPENSIONS[4] = {" left front suspension.\r\n", " right front suspension.\r\n",
                                    " left rear suspension.\r\n", " right rear suspension.\r\n"};

// Car slot of a car condition item from its first two bytes.
uint32_t conditionSlot(const uint8_t* bytes) {
    const int id = (bytes[1] & 0x0F) * 256 + bytes[0];
    return static_cast<uint32_t>((id - 31) / 64);
}
}  // namespace

MechanicalScan::MechanicalScan(const ReportData& data, CarStateTable& carStates, Append append)
    : data_(data), cars_(carStates), append_(std::move(append)) {
    raceLaps_ = data_.maxRaceLaps();
    cumulative_.resize(data_.driverCount());
    for (uint32_t d = 0; d < data_.driverCount(); ++d) {
        lapCounts_.push_back(data_.raceLaps(d));
        for (int lap = 0; lap <= raceLaps_ + 1; ++lap) cumulative_[d].push_back(data_.cumulative(d, lap));
    }
    // The first driver with a slot names its car.
    for (uint32_t d = data_.driverCount(); d-- > 0;) {
        const uint32_t slot = data_.drivers().driver(d).slot;
        if (slot < MAX_SLOTS) driverOfSlot_[slot] = d;
    }
}

void MechanicalScan::run() {
    if (!data_.drivers().racePresent()) {
        append_("This replay file does not contain race data.");
        return;
    }
    for (auto& car : cars_) car.fill(0);
    append_("\r\nRACE - MECHANICAL PROBLEMS REPORT\r\n\r\n");
    BufferedFile file;
    if (beginReplayScan(append_, data_.replayPath(), file)) walkStream(file);
}

bool beginReplayScan(const std::function<void(const std::string&)>& append, const std::string& replayPath,
                     BufferedFile& file) {
    append("Starting scan of replay file(this might take a while)...\r\n");
    append("\r\nSearching for race data...\r\n\r\n");
    if (file.open(replayPath)) return true;
    append("Error opening file!\r\n");
    return false;
}

void MechanicalScan::walkStream(BufferedFile& file) {
    FrameWalker walker(file, data_.drivers().streamOffset());
    uint64_t framesRead = 0;
    while (walker.nextFrame()) {
        ++framesRead;
        walker.forEachItem([&](const StreamItem& item, const uint8_t* payload) {
            if (item.type == ITEM_CAR_CONDITION) conditionItem(item, payload);
            if (item.type == ITEM_TIME_STAMP) timeStampItem(item, payload, framesRead);
        });
        if (walker.failed()) break;
    }
    if (walker.failed()) {
        // A damaged stream must not look like a complete scan.
        append_("\r\nThe replay's record stream is damaged at file offset " + std::to_string(walker.failureOffset()) +
                " (" + walkStatusText(walker.status()) + ") - detection stopped there.\r\n");
    } else {
        append_("\r\nEnd of replay file found - stopping detection.\r\n");
    }
    append_(std::string(CRLF) + REPORT_FOOTER);
}

std::optional<uint32_t> MechanicalScan::driverOfSlot(uint32_t slot) const {
    return slot < MAX_SLOTS ? driverOfSlot_[slot] : std::nullopt;
}

// Items of cars outside the table, or of a slot that no driver has, are skipped.
void MechanicalScan::conditionItem(const StreamItem& item, const uint8_t* payload) {
    if (item.payloadLength() < CONDITION_BYTES) return;
    const uint32_t slot = conditionSlot(payload);
    if (slot >= MAX_SLOTS || !driverOfSlot(slot) || !raceFound_) return;
    for (int b = FIRST_REPORTED_BYTE; b < CONDITION_BYTES; ++b) {
        if (payload[b] != cars_[slot][b]) reportChange(b, payload[b], slot);
    }
}

void MechanicalScan::timeStampItem(const StreamItem& item, const uint8_t* payload, uint64_t framesRead) {
    const std::optional<uint32_t> stamp = payloadWord(item, payload);
    if (!stamp) return;
    const uint32_t word = *stamp;
    announceStart(word, framesRead);
    findRace(word);
    leaderLap();
}

// Session id 0 is the practice session, whatever the race's id.
bool MechanicalScan::isRaceStamp(uint32_t word, const Drivers& drivers) {
    const uint32_t session = word & 0xFF;
    return session != 0 && session == drivers.raceSessionId();
}

bool MechanicalScan::announceStart(uint32_t word, uint64_t framesRead) {
    currentTime_ = (word >> 8) * 10;
    if (timeStampSeen_) return false;
    timeStampSeen_ = true;
    const auto start = static_cast<uint32_t>(currentTime_ + MS_PER_FRAME_ROUNDED * framesRead);
    append_("Replay file starts " + formatTime(start) + " into " +
            (isRaceStamp(word, data_.drivers()) ? "the race.\r\n" : "the practice session.\r\n"));
    return true;
}

bool MechanicalScan::findRace(uint32_t word) {
    if (!raceFound_ && isRaceStamp(word, data_.drivers())) {
        raceFound_ = true;
        append_("\r\nRace data found - beginning detection.\r\n\r\n");
    }
    return raceFound_;
}

void MechanicalScan::leaderLap() {
    if (!raceFound_) return;
    std::optional<uint64_t> earliest;
    for (uint32_t d = 0; d < data_.driverCount(); ++d) {
        if (lapCounts_[d] < leaderLaps_ || leaderLaps_ > raceLaps_ + 1) continue;
        const uint64_t c = cumulative_[d][leaderLaps_];
        if (!earliest || c < *earliest) earliest = c;
    }
    if (!earliest || *earliest >= currentTime_) return;
    ++leaderLaps_;
    if (leaderLaps_ == raceLaps_ + 1) {
        append_("\r\nThe winner of the race crosses the finish line.\r\n(Assuming replay covers the end of the race)\r\n");
    } else {
        append_("\r\nLeader of the race starts lap " + std::to_string(leaderLaps_) + CRLF);
    }
}

void MechanicalScan::reportChange(int byteIndex, uint8_t value, uint32_t slot) {
    if (slot >= MAX_SLOTS || byteIndex < 0 || byteIndex >= CONDITION_BYTES) return;
    CarState& car = cars_[slot];
    const uint8_t old = car[byteIndex];
    car[byteIndex] = value;
    const std::optional<uint32_t> d = driverOfSlot(slot);
    if (!d) return;
    const std::string name = data_.name(*d);
    if (value == 0) {
        const bool reset = std::all_of(car.begin() + 2, car.end(), [](uint8_t b) { return b == 0; });
        if (reset) {
            append_("\r\n" + formatTime(currentTime_) + "\r\n" + name +
                    " makes a Shift-R? (detection method A - mech problems fixed)\r\n");
        }
        return;
    }
    std::string text;
    if (lastPrintedTime_ != currentTime_) text += "\r\n" + formatTime(currentTime_) + "\r\n";
    if (byteIndex == RETIREMENT_BYTE) {
        text += name + " retires!\r\n";
    } else if (lastDriver_ != d || lastPrintedTime_ != currentTime_) {
        text += name + " - spotters reporting:\r\n";
    }
    lastDriver_ = d;
    lastPrintedTime_ = currentTime_;
    append_(text);
    switch (byteIndex) {
        case STATUS_BYTE: statusDetail(value, car); break;
        case TYRE_BYTE: wheelDetails(value, old, TYRES); break;
        case SUSPENSION_BYTE: wheelDetails(value, old, SUSPENSIONS); break;
        case ENGINE_BYTE: engineDetail(value, old); break;
        case RETIREMENT_BYTE: append_(reasonText(value) + CRLF); break;
        default: break;  // the heading alone names the car
    }
}

void MechanicalScan::statusDetail(uint8_t now, const CarState& car) {
    const bool burning = car[FIRE_BYTE] == FIRE_AT_BACK;
    std::string text;
    if (now == 1) {
        if (burning) text += "the back of the car is on fire.\r\n";
        text += "the engine has died and brakes are locked.\r\n";
    } else if ((now == 17 || now == 19) && burning) {
        text += "the fire at the back of the car has been put out.\r\n";
    } else if (now == 16) {
        text += "the car slows down and stops.\r\n";
    }
    append_(text);
}

// Two bits per wheel: 0 none, 1 minor, 2 medium, 3 severe.
void MechanicalScan::wheelDetails(uint8_t now, uint8_t before, const char* const parts[4]) {
    static const char* const SEVERITY[4] = {nullptr, "minor problems with", "medium problems with",
                                            "severe problems with"};
    std::string text;
    for (int wheel = 0; wheel < 4; ++wheel) {
        const int f = (now >> (2 * wheel)) & 3;
        const int g = (before >> (2 * wheel)) & 3;
        if (f != 0 && f != g) text += std::string(SEVERITY[f]) + parts[wheel];
    }
    append_(text);
}

void MechanicalScan::engineDetail(uint8_t now, uint8_t before) {
    if (now == ENGINE_EXPLODED) {
        append_("the engine has exploded.\r\n");
    } else if (now < ENGINE_EXPLODED) {
        append_(before == 0 ? "the car has an engine problem.\r\n" : "the engine problem is getting worse.\r\n");
    }
}

}  // namespace movrane
