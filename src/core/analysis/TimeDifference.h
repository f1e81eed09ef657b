#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/GraphChannels.h"

namespace movrane {

class GetRpyInfo;

// What the time difference reads of one lap: samples 1..n with their lap distance in
// metres and in raw units of 0.0005 m, the progress per sample at the start line (raw
// units) and the replay's stored lap time.
struct TimedLap {
    std::vector<double> distance;   // index k = sample k; entry 0 unused
    std::vector<uint32_t> position;  // likewise
    double startStep = 0;
    uint32_t storedLapTime = 0;  // ms, low 24 bits

    static TimedLap of(const GetRpyInfo& lap);
    int sampleCount() const { return static_cast<int>(distance.size()) - 1; }
    // Seconds from the start line to sample 2.
    double startOffset() const;
};

// How much time the first lap loses (positive) or gains on the second along the lap.
struct TimeDifference {
    int gridPoints = 0;  // N
    double step = 0;     // metres between grid points
    std::vector<double> diff;  // ms; entries 3 .. N-1 and N+1 (the finish line)
    double max = 0;  // >= 0, over 3 .. N-1
    double min = 0;  // <= 0
    // The last grid x the computation reached: N x step.
    double xExtent() const { return gridPoints * step; }
    double atFinish() const { return diff.at(static_cast<std::size_t>(gridPoints + 1)); }
    // The grid points that carry a difference, and their distances, finish line last.
    std::vector<GraphPoint> points() const;
};

constexpr int MAX_GRID_POINTS = 1000;

TimeDifference computeTimeDifference(const TimedLap& first, const TimedLap& second);

// The curve over a graph whose y axis shows `yRange`: centred, 99 % of the half height on
// the side of the largest difference; flat at the centre when every difference is 0.
struct TimeDifferenceCurve {
    double centre = 0;
    double scale = 0;
    std::vector<GraphPoint> curve;
    std::vector<GraphPoint> zeroLine;
};
TimeDifferenceCurve placeTimeDifference(const TimeDifference& td, AxisRange yRange);

// The "Time Difference Info" window.
struct TimeDifferenceInfo {
    static constexpr std::array<const char*, 5> LABELS = {"Max ahead:", "Max behind:", "At finish line:", "Spread:",
                                                          "At current pos:"};
    std::string header;  // the first lap's label + " is:"
    std::string maxAhead;
    std::string maxBehind;
    std::string atFinish;
    std::string spread;
    std::string atCurrentPos;
    // The fields as (label, text), in the order of LABELS.
    std::array<std::pair<std::string, std::string>, 5> fields() const;
};
TimeDifferenceInfo timeDifferenceInfo(const TimeDifference& td, const std::string& firstLapLabel);

// "At current pos" for graph position x: the difference at the grid point under x, or ""
// left of the third grid point and past the last one.
std::string timeDifferenceAt(const TimeDifference& td, double x);
// The tool text extension of a graph point: ", timediff=" and the curve's value at y.
std::string timeDifferenceToolText(const TimeDifferenceCurve& curve, double y);

// The two laps compared: exactly two ticked boxes, the lower one first.
std::optional<std::pair<int, int>> timeDifferenceLaps(const std::array<bool, 5>& ticked);

}  // namespace movrane
