#include "core/analysis/TimeDifference.h"

#include <algorithm>
#include <cmath>

#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

namespace {

constexpr double SAMPLES_PER_SECOND = 36.0;
constexpr double METRES_PER_UNIT = 0.0005;
constexpr int FIRST_GRID_POINT = 3;
constexpr uint32_t TIME_MASK = 0xFFFFFF;

// Moves a sample index forward at least once and on to the first sample at or past
// target, never beyond the lap's last sample.
int advance(const TimedLap& lap, int index, double target) {
    const int last = lap.sampleCount();
    do {
        if (index < last) ++index;
    } while (index < last && lap.distance[static_cast<std::size_t>(index)] < target);
    return index;
}

uint32_t lastTimedPosition(const TimedLap& lap) {
    const int n = lap.sampleCount();
    return n >= 2 ? lap.position[static_cast<std::size_t>(n - 2)] : 0;
}

// A time text with "+" or "-" in front; a zero has no sign.
std::string signedText(bool positive, int64_t magnitude) {
    const std::string text = lapTimeText(static_cast<uint32_t>(magnitude) & TIME_MASK);
    if (magnitude == 0) return text;
    return (positive ? "+" : "-") + text;
}

int64_t truncated(double value) { return static_cast<int64_t>(value); }
int64_t rounded(double magnitude) { return static_cast<int64_t>(magnitude + 0.5); }

}  // namespace

TimedLap TimedLap::of(const GetRpyInfo& lap) {
    TimedLap timed;
    const std::size_t size = static_cast<std::size_t>(lap.sampleCount()) + 1;
    timed.distance.resize(size);
    timed.position.resize(size);
    for (std::size_t k = 1; k < size; ++k) {
        timed.distance[k] = lap.sample(static_cast<int>(k)).distance;
        timed.position[k] = lap.sample(static_cast<int>(k)).lapPosition;
    }
    timed.startStep = static_cast<double>(lap.lapStartStep());
    timed.storedLapTime = lap.storedLapTime() & TIME_MASK;
    return timed;
}

double TimedLap::startOffset() const {
    if (sampleCount() < 2 || startStep == 0) return 0;
    return position[2] / SAMPLES_PER_SECOND / startStep;
}

std::vector<GraphPoint> TimeDifference::points() const {
    std::vector<GraphPoint> result;
    for (int i = FIRST_GRID_POINT; i < gridPoints; ++i) result.push_back({i * step, diff[static_cast<std::size_t>(i)]});
    result.push_back({(gridPoints + 1) * step, atFinish()});
    return result;
}

TimeDifference computeTimeDifference(const TimedLap& a, const TimedLap& b) {
    TimeDifference td;
    const int shorter = std::min(a.sampleCount(), b.sampleCount());
    td.gridPoints = shorter < MAX_GRID_POINTS ? shorter / 2 : MAX_GRID_POINTS;
    const double dmax = std::max(lastTimedPosition(a), lastTimedPosition(b));
    td.step = td.gridPoints > 0 ? dmax * METRES_PER_UNIT / td.gridPoints : 0;
    td.diff.assign(static_cast<std::size_t>(td.gridPoints) + 2, 0.0);
    const double offA = a.startOffset();
    const double offB = b.startOffset();
    int iA = 1;
    int iB = 1;
    for (int i = FIRST_GRID_POINT; i < td.gridPoints; ++i) {
        const double target = i * td.step;
        iA = advance(a, iA, target);
        iB = advance(b, iB, target);
        const double tB = (iB - 1) / SAMPLES_PER_SECOND + offB;
        const double dA0 = a.distance[static_cast<std::size_t>(iA - 1)];
        const double span = a.distance[static_cast<std::size_t>(iA)] - dA0;
        // A car standing still between the two samples reached the distance at the first.
        const double fA = span != 0 ? (b.distance[static_cast<std::size_t>(iB)] - dA0) / span : 0.0;
        const double tA = ((iA - 2) + fA) / SAMPLES_PER_SECOND + offA;
        const double d = (tA - tB) * 1000.0;
        td.diff[static_cast<std::size_t>(i)] = d;
        td.max = std::max(td.max, d);
        td.min = std::min(td.min, d);
    }
    td.diff[static_cast<std::size_t>(td.gridPoints) + 1] =
        static_cast<double>(static_cast<int64_t>(a.storedLapTime) - static_cast<int64_t>(b.storedLapTime));
    return td;
}

TimeDifferenceCurve placeTimeDifference(const TimeDifference& td, AxisRange yRange) {
    TimeDifferenceCurve placed;
    const double half = (yRange.high - yRange.low) * 0.5;
    placed.centre = yRange.low + half;
    const double largest = std::max(td.max, std::fabs(td.min));
    placed.scale = largest > 0 ? half * 0.99 / largest : 0.0;
    for (const GraphPoint& p : td.points()) placed.curve.push_back({p.x, p.y * placed.scale + placed.centre});
    placed.zeroLine = {{0, placed.centre}, {placed.curve.back().x, placed.centre}};
    return placed;
}

std::array<std::pair<std::string, std::string>, 5> TimeDifferenceInfo::fields() const {
    return {{{LABELS[0], maxAhead}, {LABELS[1], maxBehind}, {LABELS[2], atFinish}, {LABELS[3], spread},
             {LABELS[4], atCurrentPos}}};
}

TimeDifferenceInfo timeDifferenceInfo(const TimeDifference& td, const std::string& firstLapLabel) {
    TimeDifferenceInfo info;
    info.header = firstLapLabel + " is:";
    const int64_t finish = truncated(td.atFinish());
    info.atFinish = signedText(finish > 0, std::llabs(finish));
    const int64_t max = truncated(td.max);
    const int64_t min = truncated(td.min);
    info.maxBehind = td.max == 0 ? "NA" : signedText(max > 0, std::llabs(max));
    info.maxAhead = td.min == 0 ? "NA" : signedText(min > 0, std::llabs(min));
    info.spread = td.max + std::fabs(td.min) == 0 ? "NA" : lapTimeText(static_cast<uint32_t>(max - min) & TIME_MASK);
    return info;
}

std::string timeDifferenceAt(const TimeDifference& td, double x) {
    if (td.gridPoints <= 0 || td.xExtent() <= 0) return {};
    const double k = std::trunc(x / (td.xExtent() / td.gridPoints));
    if (!(k >= FIRST_GRID_POINT && k < td.gridPoints)) return {};
    const double d = td.diff[static_cast<std::size_t>(k)];
    return signedText(d > 0, rounded(std::fabs(d)));
}

std::string timeDifferenceToolText(const TimeDifferenceCurve& curve, double y) {
    const double value = curve.scale != 0 ? (y - curve.centre) / curve.scale : 0.0;
    return ", timediff=" + signedText(value > 0, rounded(std::fabs(value)));
}

std::optional<std::pair<int, int>> timeDifferenceLaps(const std::array<bool, 5>& ticked) {
    std::vector<int> boxes;
    for (int i = 0; i < 5; ++i)
        if (ticked[static_cast<std::size_t>(i)]) boxes.push_back(i);
    if (boxes.size() != 2) return std::nullopt;
    return std::pair{boxes[0], boxes[1]};
}

}  // namespace movrane
