#include "core/replay/LapDerivation.h"

#include <cmath>
#include <vector>

#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

constexpr double DEGREES_PER_RADIAN = 57.29577951308232;
constexpr double ORIENTATION_DEGREES = 0.087890625;  // 4096 units per turn
constexpr double G_PER_MS2 = 0.1020408163265306;     // 1 g = 9.8 m/s^2
constexpr double SPLIT_FRACTIONS[3] = {0.25, 0.5, 0.75};

struct Vector {
    double x = 0;
    double y = 0;
};

Vector difference(const LapSample& a, const LapSample& b) {
    return {static_cast<double>(a.worldX) - b.worldX, static_cast<double>(a.worldY) - b.worldY};
}

double wrapSlip(double slip) {
    if (slip < -300) return slip + 360;
    if (slip > 300) return slip - 360;
    return slip;
}

// Removes single-sample spikes from the speed series (taken over samples k-3 .. k).
void filterSpeedGlitch(GetRpyInfo& lap, int k) {
    const double s = lap.sample(k).speed;
    const double p1 = lap.sample(k - 1).speed;
    const double p2 = lap.sample(k - 2).speed;
    const double p3 = lap.sample(k - 3).speed;
    if (std::fabs(p1 - s) <= 1) return;
    if (std::fabs(p2 - s) > 1 && std::fabs(p3 - s) < 2) {
        lap.sample(k - 2).speed = lap.sample(k - 1).speed = (s + p3) / 2;
    }
    if (std::fabs(p2 - s) < 2) lap.sample(k - 1).speed = (s + lap.sample(k - 2).speed) / 2;
}

void markLockedWheels(GetRpyInfo& lap, int k) {
    LapSample& s = lap.sample(k);
    const LapSample& p = lap.sample(k - 1);
    for (int w = 0; w < 4; ++w) {
        s.locked[w] = s.speed > 30 && s.wheelState[w] == 0 && s.wheelValue[w] == p.wheelValue[w] ? 1 : 0;
    }
}

// The nearest sample before k that has data, 0 when there is none.
int previousWithData(const GetRpyInfo& lap, int k) {
    for (int j = k - 1; j >= 1; --j)
        if (lap.sample(j).hasData) return j;
    return 0;
}

void recordSplitTimes(GetRpyInfo& lap, int k, double lapLength) {
    const LapSample& s = lap.sample(k);
    const int before = previousWithData(lap, k);
    if (!s.hasData || before == 0) return;
    const double previousDistance = lap.sample(before).distance;
    const double startStep = static_cast<double>(lap.lapStartStep());
    const double lineOffset = startStep != 0 ? lap.sample(2).lapPosition / startStep / 36.0 : 0.0;
    for (int q = 0; q < 3; ++q) {
        const double mark = SPLIT_FRACTIONS[q] * lapLength;
        if (lap.splitTimes[q] != 0 || s.distance <= mark || previousDistance > mark) continue;
        const double fraction = (mark - previousDistance) / (s.distance - previousDistance);
        lap.splitTimes[q] = static_cast<int64_t>(((k - 2) / 36.0 + fraction / 36.0 + lineOffset) * 1000.0);
    }
}

}  // namespace

void deriveLapQuantities(GetRpyInfo& lap, const LapProjection& track) {
    const int n = lap.sampleCount();
    if (n < 2) return;
    const double scale = track.mapScale();
    const double lapLength = track.lapLength();
    lap.splitTimes = {};

    auto project = [&](int k) {
        LapSample& s = lap.sample(k);
        const MapPoint p = track.mapPoint(s.distance, s.lateral);
        s.worldX = p.x;
        s.worldY = p.y;
    };
    project(1);

    std::vector<bool> accDefined(static_cast<std::size_t>(n) + 2, false);
    for (int k = 2; k <= n - 1; ++k) {
        project(k);
        LapSample& s = lap.sample(k);
        const LapSample& p = lap.sample(k - 1);
        s.heading = -s.orientation * ORIENTATION_DEGREES;
        const bool moved = s.hasData && p.hasData;
        const Vector d = difference(s, p);
        if (moved) {
            s.direction = std::atan2(d.y, d.x) * DEGREES_PER_RADIAN + 180;
            s.slipAngle = wrapSlip(s.heading + 180 - s.direction);
            s.speed = std::sqrt(d.x * d.x + d.y * d.y) * 129600 / (scale * 1000);
        } else {
            s.direction = p.direction;
            s.slipAngle = p.slipAngle;
            s.speed = p.speed;
        }
        if (k > 5) filterSpeedGlitch(lap, k);
        if (lap.isPlayer()) markLockedWheels(lap, k);
        s.slipLessSteering = s.slipAngle - std::trunc(s.steering * 20 / 127);
        recordSplitTimes(lap, k, lapLength);

        const LapSample& pp = lap.sample(k - 2);
        if (k >= 3 && moved && pp.hasData && scale != 0) {
            const Vector v1 = difference(p, s);
            const Vector v0 = difference(pp, p);
            s.accX = (v1.x - v0.x) * 36 / scale * 36 * G_PER_MS2;
            s.accY = (v1.y - v0.y) * 36 / scale * 36 * G_PER_MS2;
            accDefined[k] = true;
        } else {
            s.accX = p.accX;
            s.accY = p.accY;
        }
    }

    // 7-sample means of the accelerations, then their direction against heading and motion.
    std::vector<bool> meanDefined(static_cast<std::size_t>(n) + 2, false);
    for (int k = 7; k <= n - 1; ++k) {
        LapSample& s = lap.sample(k);
        double sumX = 0, sumY = 0;
        int count = 0;
        for (int j = k - 6; j <= k; ++j) {
            if (!accDefined[j]) continue;
            sumX += lap.sample(j).accX;
            sumY += lap.sample(j).accY;
            ++count;
        }
        if (count == 0) continue;
        s.accXMean = sumX / count;
        s.accYMean = sumY / count;
        meanDefined[k] = true;
        const double direction = std::atan2(s.accYMean, s.accXMean) * DEGREES_PER_RADIAN;
        const double total = std::sqrt(s.accXMean * s.accXMean + s.accYMean * s.accYMean);
        const double againstHeading = (direction - s.heading + 270) / DEGREES_PER_RADIAN;
        const double motion = s.direction - 180;  // direction of motion without the half turn
        const double againstMotion = (direction - motion + 270) / DEGREES_PER_RADIAN;
        s.totalAcc = total;
        s.longAcc = std::sin(againstHeading) * total;
        s.latAcc = std::cos(againstHeading) * total;
        s.longAccMotion = std::sin(againstMotion) * total;
        s.latAccMotion = std::cos(againstMotion) * total;
    }

    // 4-sample means, each over the values as they were before this smoothing.
    struct Components {
        double longAcc, latAcc, longMotion, latMotion, total;
    };
    std::vector<Components> before(static_cast<std::size_t>(n) + 2, Components{0, 0, 0, 0, 0});
    for (int k = 2; k <= n - 1; ++k) {
        const LapSample& s = lap.sample(k);
        before[k] = {s.longAcc, s.latAcc, s.longAccMotion, s.latAccMotion, s.totalAcc};
    }
    for (int k = 2; k <= n - 1; ++k) {
        Components sum{0, 0, 0, 0, 0};
        int count = 0;
        for (int j = std::max(2, k - 3); j <= k; ++j) {
            if (!meanDefined[j]) continue;
            sum.longAcc += before[j].longAcc;
            sum.latAcc += before[j].latAcc;
            sum.longMotion += before[j].longMotion;
            sum.latMotion += before[j].latMotion;
            sum.total += before[j].total;
            ++count;
        }
        LapSample& s = lap.sample(k);
        const double divisor = count > 0 ? count : 1;
        s.longAcc = sum.longAcc / divisor;
        s.latAcc = sum.latAcc / divisor;
        s.longAccMotion = sum.longMotion / divisor;
        s.latAccMotion = sum.latMotion / divisor;
        s.totalAcc = sum.total / divisor;
    }
}

}  // namespace movrane
