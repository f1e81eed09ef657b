#include "core/replay/ReplayWriters.h"

#include <algorithm>
#include <cmath>

#include "core/replay/BufferedFile.h"
#include "core/replay/ByteOrder.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

namespace {

// Fields of the fixed part that both writers set.
constexpr std::size_t SIZE_FIELD = 8;
constexpr std::size_t FRAMES_FIELD = 40;
constexpr std::size_t STREAM_LENGTH_FIELD = 44;
constexpr std::size_t LAST_FRAME_FIELD = 48;

constexpr uint32_t CREATOR_SLOT = 0;
constexpr char CREATOR_NAME_1[] = "MovraneCreator";
constexpr char CREATOR_NAME_2[] = "MOVRN";
constexpr char STANDARD_CAR[] = "NOT APPLICABLE";
constexpr uint32_t TIME_STAMP_LENGTH = 8;
constexpr uint32_t LAP_ENTRY_SIZE = 24;
constexpr uint32_t FRAME_HEADER_SIZE = 8;

// A text field of `width` bytes: at most width - 1 characters, the rest zero.
void appendText(std::string& out, const std::string& text, std::size_t width) {
    const std::size_t n = std::min(text.size(), width - 1);
    out.append(text, 0, n);
    out.append(width - n, '\0');
}

void appendChunkHeader(std::string& out, const char tag[5], uint32_t size) {
    out.append(tag, 4);
    appendU32LE(out, 0);
    appendU32LE(out, size);
}

// Conversions undone in floating point can land a hair below the raw value they came
// from; such a value is taken as that raw value instead of being cut one lower.
int64_t truncateRaw(double value) {
    const double nearest = std::round(value);
    if (std::fabs(value - nearest) < 1e-6) return static_cast<int64_t>(nearest);
    return static_cast<int64_t>(value);
}

uint32_t lowBits(int64_t value, unsigned width) {
    return static_cast<uint32_t>(value) & ((1u << width) - 1);
}

// The other-car record of one sample: the inverse of the other cars' conversions.
std::array<uint8_t, OTHER_CAR_BYTES> encodeSample(const LapSample& s, uint32_t slot, uint32_t frame) {
    OtherCarRecord r;
    r.unused2 = frame % 1024;
    r.pitch = s.pitch;
    r.engineSpeed = lowBits(truncateRaw(std::atan(s.engineSpeed * 0.0002420614729634279) * 776.1076802839933), 10);
    r.lapPosition = lowBits(truncateRaw(s.distance * 2000), 26);
    r.slot = slot;
    r.lateral = static_cast<int32_t>(
        lowBits(truncateRaw(std::atan(s.lateral * 0.07535159052137273) * 21464.211218141205), 16));
    r.controlValue = lowBits(truncateRaw(std::atan(s.control * 3.2774635054438668) * 24.25753153903607), 5);
    r.rideHeight = lowBits(truncateRaw(std::atan(s.rideHeight * 1.2793749281151212) * 331.9170433095316), 9);
    r.steering = s.steering;
    r.orientation = s.orientation;
    r.roll = s.roll;
    r.gearCode = lowBits(s.gear + 1, 3);
    return encodeOtherCar(r);
}

struct DriverFields {
    std::string name1;
    std::string name2;
    uint8_t nationality = 0;
    uint32_t carMake = 0;
    uint32_t keptValue = 0;
    uint32_t slot = 0;
    uint32_t word148 = 0;
};

void appendDriverRecord(std::string& out, const DriverFields& d) {
    appendChunkHeader(out, "TNRD", 139);
    appendText(out, d.name1, 16);
    appendText(out, d.name2, 16);
    appendU32LE(out, 0);
    appendU32LE(out, d.nationality);
    appendText(out, STANDARD_CAR, 32);
    appendText(out, STANDARD_CAR, 32);
    appendU32LE(out, 1);
    appendU32LE(out, d.carMake);
    appendU32LE(out, 3);
    appendU32LE(out, d.keptValue);
    appendU32LE(out, 3);
    appendU32LE(out, d.slot);
    appendU32LE(out, d.slot);  // car number
    appendU32LE(out, 150);
    appendU32LE(out, d.word148);
}

// The part before the driver records: header block and session block.
void appendFixedPart(std::string& out, const std::string& trackName) {
    appendChunkHeader(out, "YLPR", 0);
    putU32LE(out, 4, 2);
    appendChunkHeader(out, "DHPR", 76);
    appendText(out, trackName.substr(0, 8), 9);
    out.resize(56, '\0');  // the zero words and the lengths filled in at the end
    appendText(out, CREATOR_NAME_1, 16);
    appendText(out, CREATOR_NAME_2, 8);
    out.resize(100, '\0');
    appendChunkHeader(out, "FNKW", 181);
    appendText(out, trackName, 16);
    appendText(out, "cars67", 8);
    out.resize(FIXED_PART_SIZE, '\0');
}

// Where a car of the merge is: lap j's sample s stands in frame s + shift(j).
struct MergedCar {
    const MergedLap* lap;
    uint32_t slot;
    int64_t shift;
    uint32_t baseTime;  // session time of its start line crossing
    uint32_t lapStamp;  // its lap's stamp: base time + lap time, the lap word's flags kept
};

double frameTime(int64_t frame) { return MERGED_FIRST_FRAME_MS + (frame - 1) * 1000.0 / FRAMES_PER_SECOND; }

// The car crossed the line between samples 1 and 2, position[2] / start step frames before
// sample 2; a crossing at the stream's first frame is put just after the first time stamp,
// so that the lap lies inside the session.
uint32_t startCrossing(const GetRpyInfo& lap, int64_t shift) {
    const double step = static_cast<double>(lap.lapStartStep());
    const double past = lap.sampleCount() >= 2 && step > 0
                            ? std::clamp(lap.sample(2).lapPosition / step, 0.0, 1.0)
                            : 0.5;
    const double t = frameTime(2 + shift) - past * 1000.0 / FRAMES_PER_SECOND;
    return std::max(static_cast<uint32_t>(t), MERGED_FIRST_FRAME_MS + 1);
}

void appendFrame(std::string& out, const std::vector<MergedCar>& cars, int64_t frame, uint16_t& previousLength) {
    std::vector<std::array<uint8_t, OTHER_CAR_BYTES>> records;
    for (const MergedCar& car : cars) {
        const int64_t s = frame - car.shift;
        if (s < 1 || s > car.lap->lap->sampleCount()) continue;
        const LapSample& sample = car.lap->lap->sample(static_cast<int>(s));
        if (sample.hasData) records.push_back(encodeSample(sample, car.slot, static_cast<uint32_t>(frame)));
    }
    const bool stamped = (frame - 1) % FRAMES_PER_SECOND == 0;
    const uint32_t carsLength = 4 + OTHER_CAR_BYTES * static_cast<uint32_t>(records.size());
    const auto length = static_cast<uint16_t>(FRAME_HEADER_SIZE + (stamped ? TIME_STAMP_LENGTH : 0) + carsLength);
    appendU16LE(out, length);
    appendU16LE(out, previousLength);
    appendU32LE(out, static_cast<uint32_t>(frame));
    if (stamped) {
        // Session id 0 in the low byte, the session time in hundredths above it.
        const auto hundredths = static_cast<uint32_t>(std::lround(frameTime(frame) / 10));
        appendU16LE(out, ITEM_TIME_STAMP);
        appendU16LE(out, TIME_STAMP_LENGTH);
        appendU32LE(out, hundredths << 8);
    }
    appendU16LE(out, ITEM_OTHER_CARS);
    appendU16LE(out, static_cast<uint16_t>(carsLength));
    for (const auto& r : records) out.append(reinterpret_cast<const char*>(r.data()), r.size());
    previousLength = length;
}

// Frames up to the last sample of every car, and far enough for a time stamp more than
// 30 ms after every lap's end (the lap loading closes a lap's window there). The end is
// counted from the base time unwrapped: a damaged lap time close to the 24-bit limit
// wraps the stamp below the base time, which must not turn into billions of frames.
int64_t mergedFrameCount(const std::vector<MergedCar>& cars) {
    int64_t frames = 1;
    uint64_t latestEnd = 0;
    for (const MergedCar& car : cars) {
        frames = std::max(frames, car.shift + car.lap->lap->sampleCount());
        latestEnd = std::max(latestEnd, uint64_t{car.baseTime} + (car.lap->lapWord & LAP_TIME_MASK));
    }
    const uint64_t needed = latestEnd + 31 - MERGED_FIRST_FRAME_MS;  // base times lie past the first frame
    const auto seconds = static_cast<int64_t>((needed + 999) / 1000);
    return std::max(frames, 1 + seconds * FRAMES_PER_SECOND + 2);
}

}  // namespace

std::optional<std::string> extractedReplay(const std::string& sourcePath, uint64_t streamOffset,
                                           const StreamWindow& window) {
    BufferedFile file;
    if (!file.open(sourcePath) || window.frames == 0 || window.end < window.offset) return std::nullopt;
    const uint64_t headLength = streamOffset + CHUNK_HEADER_SIZE;
    const uint64_t windowLength = window.length();
    if (headLength < FIXED_PART_SIZE || window.offset < headLength || windowLength > UINT32_MAX ||
        headLength + windowLength > UINT32_MAX || !file.contains(window.offset, windowLength)) {
        return std::nullopt;
    }
    std::string bytes(headLength + windowLength, '\0');
    if (!file.readAt(0, bytes.data(), headLength) ||
        !file.readAt(window.offset, bytes.data() + headLength, windowLength)) {
        return std::nullopt;
    }
    const auto w = static_cast<uint32_t>(windowLength);
    putU32LE(bytes, SIZE_FIELD, w + static_cast<uint32_t>(streamOffset));
    putU32LE(bytes, FRAMES_FIELD, window.frames + 1);
    putU32LE(bytes, STREAM_LENGTH_FIELD, w);
    putU16LE(bytes, LAST_FRAME_FIELD, window.lastFrameLength);
    putU32LE(bytes, streamOffset + 8, w);
    return bytes;
}

uint32_t mergeOffsetFrames(double milliseconds) {
    return static_cast<uint32_t>(milliseconds * 0.035999999997119995 + 0.5);
}

std::string mergedReplay(const std::string& trackName, const std::vector<MergedLap>& laps) {
    uint32_t lead = 0;
    for (const MergedLap& lap : laps) lead = std::max(lead, lap.offsetFrames);
    std::vector<MergedCar> cars;
    for (std::size_t j = 0; j < laps.size(); ++j) {
        const MergedLap& lap = laps[j];
        const int64_t shift = int64_t{lead} - lap.offsetFrames;
        const uint32_t base = startCrossing(*lap.lap, shift);
        const uint32_t end = (base + (lap.lapWord & LAP_TIME_MASK)) & LAP_TIME_MASK;
        cars.push_back({&lap, static_cast<uint32_t>(j + 1), shift, base, (lap.lapWord & ~LAP_TIME_MASK) | end});
    }
    const int64_t frames = mergedFrameCount(cars);
    const auto n = static_cast<uint32_t>(laps.size());

    std::string out;
    out.reserve(FIXED_PART_SIZE + 12 + DRIVER_RECORD_SIZE * (n + 1) + 12 + LAP_ENTRY_SIZE * n + 12 +
                static_cast<std::size_t>(frames) * (FRAME_HEADER_SIZE + TIME_STAMP_LENGTH + 4 + OTHER_CAR_BYTES * n));
    appendFixedPart(out, trackName);
    appendChunkHeader(out, "SLRD", DRIVER_RECORD_SIZE * (n + 1));
    appendDriverRecord(out, {CREATOR_NAME_1, CREATOR_NAME_2, 24, 4, 0, CREATOR_SLOT, 0x20010100});
    for (const MergedCar& car : cars) {
        const DriverRecord& d = *car.lap->driver;
        appendDriverRecord(out, {d.name1.substr(0, 1) + " merged", d.name2, d.nationalityIndex, d.carMake,
                                 d.keptValue, car.slot, 0x20000100});
    }
    appendChunkHeader(out, "BTPL", LAP_ENTRY_SIZE * n);
    for (const MergedCar& car : cars) {
        appendChunkHeader(out, "ORPL", 12);
        appendU32LE(out, car.slot);
        appendU32LE(out, car.baseTime);
        appendU32LE(out, car.lapStamp);
    }
    const std::size_t streamChunk = out.size();
    appendChunkHeader(out, "PTPR", 0);
    uint16_t lastLength = 0;
    for (int64_t frame = 1; frame <= frames; ++frame) appendFrame(out, cars, frame, lastLength);

    const auto streamLength = static_cast<uint32_t>(out.size() - streamChunk - CHUNK_HEADER_SIZE);
    putU32LE(out, SIZE_FIELD, static_cast<uint32_t>(out.size()));
    putU32LE(out, FRAMES_FIELD, static_cast<uint32_t>(frames));
    putU32LE(out, STREAM_LENGTH_FIELD, streamLength);
    putU16LE(out, LAST_FRAME_FIELD, lastLength);
    putU32LE(out, streamChunk + 8, streamLength);
    return out;
}

}  // namespace movrane
