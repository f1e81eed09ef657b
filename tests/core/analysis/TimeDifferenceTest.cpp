#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/analysis/TimeDifference.h"

using namespace movrane;

namespace {

// A lap driven at a constant metres per sample, crossing the line half a sample before
// sample 2.
TimedLap constantLap(int n, double metresPerSample, uint32_t storedMs) {
    TimedLap lap;
    lap.distance.assign(static_cast<std::size_t>(n) + 1, 0.0);
    lap.position.assign(static_cast<std::size_t>(n) + 1, 0);
    for (int k = 1; k <= n; ++k) {
        const double d = std::max(0.0, (k - 1.5) * metresPerSample);
        lap.distance[static_cast<std::size_t>(k)] = d;
        lap.position[static_cast<std::size_t>(k)] = static_cast<uint32_t>(d * 2000);
    }
    lap.startStep = metresPerSample * 2000;
    lap.storedLapTime = storedMs;
    return lap;
}

TEST(TimeDifference, GridHasAThousandPointsOrHalfTheShorterLap) {
    EXPECT_EQ(computeTimeDifference(constantLap(1800, 1, 0), constantLap(2200, 1, 0)).gridPoints, 1000);
    EXPECT_EQ(computeTimeDifference(constantLap(900, 1, 0), constantLap(1500, 1, 0)).gridPoints, 450);
    const TimeDifference tiny = computeTimeDifference(constantLap(6, 1, 1000), constantLap(7, 1, 0));
    EXPECT_EQ(tiny.points().size(), 1u);  // N = 3: the finish line only
    // The laps are the two ticked boxes, the lower first.
    using Boxes = std::array<bool, 5>;
    EXPECT_EQ(timeDifferenceLaps(Boxes{true, false, true, false, false}), (std::pair{0, 2}));
    EXPECT_EQ(timeDifferenceLaps(Boxes{false, false, false, true, true}), (std::pair{3, 4}));
    EXPECT_FALSE(timeDifferenceLaps(Boxes{true, true, true, false, false}));
    EXPECT_FALSE(timeDifferenceLaps(Boxes{true, false, false, false, false}));
    // A lap against itself is zero, flat and unsigned.
    const TimedLap lap = constantLap(2000, 1.4, 71000);
    const TimeDifference td = computeTimeDifference(lap, lap);
    EXPECT_EQ(td.max, 0);
    EXPECT_EQ(td.min, 0);
    const TimeDifferenceInfo info = timeDifferenceInfo(td, "Lap A");
    EXPECT_EQ(std::tuple(info.header, info.maxAhead, info.maxBehind, info.spread, info.atFinish),
              std::tuple("Lap A is:", "NA", "NA", "NA", "0m 00.000s"));
    EXPECT_EQ(timeDifferenceAt(td, 500), "0m 00.000s");
    // Nothing to scale by: the curve lies flat at the centre of the y range.
    const TimeDifferenceCurve curve = placeTimeDifference(td, {0, 350});
    EXPECT_EQ(curve.scale, 0);
    for (const GraphPoint& p : curve.curve) EXPECT_EQ(p.y, 175);
    EXPECT_EQ(timeDifferenceToolText(curve, 300), ", timediff=0m 00.000s");
    // A slower first lap is behind and placed on the upper half.
    const double a = 1.35, b = 1.40;
    const TimeDifference slower = computeTimeDifference(constantLap(2000, a, 72500), constantLap(2000, b, 71000));
    // At every grid point the gap is the distance of lap B's sample times the pace difference.
    const int i = 500;
    const double target = i * slower.step;
    const double dB = std::ceil(target / b + 1.5 - 1e-12) - 1.5;  // first sample of B at or past target
    EXPECT_NEAR(slower.diff[i], dB * b * (1 / a - 1 / b) / 36 * 1000, 1e-6);
    EXPECT_GT(slower.max, 0);
    EXPECT_EQ(slower.min, 0);
    const TimeDifferenceInfo slowerInfo = timeDifferenceInfo(slower, "A");
    EXPECT_EQ(slowerInfo.atFinish, "+0m 01.500s");
    EXPECT_EQ(slowerInfo.maxAhead, "NA");
    EXPECT_EQ(slowerInfo.maxBehind.substr(0, 1), "+");
    const TimeDifferenceCurve slowerCurve = placeTimeDifference(slower, {0, 350});
    double top = 0;
    for (std::size_t k = 0; k + 1 < slowerCurve.curve.size(); ++k) top = std::max(top, slowerCurve.curve[k].y);
    EXPECT_NEAR(top, 175 + 175 * 0.99, 1e-9);
    EXPECT_EQ(slowerCurve.zeroLine.back().x, slowerCurve.curve.back().x);
    EXPECT_DOUBLE_EQ(slowerCurve.curve.back().x, (slower.gridPoints + 1) * slower.step);
    // The mouse read-out only between the third and the last grid point.
    const TimeDifference mouseTd = computeTimeDifference(constantLap(2000, 1.35, 72500), constantLap(2000, 1.4, 71000));
    EXPECT_EQ(timeDifferenceAt(mouseTd, 2.9 * mouseTd.step), "");
    EXPECT_EQ(timeDifferenceAt(mouseTd, mouseTd.xExtent() + 1), "");
    EXPECT_EQ(timeDifferenceAt(mouseTd, 3 * mouseTd.step + 0.01).substr(0, 1), "+");
    const TimeDifferenceCurve mouseCurve = placeTimeDifference(mouseTd, {0, 100});
    EXPECT_EQ(timeDifferenceToolText(mouseCurve, mouseCurve.centre - 1000 * mouseCurve.scale), ", timediff=-0m 01.000s");
}

}  // namespace
