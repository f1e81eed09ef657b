#include "core/analysis/Ratings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/analysis/LapLabels.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

constexpr int FIRST_RATED = 14;
constexpr int HELD = 18;  // samples a peak must be held (half a second)
constexpr int MAX_SPEED_INDEX = 350;
constexpr int MIN_SAMPLES_FOR_USAGE = 16;
constexpr double RATING_CAP = 0.9999;
constexpr double SMOOTHNESS_CAP = 0.99;

// A quotient whose divisor may be 0: a rating never becomes infinite.
double ratio(double value, double divisor) { return divisor == 0 ? 0 : value / divisor; }

struct Channels {
    int n = 0;
    std::vector<double> lat, lon, speed, transition, total;
};

Channels channelsOf(const GetRpyInfo& lap) {
    Channels c;
    c.n = lap.sampleCount();
    const auto size = static_cast<std::size_t>(std::max(c.n, 0));
    c.lat.resize(size);
    c.lon.resize(size);
    c.speed.resize(size);
    c.transition.assign(size, 0);
    c.total.assign(size, 0);
    for (int i = 0; i < c.n; ++i) {
        c.lat[i] = lap.sample(i).latAcc;
        c.lon[i] = lap.sample(i).longAcc;
        c.speed[i] = lap.sample(i).speed;
    }
    for (int i = 1; i < c.n; ++i) {
        c.transition[i] = std::fabs(c.lat[i] - c.lat[i - 1]) * 36;
        c.total[i] = std::sqrt(c.lon[i] * c.lon[i] + c.lat[i] * c.lat[i]);
    }
    if (c.n > 0) c.transition[c.n - 1] = 0;
    return c;
}

int speedIndex(double speed) {
    const int k = static_cast<int>(speed + 0.5);
    return k < 0 || k > MAX_SPEED_INDEX ? 0 : k;
}

// True when every value of the window i .. i+17 satisfies `holds` (a peak held long enough).
template <typename Holds>
bool heldFrom(const std::vector<double>& values, int i, Holds holds) {
    if (static_cast<int>(values.size()) - i < HELD) return false;
    for (int j = i; j < i + HELD; ++j)
        if (!holds(values[j])) return false;
    return true;
}

struct Extremes {
    double maxTransition = 0;
    double minLat = 3.0, maxLat = -3.0, minLon = 0.0, maxLon = -3.0;
    double maxTotalBraking = 0, maxTotalAccelerating = 0;
    std::array<double, MAX_SPEED_INDEX + 1> cap{};
};

Extremes extremesOf(const Channels& c) {
    Extremes e;
    for (int i = FIRST_RATED; i < c.n; ++i) {
        e.maxTransition = std::max(e.maxTransition, c.transition[i]);
        const double lat = c.lat[i], lon = c.lon[i];
        if (lat < e.minLat && heldFrom(c.lat, i, [&](double v) { return v <= lat; })) e.minLat = lat;
        if (lat > e.maxLat && heldFrom(c.lat, i, [&](double v) { return v >= lat; })) e.maxLat = lat;
        if (lon < e.minLon && heldFrom(c.lon, i, [&](double v) { return v <= lon; })) e.minLon = lon;
        if (lon > e.maxLon && heldFrom(c.lon, i, [&](double v) { return v >= lon; })) e.maxLon = lon;
        if (lon < 0) {
            e.maxTotalBraking = std::max(e.maxTotalBraking, c.total[i]);
        } else {
            e.maxTotalAccelerating = std::max(e.maxTotalAccelerating, c.total[i]);
        }
        double& cap = e.cap[speedIndex(c.speed[i])];
        cap = std::max(cap, lon);
    }
    return e;
}

// The largest change of total acceleration from one sample to the next over the window
// i .. i+17, never reading past the last sample with derived values (n - 1).
double largestChange(const Channels& c, int i) {
    double largest = 0;
    for (int j = i; j < i + HELD && j + 1 <= c.n - 1; ++j)
        largest = std::max(largest, std::fabs(c.total[j] - c.total[j + 1]));
    return largest;
}

}  // namespace

LapRatings rateLap(const GetRpyInfo& lap) {
    const Channels c = channelsOf(lap);
    const Extremes e = extremesOf(c);
    double usageSum = 0, aggressivenessSum = 0, smoothnessSum = 0;
    int usageCount = 0, aggressivenessCount = 0, smoothnessCount = 0;
    const bool enough = c.n >= MIN_SAMPLES_FOR_USAGE;
    for (int i = FIRST_RATED; i <= c.n - 2; ++i) {
        const double lat = c.lat[i], lon = c.lon[i];
        const double lateralRatio = lat > 0 ? ratio(std::fabs(lat), e.maxLat) : ratio(std::fabs(lat), std::fabs(e.minLat));
        double longitudinalRatio = 0, totalRatio = 0;
        if (lon <= 0) {
            longitudinalRatio = ratio(lon, e.minLon);
            totalRatio = ratio(c.total[i], e.maxTotalBraking);
        } else {
            longitudinalRatio = ratio(lon, e.cap[speedIndex(c.speed[i])]);
            totalRatio = ratio(c.total[i], e.maxTotalAccelerating);
        }
        const double transitionRatio = ratio(c.transition[i], e.maxTransition);
        if (enough) {
            usageSum += std::max({totalRatio, longitudinalRatio, transitionRatio});
            ++usageCount;
        }
        if (lateralRatio < 0.5) {
            aggressivenessSum += std::fabs(longitudinalRatio);
            ++aggressivenessCount;
        }
        if (enough && (lateralRatio > 0.8 || totalRatio > 0.8) && c.n - i >= HELD) {
            smoothnessSum += largestChange(c, i) * 360;
            ++smoothnessCount;
        }
    }
    LapRatings r;
    r.usage = ratio(usageSum, usageCount);
    r.aggressiveness = ratio(aggressivenessSum, aggressivenessCount);
    r.smoothness = smoothnessCount == 0 ? 0 : 1 - (smoothnessSum / smoothnessCount) * 0.01;
    r.overall = ratio(usageSum + aggressivenessSum + r.smoothness * smoothnessCount,
                      usageCount + aggressivenessCount + smoothnessCount);
    if (r.usage > 1.0) r.usage = RATING_CAP;
    if (r.aggressiveness > 1.0) r.aggressiveness = RATING_CAP;
    if (r.smoothness > 1.0) r.smoothness = SMOOTHNESS_CAP;
    return r;
}

std::string percentText(double fraction) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", fraction * 100);
    return text;
}

Ratings::Ratings(const CZodEvadiDoc& doc) {
    for (const int slot : doc.usedSlots()) {
        const LapRatings r = rateLap(*doc.slot(slot).lap);
        rows_.at(slot) = {driverLapCarLabel(doc, slot), percentText(r.aggressiveness), percentText(r.smoothness),
                          percentText(r.usage), percentText(r.overall)};
    }
}

const Ratings::Row& Ratings::header() {
    static const Row HEADER{"Driver/Laptime/Car", "Aggressiveness", "Smoothness", "Usage", "Overall"};
    return HEADER;
}

std::string Ratings::clipboardText() const {
    auto line = [](const Row& row) {
        std::string text;
        for (std::size_t k = 0; k < row.size(); ++k) text += (k ? "\t" : "") + row[k];
        return text + "\r\n";
    };
    std::string text = line(header());
    for (const Row& row : rows_) text += line(row);
    return text;
}

const char* Ratings::informationText() {
    return "Information about Ratings\r\n"
           "\r\n"
           "The ratings are statistics computed entirely from the acceleration values shown in the "
           "traction circle. Each is given as a percentage.\r\n"
           "\r\n"
           "Aggressiveness: how hard the driver uses throttle and brake where the lateral forces are "
           "relatively low, compared with the strongest braking and acceleration the car shows.\r\n"
           "\r\n"
           "Smoothness: how small the changes of the forces are while they are high, in corners and "
           "under hard braking or acceleration.\r\n"
           "\r\n"
           "Usage: how well the car's capabilities are used on average over the lap, by maximising at "
           "every moment either the longitudinal, the lateral or the total acceleration, or the "
           "transition rate between left and right.\r\n"
           "\r\n"
           "Overall: a weighted average of the other three.\r\n"
           "\r\n"
           "Online replays with warping give strange results.";
}

}  // namespace movrane
