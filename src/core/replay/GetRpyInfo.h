#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/replay/ReplayLayout.h"

namespace movrane {

class Drivers;

// The bytes of the record stream a lap was read from: its frames from the window's start
// frame to the last frame the file had.
struct StreamWindow {
    uint64_t offset = 0;           // file offset of the first frame
    uint64_t end = 0;              // file offset just past the last frame
    uint16_t lastFrameLength = 0;  // length of the last frame
    uint32_t frames = 0;           // frames read
    uint64_t length() const { return end - offset; }
};

// One telemetry sample: one frame (1/36 s) of one car, raw fields and their physical values.
struct LapSample {
    bool hasData = false;  // the frame held a record of this car

    // Raw fields.
    uint32_t lapPosition = 0;
    int32_t lateralRaw = 0;
    uint32_t engineSpeedRaw = 0;
    uint32_t rideHeightRaw = 0;
    uint32_t controlRaw = 0;
    uint32_t coarseControl = 0;
    int16_t gear = 0;
    int16_t orientation = 0;
    int32_t pitch = 0;
    int32_t roll = 0;
    int16_t steering = 0;
    std::array<uint8_t, 4> wheelState{};
    std::array<uint32_t, 4> wheelValue{};
    std::array<int32_t, 4> suspension{};
    uint8_t tyreSqueal = 0;
    uint16_t oilPressure = 0;
    double oilTemperature = 0;
    double waterTemperature = 0;
    uint16_t fuelPressure = 0;
    uint16_t controlsWord = 0;

    // Converted values.
    double distance = 0;     // "Longitude": metres along the lap
    double lateral = 0;      // "Latitude": metres, positive to the left
    double engineSpeed = 0;  // revolutions per minute
    double rideHeight = 0;   // metres
    double control = 0;      // 0..1

    // Derived from the path over the track.
    int32_t worldX = 0;
    int32_t worldY = 0;
    double direction = 0;  // direction of motion, degrees
    double slipAngle = 0;
    double slipLessSteering = 0;
    double speed = 0;    // km/h
    double heading = 0;  // car heading, degrees
    double accX = 0;
    double accY = 0;
    double accXMean = 0;
    double accYMean = 0;
    double longAcc = 0;
    double latAcc = 0;
    double longAccMotion = 0;
    double latAccMotion = 0;
    double totalAcc = 0;
    std::array<uint8_t, 4> locked{};
};

// The samples of one lap of one driver, cut out of the record stream and trimmed to the line.
class GetRpyInfo {
public:
    enum Code { OK = 0, CANNOT_OPEN = 1, SEEK_FAILED = 2, BAD_ITEM = 3, LAP_NOT_VALID = 4, END_BEFORE_START = 5 };
    static const char* errorMessage() { return "RpyDataClass: Error reading file!"; }
    // Why load failed, in words a person can act on.
    const char* failureText() const;

    int load(const Drivers& drivers, uint32_t driverIndex, int lap, Session session);
    // A trimmed lap made of given samples (entry 0 and samples 1..n), for analyses of
    // laps that did not come from a replay, with the raw progress per frame at the lines.
    static GetRpyInfo fromSamples(std::vector<LapSample> samples, bool player = true, int64_t startStep = 0,
                                  int64_t endStep = 0);
    // Keeps the lap between the lines with `margin` extra samples on each side and converts
    // every channel into physical units.
    void trim(int margin);

    int code() const { return code_; }
    bool trimmed() const { return trimmed_; }
    // Sample count n; samples are 1..n, entry 0 holds the first controls values.
    int sampleCount() const { return sampleCount_; }
    const LapSample& sample(int k) const { return samples_.at(static_cast<std::size_t>(k)); }
    LapSample& sample(int k) { return samples_.at(static_cast<std::size_t>(k)); }
    const std::vector<LapSample>& samples() const { return samples_; }

    uint32_t driverIndex() const { return driver_; }
    bool isPlayer() const { return isPlayer_; }
    int lap() const { return lap_; }
    Session session() const { return session_; }
    uint32_t storedLapTime() const { return storedLapTime_; }

    int framesInWindow() const { return framesInWindow_; }
    int samplesWithData() const { return samplesWithData_; }
    int missingFrames() const { return missingFrames_; }
    int longestGap() const { return longestGap_; }
    uint64_t startFrame() const { return startFrame_; }
    uint64_t endFrame() const { return endFrame_; }
    uint32_t startTime() const { return startTime_; }
    uint32_t endTime() const { return endTime_; }
    // Where the lap's window lies in the file (set by load).
    const StreamWindow& streamWindow() const { return window_; }
    // Lap time from the frames between the lines (set by trim).
    int64_t frameLapTime() const { return frameLapTime_; }
    int64_t lapStartStep() const { return lapStartStep_; }
    int64_t lapEndStep() const { return lapEndStep_; }

    // Quarter-lap split times in ms (0 while the distance was not passed); set by the derivation.
    std::array<int64_t, 3> splitTimes{};

private:
    int fail(int code) { return code_ = code; }
    void markMissing(LapSample& s, int k);
    void applyControlsRules();

    int code_ = CANNOT_OPEN;
    bool trimmed_ = false;
    std::vector<LapSample> samples_;
    int sampleCount_ = 0;
    uint32_t driver_ = 0;
    bool isPlayer_ = false;
    int lap_ = 0;
    Session session_ = PRACTICE;
    uint32_t storedLapTime_ = 0;
    int framesInWindow_ = 0;
    int samplesWithData_ = 0;
    int missingFrames_ = 0;
    int longestGap_ = 0;
    int missingRun_ = 0;
    int previousMissing_ = 0;
    uint64_t startFrame_ = 0;
    uint64_t endFrame_ = 0;
    StreamWindow window_;
    uint32_t startTime_ = 0;
    uint32_t endTime_ = 0;
    int64_t frameLapTime_ = 0;
    int64_t lapStartStep_ = 0;
    int64_t lapEndStep_ = 0;
};

}  // namespace movrane
