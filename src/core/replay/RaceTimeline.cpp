#include "core/replay/RaceTimeline.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/platform/Ui.h"
#include "core/replay/BufferedFile.h"
#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/Header.h"
#include "core/replay/LapTimeText.h"
#include "core/replay/ParseCarStructs.h"

namespace movrane {

namespace {

constexpr uint32_t PRESENT_BIT = 0x80000000u;
constexpr uint32_t PLAYER_ITEM_BIT = 0x40000000u;  // the lateral field has the player item's scale
constexpr uint32_t LAP_POSITION_MASK = 0x03FFFFFFu;  // bits 0..25
constexpr double LAP_POSITION_METRES = 0.0005;
constexpr double HEADING_PER_UNIT = 0.087890625;  // 360 degrees in 4096 units
constexpr uint32_t NO_DRIVER = 0xFFFFFFFFu;
constexpr uint32_t MIN_FRAME_BYTES = 8;

double playerLateral(int32_t raw) { return std::tan(raw * 2.911741e-06) * 13.0; }
double otherCarLateral(int32_t raw) { return std::tan(raw * 2.261833e-05) * 26.0; }

std::string damagedText(const FrameWalker& walker) {
    char text[160];
    std::snprintf(text, sizeof text, "The race cannot be read: the record stream is damaged at file offset %llu (%s).",
                  static_cast<unsigned long long>(walker.failureOffset()), walkStatusText(walker.status()));
    return text;
}

std::string shortItemText(const StreamItem& item) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The race cannot be read: the item at file offset %llu is shorter than its contents.",
                  static_cast<unsigned long long>(item.offset));
    return text;
}

// Where the race starts in the stream: the frame of the first race time stamp and the frame
// counter that stood last before it.
struct RaceStart {
    bool found = false;
    uint64_t frameOffset = 0;
    std::optional<uint32_t> counter;
};

}  // namespace

uint8_t nextStatusCode(uint8_t previousCode, uint16_t previousWord, uint16_t word) {
    switch (word) {
        case 12: return 1;
        case 32: return 2;
        case 40: return 3;
        case 4: return 4;
        default: break;
    }
    const bool chequered = (word & CHEQUERED_BITS) == CHEQUERED_BITS;
    const bool wasChequered = (previousWord & CHEQUERED_BITS) == CHEQUERED_BITS;
    return chequered && !wasChequered ? STATUS_CHEQUERED : previousCode;
}

const char* raceStatusText(uint8_t code) {
    switch (code) {
        case 1: return "Cars lining up";
        case 2: return "Green flag raised";
        case 3: return "Green flag drops!";
        case 4: return "Green flag racing";
        case STATUS_CHEQUERED: return "Chequered flag waved";
        default: return "";
    }
}

void RaceTimeline::reset() {
    failure_.clear();
    times_.clear();
    codes_.clear();
    cars_.clear();
    crossings_.clear();
    leaderTimes_.clear();
    leaders_.clear();
    finishTime_.reset();
}

uint32_t RaceTimeline::fail(const std::string& text) {
    reset();
    failure_ = text;
    return 0;
}

uint32_t RaceTimeline::load(const std::string& path, const Header& header, const Drivers& drivers, Ui& ui) {
    reset();
    scheduledLaps_ = header.scheduledLaps();
    if (drivers.raceSessionId() == 0) return fail("The race cannot be read: the replay holds no time stamps of the race.");

    BufferedFile file;
    if (!file.open(path)) return fail("The race cannot be read: the replay file cannot be opened.");
    RaceStart start;
    uint64_t streamEnd = 0;
    {
        WaitWindow searching(ui, SEARCHING_TEXT);
        FrameWalker walker(file, drivers.streamOffset());
        streamEnd = walker.streamEnd();
        while (!start.found && walker.nextFrame()) {
            while (walker.nextItem()) {
                const uint16_t type = walker.item().type;
                if (type != ITEM_FRAME_COUNTER && type != ITEM_TIME_STAMP) continue;
                uint32_t word = 0;
                if (!walker.readPayloadU32(0, word)) return fail(shortItemText(walker.item()));
                if (type == ITEM_FRAME_COUNTER) {
                    start.counter = word;
                } else if ((word & 0xFF) == drivers.raceSessionId()) {
                    start = {true, walker.frame().offset, start.counter};
                    break;
                }
            }
            if (walker.failed()) return fail(damagedText(walker));
        }
        if (walker.failed()) return fail(damagedText(walker));
    }
    if (!start.found) return fail("The race cannot be read: the replay holds no time stamps of the race.");
    if (!start.counter) return fail("The race cannot be read: no frame counter stands before the start of the race.");

    // K frames from the race start; a counter that went backwards or promises more frames
    // than the rest of the stream can hold is damage, not a size to allocate.
    const uint64_t last = drivers.lastFrameCounter();
    const uint64_t room = (streamEnd - start.frameOffset) / MIN_FRAME_BYTES;
    if (last < *start.counter || last - *start.counter + 1 > room)
        return fail("The race cannot be read: its frame counters do not fit the record stream.");
    const auto frames = static_cast<uint32_t>(last - *start.counter + 1);

    times_.assign(frames, 0);
    codes_.assign(frames, 0);
    cars_.resize(drivers.count());
    for (CarTrack& car : cars_) {
        car.position.assign(frames, 0);
        car.lateral.assign(frames, 0);
        car.orientation.assign(frames, 0);
    }
    std::vector<uint16_t> statusWords(frames, NO_STATUS_WORD);
    if (!readFrames(path, drivers, start.frameOffset, ui, statusWords)) return 0;
    fillGaps(statusWords);
    deriveStatusCodes(statusWords);
    computeCrossings(drivers);
    return frames;
}

bool RaceTimeline::readFrames(const std::string& path, const Drivers& drivers, uint64_t startFrame, Ui& ui,
                              std::vector<uint16_t>& statusWords) {
    BufferedFile file;
    if (!file.open(path)) return fail("The race cannot be read: the replay file cannot be opened."), false;
    FrameWalker walker(file, drivers.streamOffset());
    std::array<uint32_t, SLOT_CODES> driverOfSlot;
    driverOfSlot.fill(NO_DRIVER);
    for (uint32_t d = 0; d < drivers.count(); ++d) {
        const uint32_t slot = drivers.driver(d).slot;
        if (slot < SLOT_CODES && driverOfSlot[slot] == NO_DRIVER) driverOfSlot[slot] = d;
    }
    const uint32_t player = drivers.playerIndex() < drivers.count() ? drivers.playerIndex() : NO_DRIVER;

    WaitWindow loading(ui, LOADING_TEXT);
    Progress progress(ui, static_cast<int>(frameCount()));
    const auto store = [this](uint32_t driver, uint32_t k, const CarPlace& place, uint32_t kind) {
        CarTrack& car = cars_[driver];
        car.position[k] = PRESENT_BIT | kind | (place.lapPosition & LAP_POSITION_MASK);
        car.lateral[k] = place.lateral;
        car.orientation[k] = static_cast<int16_t>(place.orientation);
    };
    std::optional<StreamItem> shortItem;
    for (uint32_t k = 0; k < frameCount(); ++k) {
        if (k == 0 ? !walker.enterFrame(startFrame) : !walker.nextFrame()) break;
        if (k % PROGRESS_STEP == 0) progress.set(static_cast<int>(k));
        walker.forEachItem([&](const StreamItem& item, const uint8_t* payload) {
            if (shortItem) return;
            switch (item.type) {
                case ITEM_PLAYER_CAR:
                    if (player == NO_DRIVER) break;
                    if (item.payloadLength() < PLAYER_CAR_BYTES) shortItem = item;
                    else store(player, k, playerCarPlace(payload), PLAYER_ITEM_BIT);
                    break;
                case ITEM_OTHER_CARS:
                    // Whole records only: the bytes of a partial one at the end are ignored.
                    for (const uint8_t* record = payload; record + OTHER_CAR_BYTES <= payload + item.payloadLength();
                         record += OTHER_CAR_BYTES) {
                        const uint32_t driver = driverOfSlot[otherCarSlot(record)];
                        if (driver != NO_DRIVER) store(driver, k, otherCarPlace(record), 0);
                    }
                    break;
                case ITEM_TIME_STAMP:
                    if (const auto word = payloadWord(item, payload)) times_[k] = (*word >> 8) * 10;
                    else shortItem = item;
                    break;
                case ITEM_RACE_STATUS:
                    if (const auto word = payloadWord(item, payload)) statusWords[k] = static_cast<uint16_t>(*word >> 16);
                    else shortItem = item;
                    break;
                default: break;
            }
        });
        if (shortItem) return fail(shortItemText(*shortItem)), false;
        if (walker.failed()) return fail(damagedText(walker)), false;
    }
    if (walker.failed()) return fail(damagedText(walker)), false;
    return true;
}

void RaceTimeline::fillGaps(std::vector<uint16_t>& statusWords) {
    uint16_t lastWord = 0;
    for (uint16_t& word : statusWords) {
        if (word == NO_STATUS_WORD) word = lastWord;
        lastWord = word;
    }
    uint32_t lastTime = 0;
    uint32_t framesSince = 0;
    for (uint32_t& t : times_) {
        if (t == 0) {
            ++framesSince;
            t = lastTime + static_cast<uint32_t>(framesSince * 27.777777777777775);
        } else {
            lastTime = t;
            framesSince = 0;
        }
    }
}

void RaceTimeline::deriveStatusCodes(const std::vector<uint16_t>& statusWords) {
    uint8_t code = 1;
    for (std::size_t k = 1; k < statusWords.size(); ++k) {
        if (statusWords[k] != statusWords[k - 1]) code = nextStatusCode(code, statusWords[k - 1], statusWords[k]);
        codes_[k] = code;
    }
}

void RaceTimeline::computeCrossings(const Drivers& drivers) {
    crossings_.assign(drivers.count(), {});
    for (uint32_t d = 0; d < drivers.count(); ++d) {
        // A driver whose base word is still the empty marker has no lap entry in the race.
        if (drivers.lapWord(d, RACE, 0) == EMPTY_BASE_WORD) continue;
        std::vector<uint64_t>& times = crossings_[d];
        uint64_t t = drivers.lapTime(d, RACE, 0);
        times.push_back(t);
        for (int lap = 1; lap <= drivers.lapCount(d, RACE); ++lap) {
            t += drivers.lapTime(d, RACE, lap);
            times.push_back(t);
        }
        finishTime_ = std::max(finishTime_.value_or(0), times.back());
    }
    for (int lap = 1;; ++lap) {
        std::optional<uint32_t> leader;
        for (uint32_t d = 0; d < crossings_.size(); ++d) {
            if (laps(d) < lap) continue;
            if (!leader || crossingTime(d, lap) < crossingTime(*leader, lap)) leader = d;
        }
        if (!leader) break;
        leaders_.push_back(*leader);
        leaderTimes_.push_back(crossingTime(*leader, lap));
    }
}

bool RaceTimeline::present(uint32_t k, uint32_t driver) const {
    return driver < cars_.size() && (cars_[driver].position.at(k) & PRESENT_BIT) != 0;
}

RaceCar RaceTimeline::car(uint32_t k, uint32_t driver) const {
    const CarTrack& track = cars_.at(driver);
    RaceCar car;
    car.driver = driver;
    car.distance = (track.position.at(k) & LAP_POSITION_MASK) * LAP_POSITION_METRES;
    const bool playerItem = (track.position[k] & PLAYER_ITEM_BIT) != 0;
    car.lateral = playerItem ? playerLateral(track.lateral[k]) : otherCarLateral(track.lateral[k]);
    car.heading = track.orientation[k] * HEADING_PER_UNIT * -1 + 180;
    return car;
}

std::vector<uint32_t> RaceTimeline::orderOnTrack(uint32_t k) const {
    // Key: the distance in decimetres in the low 24 bits, the car in the top byte.
    std::vector<uint32_t> keys;
    keys.reserve(cars_.size());
    for (uint32_t d = 0; d < cars_.size(); ++d) {
        const double distance = present(k, d) ? car(k, d).distance : 0.0;
        keys.push_back((d << 24) | (static_cast<uint32_t>(distance * 10) & 0xFFFFFF));
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](uint32_t a, uint32_t b) { return (a & 0xFFFFFF) > (b & 0xFFFFFF); });
    for (uint32_t& key : keys) key >>= 24;
    return keys;
}

std::vector<RaceCar> RaceTimeline::carsOnTrack(uint32_t k) const {
    std::vector<RaceCar> cars;
    for (const uint32_t d : orderOnTrack(k))
        if (present(k, d)) cars.push_back(car(k, d));
    return cars;
}

int RaceTimeline::laps(uint32_t driver) const {
    return hasLapEntry(driver) ? static_cast<int>(crossings_[driver].size()) - 1 : 0;
}

int RaceTimeline::leaderLapsBefore(uint32_t time) const {
    return static_cast<int>(std::count_if(leaderTimes_.begin(), leaderTimes_.end(), [time](uint64_t t) { return t < time; }));
}

int RaceTimeline::lapsBefore(uint32_t driver, uint32_t time) const {
    int completed = 0;
    for (int lap = 1; lap <= laps(driver); ++lap)
        if (crossingTime(driver, lap) < time) ++completed;
    return completed;
}

std::string raceDriverLabel(const Drivers& drivers, uint32_t driver) {
    if (driver >= drivers.count()) return {};
    const DriverRecord& r = drivers.driver(driver);
    std::string label;
    if (!r.name1.empty()) label = std::string(1, r.name1[0]) + ". ";
    return label + r.name2 + " (" + carMakeName(r.carMake) + ")";
}

std::string elapsedText(uint32_t timeMs) {
    const uint64_t seconds = (static_cast<uint64_t>(timeMs) + 500) / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                  static_cast<unsigned long long>(seconds % 60));
    return text;
}

std::string gapText(uint64_t milliseconds) {
    char text[48];
    const auto minutes = static_cast<unsigned long long>(milliseconds / 60000);
    const auto seconds = static_cast<unsigned long long>(milliseconds / 1000 % 60);
    const auto ms = static_cast<unsigned long long>(milliseconds % 1000);
    if (minutes == 0) std::snprintf(text, sizeof text, "+%llu.%03llus", seconds, ms);
    else std::snprintf(text, sizeof text, "+%llum %02llu.%03llus", minutes, seconds, ms);
    return text;
}

namespace {

// The focused driver's place among the drivers that completed as many laps: position,
// gaps to the nearest crossings before and after, and the last lap.
void fillDriverTexts(const RaceTimeline& timeline, uint32_t focused, uint32_t time, RaceFrameTexts& texts) {
    if (!timeline.hasLapEntry(focused)) return;
    const int completed = timeline.lapsBefore(focused, time);
    texts.lap = std::to_string(std::min(completed + 1, std::max(timeline.raceLaps(), 1)));
    if (completed == 0) return;
    const uint64_t own = timeline.crossingTime(focused, completed);
    int ahead = 0;
    std::optional<uint64_t> gapAhead;
    std::optional<uint64_t> gapBehind;
    for (uint32_t d = 0; d < timeline.driverCount(); ++d) {
        if (d == focused || timeline.laps(d) < completed) continue;
        const uint64_t other = timeline.crossingTime(d, completed);
        if (other < own) {
            ++ahead;
            gapAhead = std::min(gapAhead.value_or(own - other), own - other);
        } else if (other > own) {
            gapBehind = std::min(gapBehind.value_or(other - own), other - own);
        }
    }
    texts.position = std::to_string(ahead + 1);
    if (gapAhead) texts.gapAhead = gapText(*gapAhead);
    if (gapBehind) texts.gapBehind = gapText(*gapBehind);
    texts.lastLap = lapTimeText(static_cast<uint32_t>(own - timeline.crossingTime(focused, completed - 1)));
}

}  // namespace

RaceFrameTexts raceFrameTexts(const RaceTimeline& timeline, const Drivers& drivers, uint32_t k,
                              std::optional<uint32_t> focused) {
    RaceFrameTexts texts;
    const uint32_t time = timeline.time(k);
    const auto finish = timeline.finishTime();
    texts.status = finish && time > *finish ? ALL_CARS_FINISHED_TEXT : raceStatusText(timeline.statusCode(k));
    texts.elapsed = elapsedText(time);
    const int leaderLaps = timeline.leaderLapsBefore(time);
    if (leaderLaps > 0) {
        // After the leader's last crossing the race is on its last lap, never one more.
        const int current = std::min(leaderLaps + 1, timeline.raceLaps());
        texts.currentLap = std::to_string(current);
        texts.leader = raceDriverLabel(drivers, timeline.leader(current));
    }
    if (focused && *focused < timeline.driverCount()) fillDriverTexts(timeline, *focused, time, texts);
    return texts;
}

}  // namespace movrane
