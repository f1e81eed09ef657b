#include "core/reports/EngineReports.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/replay/BufferedFile.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ParseCarStructs.h"
#include "core/reports/FrameCars.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr int LOTUS = 5;
constexpr int BRABHAM = 0;
constexpr int FERRARI = 4;
constexpr int HONDA = 6;
constexpr std::size_t SHIFT_LIST_SIZE = 200;
constexpr uint32_t PEAK_MINIMUM = 650;
constexpr double SPAN_MINIMUM_RPM = 2000;

// Upper bounds (exclusive) of the bands and their codes; a value at or above the last
// bound, and the value 0, give ENGINE_UNDETECTABLE.
struct Band {
    double below;
    int code;
};

template <std::size_t N>
int classify(double value, const Band (&bands)[N]) {
    if (value == 0) return ENGINE_UNDETECTABLE;
    for (const Band& band : bands) {
        if (value < band.below) return band.code;
    }
    return ENGINE_UNDETECTABLE;
}

constexpr Band BANDS_A[] = {{815, 9}, {871, 8}, {900, 0}, {909, 5}, {924, 2}, {934, 3}, {945, 4}, {952, 1}, {960, 6}};
constexpr Band BANDS_B[] = {{800, 9}, {853, 8}, {872, 0}, {896, 5}, {914, 2}, {925, 3}, {937, 4}, {944, 1}, {950, 6}};
constexpr Band BANDS_C[] = {{815, 9}, {871, 8}, {892, 0}, {909, 5}, {924, 2}, {934, 3}, {945, 4}, {952, 1}, {960, 6}};
constexpr Band BANDS_D[] = {{8000, 7},  {8700, 5},  {9050, 3},   {9200, 0},   {9400, 2},
                            {9500, 4},  {10000, 1}, {12000, 8},  {17500, 9}};

double engineRpm(uint32_t raw) { return std::tan(raw * 0.001288481) * 4131.182; }

double median(std::vector<uint32_t> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A Brabham result of tests B and C is a Lotus when the listed car is a Lotus.
int lotusRule(int code, uint32_t listedMake) { return code == BRABHAM && listedMake == LOTUS ? LOTUS : code; }

// What engine detection follows of one car from record to record: its engine speed one
// and two records back, the gear code and engine speed of its last record in gear (not in
// neutral), and the records seen so far (counted up to FRAMES_COUNTED, all that the tests
// ask of it).
struct EngineTrail {
    uint32_t highestRaw = 0;
    uint32_t highestPeak = 0;
    uint32_t before = 0;
    uint32_t twoBefore = 0;
    uint32_t drivenGearCode = 0;
    uint32_t drivenSpeed = 0;
    uint32_t frames = 0;
};
constexpr uint32_t FRAMES_COUNTED = 5;
constexpr uint32_t NEUTRAL_GEAR_CODE = 1;
// Gear codes of the up-shifts method B samples: 3 to 4 and 4 to 5.
constexpr uint32_t THIRD_GEAR_CODE = 4;
constexpr uint32_t FOURTH_GEAR_CODE = 5;

// An up-shift from third or fourth gear, straight or through neutral as a gear change
// usually goes: the last record in the lower gear goes into method B's lists.
bool sampledUpShift(const EngineTrail& t, uint32_t gearCode) {
    return gearCode == t.drivenGearCode + 1 &&
           (t.drivenGearCode == THIRD_GEAR_CODE || t.drivenGearCode == FOURTH_GEAR_CODE);
}

// One more record of the car: the highest engine speed, and the record before as a peak
// when it is higher than the records on both sides.
void advance(EngineTrail& t, uint32_t engineSpeed, uint32_t gearCode) {
    t.highestRaw = std::max(t.highestRaw, engineSpeed);
    const bool peak = t.frames >= FRAMES_COUNTED && t.before > t.twoBefore && t.before > engineSpeed;
    t.highestPeak = peak ? std::max(t.highestPeak, t.before) : t.highestPeak;
    t.twoBefore = t.before;
    t.before = engineSpeed;
    if (gearCode != NEUTRAL_GEAR_CODE) {
        t.drivenGearCode = gearCode;
        t.drivenSpeed = engineSpeed;
    }
    t.frames = std::min(t.frames + 1, FRAMES_COUNTED);
}

// Follows every car through the stream: highest engine speed, engine speed before up-shifts,
// highest local peak, and the player's engine speed range in rpm.
//
// The other cars item lists the same cars in the same order frame after frame, so its
// records are followed side by side, one lane per record, in plain arrays the compiler
// turns into vector code; the lanes are handed back to their drivers only when the list
// of cars changes. The player's car, from its own item, is followed on its own.
class EngineScan {
public:
    explicit EngineScan(const Drivers& drivers) : cars_(drivers), trails_(cars_.driverCount()), measured_(trails_.size()) {
        player_ = cars_.player().value_or(MAX_SLOTS);
    }

    // Stops at the stream's end or where it is damaged (the walker tells which).
    void run(FrameWalker& walker) {
        while (walker.nextFrame()) {
            recordCount_ = 0;
            std::optional<std::pair<uint32_t, uint32_t>> playerCar;
            walker.forEachItem([&](const StreamItem& item, const uint8_t* payload) {
                if (item.type == ITEM_PLAYER_CAR && item.payloadLength() >= PLAYER_CAR_BYTES) {
                    playerCar = {playerCarEngineSpeed(payload), static_cast<uint32_t>(playerCarGear(payload) + 1)};
                }
                if (item.type == ITEM_OTHER_CARS) addRecords(payload, item.payloadLength() / OTHER_CAR_BYTES);
            });
            if (walker.failed()) break;
            if (playerCar && player_ < trails_.size()) followPlayer(playerCar->first, playerCar->second);
            followOthers();
        }
        storeLanes();
        for (uint32_t d = 0; d < trails_.size(); ++d) {
            EngineMeasurements& m = measured_[d];
            m.highestRaw = trails_[d].highestRaw;
            m.highestPeak = trails_[d].highestPeak;
        }
        if (player_ < trails_.size() && playerSeen_) {
            // The rpm rises with the raw value (tan is increasing below a quarter turn), so
            // the extremes are converted once at the end.
            EngineMeasurements& m = measured_[player_];
            m.rpmSeen = true;
            m.highestRpm = engineRpm(m.highestRaw);
            m.lowestRpm = engineRpm(playerLowestRaw_);
        }
    }

    const EngineMeasurements& measured(uint32_t d) const { return measured_[d]; }

private:
    // Every lane value (10-bit engine speeds, 3-bit gear codes, 6-bit slots, counts up to
    // 5) fits 16 bits, which puts eight lanes into a vector.
    using Lane = int16_t;
    static constexpr uint32_t LANES = 24;  // MAX_SLOTS, rounded up to whole vectors
    static constexpr uint32_t WORDS = OTHER_CAR_BYTES / 4;
    static_assert(std::endian::native == std::endian::little, "the lanes read records as the host's words");

    // The records of the frame's other cars items, as words.
    void addRecords(const uint8_t* payload, std::size_t count) {
        if (words_.size() < (recordCount_ + count) * WORDS) words_.resize((recordCount_ + count) * WORDS);
        std::memcpy(words_.data() + recordCount_ * WORDS, payload, count * OTHER_CAR_BYTES);
        recordCount_ += count;
    }

    void followPlayer(uint32_t engineSpeed, uint32_t gearCode) {
        EngineTrail& t = trails_[player_];
        if (sampledUpShift(t, gearCode)) sampleUpShift(player_, t);
        playerLowestRaw_ = playerSeen_ ? std::min(playerLowestRaw_, engineSpeed) : engineSpeed;
        playerSeen_ = true;
        advance(t, engineSpeed, gearCode);
    }

    void sampleUpShift(uint32_t d, const EngineTrail& t) {
        std::vector<uint32_t>& list =
            t.drivenGearCode == THIRD_GEAR_CODE ? measured_[d].beforeShiftTo4 : measured_[d].beforeShiftTo5;
        if (list.size() < SHIFT_LIST_SIZE) list.push_back(t.drivenSpeed);
    }

    // Every lane is computed, also those beyond the frame's records (whole vectors, no
    // remainder loop); the lanes past laneCount_ belong to no driver and are never read.
    void followOthers() {
        if (recordCount_ > LANES) keepLastRecordOfEachDriver();
        const uint32_t n = static_cast<uint32_t>(recordCount_);
        const uint32_t* words = words_.data();
        for (uint32_t r = 0; r < LANES; ++r) {
            speed_[r] = static_cast<Lane>(otherCarEngineSpeedOf(words[WORDS * r]));
            slot_[r] = static_cast<Lane>(otherCarSlotOf(words[WORDS * r + 1]));
            gearCodeNow_[r] = static_cast<Lane>(otherCarGearCodeOf(words[WORDS * r + 3]));
        }
        Lane changed = static_cast<Lane>(n != laneCount_);
        for (uint32_t r = 0; r < LANES; ++r) changed |= static_cast<Lane>((slot_[r] ^ laneSlot_[r]) & -static_cast<Lane>(r < n));
        if (changed != 0) placeLanes(n);
        Lane upShifts = 0;
        for (uint32_t r = 0; r < LANES; ++r) {
            const Lane code = drivenGearCode_[r];
            upShifts |= static_cast<Lane>((gearCodeNow_[r] == code + 1) &
                                          ((code == THIRD_GEAR_CODE) | (code == FOURTH_GEAR_CODE)));
        }
        if (upShifts != 0) {
            for (uint32_t r = 0; r < n; ++r) {
                if (laneDriver_[r] >= 0 && sampledUpShift(lane(r), gearCodeNow_[r])) sampleUpShift(laneDriver_[r], lane(r));
            }
        }
        for (uint32_t r = 0; r < LANES; ++r) {
            // The steps of advance() on the lane arrays, written out so that they vectorise.
            const Lane e = speed_[r];
            highestRaw_[r] = std::max(highestRaw_[r], e);
            const bool peak = (frames_[r] >= Lane{FRAMES_COUNTED}) & (before_[r] > twoBefore_[r]) & (before_[r] > e);
            highestPeak_[r] = peak ? std::max(highestPeak_[r], before_[r]) : highestPeak_[r];
            twoBefore_[r] = before_[r];
            before_[r] = e;
            const bool driven = gearCodeNow_[r] != Lane{NEUTRAL_GEAR_CODE};
            drivenGearCode_[r] = driven ? gearCodeNow_[r] : drivenGearCode_[r];
            drivenSpeed_[r] = driven ? e : drivenSpeed_[r];
            frames_[r] = std::min(static_cast<Lane>(frames_[r] + 1), Lane{FRAMES_COUNTED});
        }
    }

    // A frame of more records than lanes repeats cars or lists cars without a driver; a
    // car's last record in the frame is the one that counts.
    void keepLastRecordOfEachDriver() {
        std::array<bool, MAX_SLOTS> kept{};
        std::size_t out = recordCount_;
        for (std::size_t r = recordCount_; r-- > 0;) {
            const int d = cars_.driverOfSlot(otherCarSlotOf(words_[WORDS * r + 1]));
            if (d < 0 || kept[d]) continue;
            kept[d] = true;
            --out;
            std::memmove(&words_[WORDS * out], &words_[WORDS * r], OTHER_CAR_BYTES);
        }
        std::memmove(words_.data(), &words_[WORDS * out], (recordCount_ - out) * OTHER_CAR_BYTES);
        recordCount_ -= out;
    }

    // The frame lists other cars than the lanes hold: each lane goes back to its driver,
    // and the lanes are taken anew by the frame's records. Of two records of one car the
    // last is followed, and records of no driver (or of the player) get a lane that is
    // followed but never read.
    void placeLanes(uint32_t n) {
        storeLanes();
        std::array<bool, MAX_SLOTS> placed{};
        for (uint32_t r = n; r-- > 0;) {
            const int d = cars_.driverOfSlot(slot_[r]);
            laneDriver_[r] = d >= 0 && !placed[d] ? d : -1;
            if (d >= 0) placed[d] = true;
            setLane(r, laneDriver_[r] >= 0 ? trails_[laneDriver_[r]] : EngineTrail{});
        }
        laneSlot_ = slot_;
        laneCount_ = n;
    }

    void storeLanes() {
        for (uint32_t r = 0; r < laneCount_; ++r) {
            if (laneDriver_[r] >= 0) trails_[laneDriver_[r]] = lane(r);
        }
    }

    EngineTrail lane(uint32_t r) const {
        const auto u = [](Lane v) { return static_cast<uint32_t>(v); };
        return {u(highestRaw_[r]),     u(highestPeak_[r]), u(before_[r]), u(twoBefore_[r]),
                u(drivenGearCode_[r]), u(drivenSpeed_[r]), u(frames_[r])};
    }
    void setLane(uint32_t r, const EngineTrail& t) {
        const auto narrow = [](uint32_t v) { return static_cast<Lane>(v); };
        highestRaw_[r] = narrow(t.highestRaw);
        highestPeak_[r] = narrow(t.highestPeak);
        before_[r] = narrow(t.before);
        twoBefore_[r] = narrow(t.twoBefore);
        drivenGearCode_[r] = narrow(t.drivenGearCode);
        drivenSpeed_[r] = narrow(t.drivenSpeed);
        frames_[r] = narrow(t.frames);
    }

    FrameCars cars_;
    std::vector<EngineTrail> trails_;  // by driver
    std::vector<EngineMeasurements> measured_;
    uint32_t player_ = MAX_SLOTS;
    bool playerSeen_ = false;
    uint32_t playerLowestRaw_ = 0;
    std::vector<uint32_t> words_ = std::vector<uint32_t>(LANES * WORDS);
    std::size_t recordCount_ = 0;
    // The lanes: the trail of the car in record r of the last frame's other cars.
    uint32_t laneCount_ = 0;
    std::array<Lane, LANES> laneSlot_{};
    std::array<int, LANES> laneDriver_{};
    std::array<Lane, LANES> speed_{}, slot_{}, gearCodeNow_{};  // of the frame's records
    std::array<Lane, LANES> highestRaw_{}, highestPeak_{}, before_{}, twoBefore_{}, drivenGearCode_{}, drivenSpeed_{},
        frames_{};
};

const char* const OPENING[] = {
    "Engine Detection Report\r\n\r\n",
    "Generated with Movrane\r\n\r\n",
    "This report will TRY to determine what engine each driver\r\n",
    "is using (there is a patch for engine swapping available).\r\n",
    "For most accurate results the report should be run on a replay\r\n",
    "saved by the server or an offline replay. Online replays not \r\n",
    "saved by the server will most likely give very false results.\r\n\r\n",
    "Drivers not maximizing the potential of the engine (ofter slower\r\n",
    "drivers) might also be detected to be using the wrong engine.\r\n",
    "If you consistantly are detected as using the wrong engine even\r\n",
    "though you don't you probably have time to gain by reviewing\r\n",
    "your driving style.\r\n\r\n",
    "Four different tests are made:\r\n",
    "Test A works best for fast hotlaps\r\n",
    "Test B works on both race and hotlaps\r\n",
    "Test C works best for race laps\r\n",
    "Test D is the most reliable, but only works on laps driven by\r\nthe local driver (the one who saved the replay)\r\n\r\n",
    "THIS DETECTION SHOULD BE TREATED AS A HINT OF WHAT ENGINE IS\r\n",
    "USED, NOT THE TRUTH!\r\n\r\n",
    "To make sure the reported engines are correct you need to\r\n",
    "make further manual checks on the replay in MOVRN or in Orv.\r\n\r\n",
    "Starting scan of replay file(this might take a while)...\r\n",
};

constexpr const char* NO_DATA = "No data to use in detection";
constexpr const char* NOT_ENOUGH_DATA = "Not enough data to use in detection";

}  // namespace

int classifyMethodA(double raw) { return classify(raw, BANDS_A); }
int classifyMethodB(double raw) { return classify(raw, BANDS_B); }
int classifyMethodC(double raw) { return classify(raw, BANDS_C); }
int classifyMethodD(double rpm) { return classify(rpm, BANDS_D); }

const char* engineResultText(int code) {
    static const char* const TEXTS[] = {"Brabham  ", "BRM      ",          "Cooper   ", "Eagle    ",
                                        "Ferrari  ", "Lotus    ",          "Honda    ", "Can't be detected ",
                                        "F2       ", "F3       ",          "Honda or Ferrari"};
    return code >= 0 && code <= ENGINE_HONDA_OR_FERRARI ? TEXTS[code] : TEXTS[ENGINE_UNDETECTABLE];
}

double EngineMeasurements::methodBValue() const {
    if (beforeShiftTo4.empty()) return median(beforeShiftTo5);
    if (beforeShiftTo5.empty()) return median(beforeShiftTo4);
    return (median(beforeShiftTo4) + median(beforeShiftTo5)) / 2;
}

EngineVerdicts engineVerdicts(const EngineMeasurements& m, uint32_t listedMake, bool player) {
    EngineVerdicts v;
    v.a = m.highestRaw == 0 ? NO_DATA : engineResultText(classifyMethodA(m.highestRaw));
    v.b = m.beforeShiftTo4.empty() && m.beforeShiftTo5.empty()
              ? NO_DATA
              : engineResultText(lotusRule(classifyMethodB(m.methodBValue()), listedMake));
    if (m.highestPeak == 0) {
        v.c = NO_DATA;
    } else if (m.highestPeak < PEAK_MINIMUM) {
        v.c = NOT_ENOUGH_DATA;
    } else {
        v.c = engineResultText(lotusRule(classifyMethodC(m.highestPeak), listedMake));
    }
    if (!player) {
        v.d = "This test only for local driver";
    } else if (m.highestRpm == 0 || m.highestRpm - m.lowestRpm < SPAN_MINIMUM_RPM) {
        v.d = NOT_ENOUGH_DATA;
    } else {
        int code = classifyMethodD(m.highestRpm);
        // The Ferrari and Honda rev alike; test C's own band tells them apart.
        if (code == FERRARI) {
            const int c = classifyMethodC(m.highestPeak);
            code = c == FERRARI ? FERRARI : c > HONDA ? ENGINE_HONDA_OR_FERRARI : HONDA;
        }
        v.d = engineResultText(code);
    }
    return v;
}

void engineDetectionReport(const ReportData& data, const ReportAppend& append) {
    for (const char* line : OPENING) append(line);
    BufferedFile file;
    if (!file.open(data.replayPath())) {
        append("Error opening file!\r\n");
        return;
    }
    FrameWalker walker(file, data.drivers().streamOffset());
    EngineScan scan(data.drivers());
    scan.run(walker);
    if (walker.failed()) {
        append("\r\nThe replay's record stream is damaged at file offset " + std::to_string(walker.failureOffset()) +
               " (" + walkStatusText(walker.status()) + ") - detection stopped there.\r\n");
    }
    const uint32_t count = std::min<uint32_t>(data.driverCount(), MAX_SLOTS);
    for (uint32_t d = 0; d < count; ++d) {
        const uint32_t make = data.drivers().driver(d).carMake;
        const EngineVerdicts v = engineVerdicts(scan.measured(d), make, data.drivers().isPlayer(d));
        append("\r\n\r\nListed car:                                          " + carMakeColumn(make) +
               "\r\nDetected engine method A(mainly for hotlaps):        " + v.a +
               "\r\nDetected engine method B(for hotlaps, partly races): " + v.b +
               "\r\nDetected engine method C(mainly for races):          " + v.c +
               "\r\nDetected engine method D(*only* for local driver):   " + v.d);
    }
    append(std::string("\r\n\r\n") + REPORT_FOOTER);
}

std::string modSetCar(int year, uint32_t make) {
    static const char* const CARS_1967[] = {"Brabham BT24 (1967) ", "BRM P83 (1967)      ", "Cooper T81 (1967)   ",
                                            "Eagle AAR104 (1967) ", "Ferrari 312 (1967)  ", "Lotus 49 (1967)     ",
                                            "Honda RA300 (1967)  "};
    static const char* const CARS_1965[] = {"Brabham BT11", "BRM P261", "Cooper T77", "Brabham BT7",
                                            "Ferrari 1512", "Lotus 33", "Honda RA272"};
    static const char* const CARS_1955[] = {"Vanwall (1955)      ", "Gordini (1955)      ", "Connaught (1955)    ",
                                            "Maserati 250F (1955)", "Ferrari 555 (1955)  ", "Lancia D50 (1955)   ",
                                            "Mercedes W196 (1955)"};
    if (make >= 7) return "Unknown Car and Year";
    if (year == 255) return CARS_1967[make];
    if (year == 1965) {
        std::string car = std::string(CARS_1965[make]) + " (1965)";
        car.resize(20, ' ');
        return car;
    }
    if (year == 1955) return CARS_1955[make];
    return "Unknown Car and Year";
}

void modSetReport(const ReportData& data, const ReportAppend& append) {
    append("Name                     Carmake(Year)        Car Class Formula  Engine Swapped Carset Version");
    append(CRLF);
    const uint32_t count = std::min<uint32_t>(data.driverCount(), MAX_SLOTS);
    for (uint32_t d = 0; d < count; ++d) {
        const DriverRecord& r = data.drivers().driver(d);
        std::string name = data.name(d);
        name.resize(25, ' ');
        const char* carClass = r.carClass == 255 ? "  Standard" : r.carClass == 1 ? "Grand Prix" : "   Unknown";
        static const char* const FORMULAS[] = {" Unknown", "      F1", "      F2", "      F3"};
        const char* formula = r.formulaClass >= 1 && r.formulaClass <= 3 ? FORMULAS[r.formulaClass] : FORMULAS[0];
        append(name + modSetCar(r.year, r.carMake) + carClass + formula + CRLF);
    }
    append(CRLF);
    append(REPORT_FOOTER);
}

}  // namespace movrane
