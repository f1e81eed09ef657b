#include "core/replay/GetRpyInfo.h"

#include <cmath>

#include "core/replay/BufferedFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ParseCarStructs.h"

namespace movrane {

namespace {

struct SessionWindow {
    bool found = false;
    uint64_t frame = 0;
    uint32_t time = 0;
    uint64_t offset = 0;
};

// The fields both kinds of car record have.
template <class Record>
void copyCommonFields(const Record& r, LapSample& s) {
    s.lapPosition = r.lapPosition;
    s.gear = static_cast<int16_t>(r.gear());
    s.lateralRaw = r.lateral;
    s.rideHeightRaw = r.rideHeight;
    s.engineSpeedRaw = r.engineSpeed;
    s.orientation = static_cast<int16_t>(r.orientation);
    s.pitch = r.pitch;
    s.roll = r.roll;
    s.controlRaw = r.controlValue;
    s.coarseControl = r.coarseControlValue();
    s.steering = static_cast<int16_t>(r.steering);
}

void copyPlayerCar(const PlayerCarRecord& r, LapSample& s) {
    copyCommonFields(r, s);
    s.tyreSqueal = static_cast<uint8_t>(r.tyreSqueal);
    for (int w = 0; w < 4; ++w) {
        s.wheelState[w] = static_cast<uint8_t>(r.wheelState[w]);
        s.wheelValue[w] = r.wheelValue[w];
        s.suspension[w] = r.suspension[w];
    }
    s.oilPressure = static_cast<uint16_t>(r.oilPressure);
}

void copyControls(const PlayerControlsRecord& r, LapSample& s) {
    s.oilTemperature = r.oilTemperature;
    s.waterTemperature = r.waterTemperature;
    s.fuelPressure = static_cast<uint16_t>(r.fuelPressure);
    s.controlsWord = static_cast<uint16_t>(r.controlsWord);
}

void copyControlsValues(const LapSample& from, LapSample& to) {
    to.oilTemperature = from.oilTemperature;
    to.waterTemperature = from.waterTemperature;
    to.fuelPressure = from.fuelPressure;
    to.controlsWord = from.controlsWord;
}

void convert(LapSample& s, bool player) {
    s.distance = s.lapPosition * 0.0005;
    s.engineSpeed = std::tan(s.engineSpeedRaw * 0.001288481) * 4131.182;
    if (player) {
        s.lateral = std::tan(s.lateralRaw * 2.911741e-06) * 13.0;
        s.rideHeight = std::tan(s.rideHeightRaw * 0.0003759564) * 1.563264;
        s.control = s.controlRaw * 0.003921569;
    } else {
        s.lateral = std::tan(s.lateralRaw * 4.658918e-05) * 13.0;
        s.rideHeight = std::tan(s.rideHeightRaw * 0.003012801) * 0.7816317;
        s.control = std::tan(s.controlRaw * 0.04122431) * 0.305114;
    }
}

int64_t truncatedFrames(int frames) { return static_cast<int64_t>(frames * FRAME_MS); }

}  // namespace

int GetRpyInfo::load(const Drivers& drivers, uint32_t driverIndex, int lap, Session session) {
    *this = GetRpyInfo();
    driver_ = driverIndex;
    lap_ = lap;
    session_ = session;
    if (driverIndex >= drivers.count() || !drivers.lapValid(driverIndex, session, lap)) return fail(LAP_NOT_VALID);
    isPlayer_ = drivers.isPlayer(driverIndex);
    storedLapTime_ = drivers.lapTime(driverIndex, session, lap);
    const uint64_t lapStart = drivers.lapStartTime(driverIndex, session, lap);
    const uint64_t lapEnd = drivers.lapEndTime(driverIndex, session, lap);
    const uint32_t wantedSlot = drivers.driver(driverIndex).slot;

    BufferedFile file;
    if (!file.open(drivers.fileName())) return fail(CANNOT_OPEN);
    FrameWalker walker(file, drivers.streamOffset());
    if (!file.contains(drivers.streamOffset(), 12)) return fail(SEEK_FAILED);

    // First pass: the frames whose time stamps enclose the lap.
    const bool race = session == RACE;
    SessionWindow start;
    SessionWindow end;
    uint64_t frameNumber = 0;
    while (!end.found && walker.nextFrame()) {
        ++frameNumber;
        while (walker.nextItem()) {
            if (walker.item().type != ITEM_TIME_STAMP) continue;
            uint32_t word = 0;
            if (!walker.readPayloadU32(0, word)) return fail(BAD_ITEM);
            const uint32_t id = word & 0xFF;
            if (race ? id != drivers.raceSessionId() : id != 0) continue;
            const uint64_t t = uint64_t{word >> 8} * 10;
            if (!start.found && lapStart < t + 1050) {
                start = {true, frameNumber, static_cast<uint32_t>(t), walker.frame().offset};
            }
            if (t > lapEnd + 30) {
                end = {true, frameNumber, static_cast<uint32_t>(t), walker.frame().offset};
                break;
            }
        }
        if (walker.failed()) return fail(BAD_ITEM);
    }
    if (walker.failed()) return fail(BAD_ITEM);
    if (!start.found || !end.found) return fail(END_BEFORE_START);
    startFrame_ = start.frame;
    startTime_ = start.time;
    endFrame_ = end.frame + 2;
    endTime_ = end.time;
    if (endFrame_ < startFrame_) return fail(END_BEFORE_START);
    const int m = static_cast<int>(endFrame_ - startFrame_);

    // Second pass: one sample per frame from the start frame on. Frames the file does not
    // have (the window may reach past its last frame) stay samples without data.
    samples_.assign(static_cast<std::size_t>(m) + 2, LapSample{});
    ParseCarStructs parser;
    bool firstControls = true;
    if (!walker.enterFrame(start.offset)) return fail(BAD_ITEM);
    window_.offset = start.offset;
    for (int k = 1; k <= m; ++k) {
        if (k > 1 && !walker.nextFrame()) break;
        window_.end = walker.frame().end();
        window_.lastFrameLength = walker.frame().length;
        window_.frames = static_cast<uint32_t>(k);
        LapSample& s = samples_[k];
        while (walker.nextItem()) {
            const StreamItem& item = walker.item();
            if (item.type == ITEM_PLAYER_CAR && isPlayer_) {
                uint8_t raw[PLAYER_CAR_BYTES];
                if (!walker.readPayload(0, raw, sizeof raw)) return fail(BAD_ITEM);
                copyPlayerCar(parser.decodePlayerCar(raw), s);
                s.hasData = true;
                ++samplesWithData_;
            } else if (item.type == ITEM_PLAYER_CONTROLS && isPlayer_) {
                uint8_t raw[PLAYER_CONTROLS_BYTES];
                if (!walker.readPayload(0, raw, sizeof raw)) return fail(BAD_ITEM);
                copyControls(parser.decodePlayerControls(raw), s);
                if (firstControls) copyControlsValues(s, samples_[0]);
                firstControls = false;
            } else if (item.type == ITEM_OTHER_CARS && !isPlayer_) {
                const int records = item.payloadLength() / OTHER_CAR_BYTES;
                bool found = false;
                for (int r = 0; r < records && !found; ++r) {
                    uint8_t raw[OTHER_CAR_BYTES];
                    if (!walker.readPayload(static_cast<std::size_t>(r) * OTHER_CAR_BYTES, raw, sizeof raw)) {
                        return fail(BAD_ITEM);
                    }
                    if (otherCarSlot(raw) != wantedSlot) continue;
                    copyCommonFields(parser.decodeOtherCar(raw), s);
                    s.hasData = true;
                    ++samplesWithData_;
                    found = true;
                }
                if (!found) markMissing(s, k);
            }
        }
        if (walker.failed()) return fail(BAD_ITEM);
    }
    framesInWindow_ = m;
    sampleCount_ = m;
    return code_ = OK;
}

const char* GetRpyInfo::failureText() const {
    switch (code_) {
        case OK: return "no failure";
        case CANNOT_OPEN: return "the file cannot be opened";
        case SEEK_FAILED: return "the record stream lies outside the file";
        case BAD_ITEM: return "the record stream is damaged";
        case LAP_NOT_VALID: return "the lap's data is not stored in the file";
        case END_BEFORE_START: return "the lap's start or finish is missing from the record stream";
    }
    return "unknown failure";
}

GetRpyInfo GetRpyInfo::fromSamples(std::vector<LapSample> samples, bool player, int64_t startStep, int64_t endStep) {
    GetRpyInfo lap;
    if (samples.empty()) samples.resize(1);
    lap.sampleCount_ = static_cast<int>(samples.size()) - 1;
    samples.resize(samples.size() + 1);
    lap.samples_ = std::move(samples);
    lap.isPlayer_ = player;
    lap.lapStartStep_ = startStep;
    lap.lapEndStep_ = endStep;
    lap.code_ = OK;
    lap.trimmed_ = true;
    return lap;
}

// A frame without the car's record: counted, and the run of consecutive missing frames
// tells the longest gap.
void GetRpyInfo::markMissing(LapSample& s, int k) {
    ++missingFrames_;
    if (previousMissing_ == k - 1) {
        if (missingRun_ + 2 > longestGap_) longestGap_ = missingRun_ + 2;
        ++missingRun_;
    } else {
        missingRun_ = 0;
    }
    s.lapPosition = 0;
    s.gear = 0;
    s.rideHeightRaw = 0;
    s.lateralRaw = 0;
    s.engineSpeedRaw = 0;
    previousMissing_ = k;
}

void GetRpyInfo::trim(int margin) {
    const int m = sampleCount_;
    if (code_ != OK || trimmed_ || m < 1) return;
    auto position = [&](int k) -> int64_t {
        return k >= 1 && k <= m ? samples_[k].lapPosition : 0;
    };
    // Samples without data carry no position: the line is found between samples with data.
    auto nextWithData = [&](int k) {
        for (int j = k + 1; j <= m; ++j)
            if (samples_[j].hasData) return j;
        return 0;
    };
    auto previousWithData = [&](int k) {
        for (int j = k - 1; j >= 1; --j)
            if (samples_[j].hasData) return j;
        return 0;
    };
    int s = 1;
    for (int k = 1; k <= m; ++k) {
        const int next = samples_[k].hasData ? nextWithData(k) : 0;
        if (next != 0 && position(next) <= position(k)) {
            s = k;
            break;
        }
    }
    int e = m;
    for (int k = m; k >= 1; --k) {
        const int previous = samples_[k].hasData ? previousWithData(k) : 0;
        if (previous != 0 && position(previous) >= position(k)) {
            e = k;
            break;
        }
    }
    if (e <= s) e = std::min(m, s + 1);

    frameLapTime_ = (int64_t{endTime_} - startTime_) - truncatedFrames(s - 1) - truncatedFrames(m - e);
    lapStartStep_ = position(s + 1) == 0 ? position(s + 3) - position(s + 2) : position(s + 2) - position(s + 1);
    lapEndStep_ = position(e - 1) - position(e - 2);

    const int n = e - s + 2 * margin;
    std::vector<LapSample> kept(static_cast<std::size_t>(n) + 2, LapSample{});
    kept[0] = samples_[0];
    for (int k = 1; k <= n; ++k) {
        const int from = s + 1 - margin + (k - 1);
        if (from >= 1 && from <= m) kept[k] = samples_[from];
    }
    samples_ = std::move(kept);
    sampleCount_ = n;
    for (int k = 1; k <= n; ++k) convert(samples_[k], isPlayer_);
    applyControlsRules();
    trimmed_ = true;
}

// Controls values are not recorded in every frame: until the first real oil temperature
// a sample takes the first recorded values, afterwards a sample without values takes its
// predecessor's. The 7-bit temperatures wrap at 128: a 0 right after 127 is 128.
void GetRpyInfo::applyControlsRules() {
    bool seenOil = false;
    for (int k = 1; k <= sampleCount_; ++k) {
        LapSample& s = samples_[k];
        if (!seenOil) {
            if (s.oilTemperature != 0) {
                seenOil = true;
            } else {
                copyControlsValues(samples_[0], s);
            }
        } else if (s.oilTemperature == 0 && s.waterTemperature == 0) {
            copyControlsValues(samples_[k - 1], s);
        }
    }
    for (int k = 2; k <= sampleCount_; ++k) {
        LapSample& s = samples_[k];
        const LapSample& p = samples_[k - 1];
        if (s.oilTemperature == 0 && p.oilTemperature == 127) s.oilTemperature = 128;
        if (s.waterTemperature == 0 && p.waterTemperature == 127) s.waterTemperature = 128;
    }
}

}  // namespace movrane
