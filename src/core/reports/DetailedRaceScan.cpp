#include "core/reports/DetailedRaceScan.h"

#include <algorithm>
#include <numeric>

#include "core/replay/BufferedFile.h"
#include "core/replay/FrameWalker.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {
constexpr int64_t MOVING = 301;          // raw units per frame: a car at least this fast is racing
constexpr int64_t STATIONARY = 300;      // below this a passed car is standing
constexpr int64_t RESET_STILL = 50;      // a reset car stood still in the frame before
constexpr int32_t RESET_JUMP = 30001;    // lateral jump of a car put back into the pits
constexpr uint32_t RESET_PAUSE_MS = 1000;
constexpr uint32_t LATE_START_MS = 3000;
constexpr double NEAR_LINE_SHARE = 0.95;
constexpr double METRES_PER_RAW = 0.0005;
constexpr uint32_t STATUS_GREEN_RAISED = 32;
constexpr uint32_t STATUS_LINING_UP = 12;
constexpr uint32_t STATUS_GREEN_ARMED = 1056;
constexpr uint32_t STATUS_GREEN_DROPS = 40;
constexpr uint64_t EMPTY_TIME = EMPTY_BASE_WORD & LAP_TIME_MASK;
}  // namespace

DetailedRaceScan::DetailedRaceScan(const ReportData& data, CarStateTable& carStates, double lapLength, Append append)
    : data_(data),
      carStates_(carStates),
      lapLength_(lapLength),
      append_(std::move(append)),
      mechanical_(data, carStates, append_),
      cars_(data.drivers()),
      field_(cars_.driverCount()) {
    std::optional<uint64_t> winner;
    std::optional<uint64_t> last;
    const int leaderLaps = data_.maxRaceLaps();
    for (uint32_t d = 0; d < field_.size(); ++d) {
        Car& car = field_[d];
        motion_.inRace[d] = data_.startedRace(d);
        for (int lap = 0; lap <= data_.raceLaps(d); ++lap) car.cumulative.push_back(data_.cumulative(d, lap));
        car.finish = car.cumulative.back();
        car.earliestFrom = car.cumulative;
        for (std::size_t lap = car.earliestFrom.size() - 1; lap-- > 0;)
            car.earliestFrom[lap] = std::min(car.earliestFrom[lap], car.earliestFrom[lap + 1]);
        if (!motion_.inRace[d]) continue;
        if (data_.raceLaps(d) == leaderLaps && (!winner || car.finish < *winner)) winner = car.finish;
        if (car.finish != EMPTY_TIME && (!last || car.finish > *last)) last = car.finish;
    }
    winnerFinish_ = winner.value_or(0);
    lastFinish_ = last.value_or(UINT64_MAX);
}

void DetailedRaceScan::run() {
    if (!data_.drivers().racePresent()) {
        append_("This replay file does not contain race data.");
        return;
    }
    // Only a replay that holds every car's position tells the race: an offline race or a
    // multiplayer race saved by the server, where the player's car is the first driver's.
    if (data_.driverCount() == 0 || data_.drivers().playerIndex() != data_.drivers().driver(0).slot) {
        append_("This report is really only useful if run on\r\nan offline race replay or on a multiplayer\r\n"
                "replay saved by the server. Aborting report...");
        return;
    }
    for (auto& car : carStates_) car.fill(0);
    append_("\r\nDETAILED RACE REPORT\r\n\r\n");
    BufferedFile file;
    if (beginReplayScan(append_, data_.replayPath(), file)) walkStream(file);
}

void DetailedRaceScan::walkStream(BufferedFile& file) {
    FrameWalker walker(file, data_.drivers().streamOffset());
    uint64_t framesRead = 0;
    while (walker.nextFrame()) {
        ++framesRead;
        cars_.startFrame();
        walker.forEachItem([&](const StreamItem& item, const uint8_t* payload) {
            switch (item.type) {
                case ITEM_PLAYER_CAR:
                case ITEM_OTHER_CARS:
                    if (raceFound_) cars_.readItem(item, payload);
                    break;
                case ITEM_RACE_STATUS: raceStatusItem(item, payload); break;
                case ITEM_CAR_CONDITION: mechanical_.conditionItem(item, payload); break;
                case ITEM_TIME_STAMP: timeStampItem(item, payload, framesRead); break;
                default: break;
            }
        });
        if (walker.failed()) break;
        takeCars();
        endOfFrame();
    }
    if (walker.failed()) {
        // A damaged stream must not look like a complete race.
        append_("\r\nThe replay's record stream is damaged at file offset " + std::to_string(walker.failureOffset()) +
                " (" + walkStatusText(walker.status()) + ") - detection stopped there.\r\n");
    } else {
        append_("\r\nEnd of replay file found - stopping detection.\r\n");
    }
    std::string summary = "\r\nSummary of Shift-R (for detection method B):\r\n";
    for (uint32_t d = 0; d < field_.size(); ++d) summary += name(d) + " - " + std::to_string(field_[d].resets) + CRLF;
    append_(summary);
    append_("\r\nNote that the Shift-R detection isn't 100% perfect. It might detect a Shift-R"
            "\r\nthat never happened, and it might not detect a shift-R that really took place."
            "\r\nIf you find any such errors, please contact us so we can try to fix the problem.\r\n");
    append_(std::string(CRLF) + REPORT_FOOTER);
}

// The start signals: the green flag raised after lining up, and dropped.
void DetailedRaceScan::raceStatusItem(const StreamItem& item, const uint8_t* payload) {
    const std::optional<uint32_t> word = payloadWord(item, payload);
    if (!word) return;
    const uint32_t status = *word >> 16;
    if (previousStatus_ == STATUS_LINING_UP && status == STATUS_GREEN_RAISED) {
        timeLine("The starter raises the green flag...\r\n");
    } else if (previousStatus_ == STATUS_GREEN_ARMED && status == STATUS_GREEN_DROPS) {
        timeLine("The starter drops the green flag!\r\n");
    }
    previousStatus_ = status;
}

void DetailedRaceScan::takeCars() {
    // FrameCars keeps each car's fields as last seen, as the field does; drivers past the
    // field are never seen.
    motion_.seen = cars_.seenFlags();
    motion_.position = cars_.positions();
    motion_.lateral = cars_.laterals();
    motion_.gear = cars_.gears();
}

void DetailedRaceScan::timeStampItem(const StreamItem& item, const uint8_t* payload, uint64_t framesRead) {
    const std::optional<uint32_t> stamp = payloadWord(item, payload);
    if (!stamp) return;
    const uint32_t word = *stamp;
    takeCars();
    const bool first = mechanical_.announceStart(word, framesRead);
    now_ = mechanical_.currentTime();
    if (first && MechanicalScan::isRaceStamp(word, data_.drivers()) && now_ > LATE_START_MS) {
        append_("\r\nNOTE! This replay does not cover the start of the race.\r\n"
                "This means a lot of the features of this report will not work.\r\n"
                "It will basicly produce the same output as the \"Mechanical Report\"\r\n");
    }
    raceFound_ = mechanical_.findRace(word);
    if (!raceFound_) return;
    if (!fieldOnGrid_ && fieldComplete()) {
        fieldOnGrid_ = true;
        append_("All drivers on grid, logging position changes etc\r\n");
    }
    if (fieldOnGrid_) {
        countLaps();
        placeCars();
        reportOvertakes();
    }
    mechanical_.leaderLap();
    if (!allCrossed_ && lastFinish_ < now_) {
        allCrossed_ = true;
        append_("\r\nAll drivers have crossed the finish line.\r\n");
    }
}

bool DetailedRaceScan::fieldComplete() const {
    for (uint32_t d = 0; d < field_.size(); ++d) {
        if (motion_.inRace[d] && motion_.position[d] == UNSET) return false;
    }
    return true;
}

// Laps completed at the current time; a car that has not reached the line yet (the lap
// table says the lap is done, the car is still in the last 5 % of it) is one lap short.
void DetailedRaceScan::countLaps() {
    for (uint32_t d = 0; d < field_.size(); ++d) {
        Car& car = field_[d];
        if (!motion_.inRace[d]) continue;
        const uint32_t position = motion_.position[d];
        // The last lap whose time lies before now: the laps from L on hold such a time
        // exactly while the earliest of them is one, so a binary search over the earliest
        // finds it whatever order a damaged lap table's times are in.
        const auto allLater = std::partition_point(car.earliestFrom.begin(), car.earliestFrom.end(),
                                                   [this](uint64_t time) { return time < now_; });
        int laps = static_cast<int>(allLater - car.earliestFrom.begin()) - 1;
        const bool nearLine = position != UNSET && lapLength_ > 0 && position * METRES_PER_RAW / lapLength_ > NEAR_LINE_SHARE;
        if (laps > car.lapsAtPreviousStamp && nearLine) --laps;
        car.laps = laps;
        car.lapsAtPreviousStamp = laps;
    }
}

// The order by race distance, largest first; on the same position the higher index is ahead.
void DetailedRaceScan::placeCars() {
    std::vector<uint32_t> order(field_.size());
    std::iota(order.begin(), order.end(), 0u);
    for (uint32_t d = 0; d < field_.size(); ++d) {
        Car& car = field_[d];
        const uint32_t position = motion_.position[d];
        car.distance =
            position == UNSET ? -lapLength_ : (position + 0.001 * d) * METRES_PER_RAW + car.laps * lapLength_;
    }
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        return field_[a].distance != field_[b].distance ? field_[a].distance > field_[b].distance : a > b;
    });
    for (std::size_t place = 0; place < order.size(); ++place) {
        Car& car = field_[order[place]];
        car.previousPlace = car.place;
        car.place = place;
    }
}

// Compares with the order of the previous stamp; the first order of a complete field only
// sets the start.
void DetailedRaceScan::reportOvertakes() {
    // An overtake moves both cars; an order that stayed as it was has none.
    const bool reordered =
        std::any_of(field_.begin(), field_.end(), [](const Car& c) { return c.previousPlace && c.place != c.previousPlace; });
    if (!reordered) return;
    const bool finished = winnerFinish_ < now_;
    for (uint32_t d = 0; d < field_.size(); ++d) {
        const Car& car = field_[d];
        if (!car.previousPlace || (finished && car.finish < now_)) continue;
        for (uint32_t w = 0; w < field_.size(); ++w) {
            const Car& other = field_[w];
            if (w == d || !other.previousPlace) continue;
            if (*other.previousPlace < *car.previousPlace && *other.place > *car.place) overtake(d, w);
        }
    }
}

void DetailedRaceScan::overtake(uint32_t d, uint32_t w) {
    const Car& car = field_[d];
    const Car& other = field_[w];
    std::string line = name(d) + " overtakes ";
    const Motion& m = motion_;
    if (m.disconnected[w]) {
        line += "the disconnected ";
    } else if (other.retired) {
        line += "the retired ";
    } else if (m.moved[w] < STATIONARY) {
        line += "the stationary ";
    }
    line += name(w) + " for position " + std::to_string(*car.place + 1);
    if (!m.disconnected[w] && !other.retired && m.moved[w] >= MOVING) {
        // A car that stood in the frame before and moves now has moved off: acceleration,
        // without dividing by 0. One still standing neither accelerates nor brakes.
        if (m.previousMoved[d] == 0) {
            if (m.moved[d] > 0) line += " under acceleration";
        } else {
            const double ratio = static_cast<double>(m.moved[d]) / static_cast<double>(m.previousMoved[d]);
            if (ratio > 1.01) line += " under acceleration";
            if (ratio < 0.99 && ratio >= 0) line += " under braking";
        }
    }
    timeLine(line + ".\r\n");
}

// Every car's movement in the frame. Every event needs a car that is missing, disconnected
// or put back to the pits (a jump sideways); the cars that just drive on take only the
// vectorised passes.
void DetailedRaceScan::endOfFrame() {
    Motion& m = motion_;
    int32_t events = 0;
    for (std::size_t d = 0; d < MAX_SLOTS; ++d) {
        m.previousMoved[d] = m.moved[d];
        const int32_t bothSeen = (m.position[d] != UNSET) & (m.previousPosition[d] != UNSET);
        m.moved[d] = static_cast<int32_t>(m.position[d] - m.previousPosition[d]) & -bothSeen;
        const int32_t sideways = m.lateral[d] - m.previousLateral[d];
        const int32_t jumped = (sideways >= RESET_JUMP) | (sideways <= -RESET_JUMP);
        m.eventPossible[d] = m.inRace[d] & ((m.seen[d] ^ 1) | m.disconnected[d] | jumped);
        events |= m.eventPossible[d];
    }
    if (fieldOnGrid_ && events != 0) {
        for (uint32_t d = 0; d < field_.size(); ++d) {
            if (!m.eventPossible[d]) continue;
            const int32_t sideways = m.lateral[d] - m.previousLateral[d];
            carEvents(d, sideways >= RESET_JUMP || sideways <= -RESET_JUMP);
        }
    }
    m.previousPosition = m.position;
    m.previousLateral = m.lateral;
    m.seenBefore = m.seen;
}

void DetailedRaceScan::carEvents(uint32_t d, bool jumped) {
    Car& car = field_[d];
    Motion& m = motion_;
    const bool seen = m.seen[d] != 0;
    const bool finishedLaps = car.finish < now_;
    if (!seen && m.previousMoved[d] >= MOVING && finishedLaps) {
        timeLine(name(d) + " gets disconnected while racing in position " + std::to_string(car.place.value_or(0) + 1) +
                 ".\r\n");
        m.disconnected[d] = 1;
    }
    if (!m.disconnected[d] && !car.retired && !seen && finishedLaps) {
        timeLine(name(d) + (car.finish >= winnerFinish_ ? " drives into parc ferme.\r\n" : " retires.\r\n"));
        car.retired = true;
    }
    if (m.disconnected[d] && seen && m.moved[d] != 0) {
        timeLine("The disconnected " + name(d) + " resurrects, didn't disco after all.\r\n");
        m.disconnected[d] = 0;
    }
    const bool pauseOver = !car.lastReset || now_ - *car.lastReset > RESET_PAUSE_MS;
    if (jumped && m.previousMoved[d] < RESET_STILL && seen && m.seenBefore[d] && m.gear[d] == 0 && pauseOver) {
        timeLine(name(d) + " makes a Shift-R? (detection method B)\r\n");
        ++car.resets;
        car.lastReset = now_;
        m.disconnected[d] = 0;
    }
}

void DetailedRaceScan::timeLine(const std::string& text) { append_("\r\n" + formatTime(now_) + "\r\n" + text); }

}  // namespace movrane
