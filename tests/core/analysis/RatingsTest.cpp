#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>

#include "core/analysis/Ratings.h"
#include "core/replay/GetRpyInfo.h"

using movrane::GetRpyInfo;
using movrane::LapSample;

namespace {

constexpr int SAMPLES = 100;

// A lap whose samples 0 .. n - 1 get lateral and longitudinal acceleration from `shape`.
GetRpyInfo lapOf(const std::function<std::pair<double, double>(int)>& shape, int n = SAMPLES) {
    std::vector<LapSample> samples(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i < n; ++i) {
        samples[i].speed = 100;
        std::tie(samples[i].latAcc, samples[i].longAcc) = shape(i);
    }
    return GetRpyInfo::fromSamples(samples);
}

// Expected percentages; null where a case does not look at a rating.
struct RatingCase {
    const char* name;
    std::function<std::pair<double, double>(int)> shape;
    const char* aggressiveness;
    const char* smoothness;
    const char* usage;
    int n = SAMPLES;
};

void PrintTo(const RatingCase& c, std::ostream* out) { *out << c.name; }

class LapRating : public testing::TestWithParam<RatingCase> {};

TEST_P(LapRating, ShowsTheExpectedPercentages) {
    const RatingCase& c = GetParam();
    const auto r = movrane::rateLap(lapOf(c.shape, c.n));
    if (c.aggressiveness) EXPECT_EQ(movrane::percentText(r.aggressiveness), c.aggressiveness);
    if (c.smoothness) EXPECT_EQ(movrane::percentText(r.smoothness), c.smoothness);
    if (c.usage) EXPECT_EQ(movrane::percentText(r.usage), c.usage);
    EXPECT_TRUE(std::isfinite(r.overall));
}

// Braking held from 41 to 70 sets the braking minimum; a test sample at 80 brakes at
// half of it under a lateral load that is a given share of the sustained maximum.
std::function<std::pair<double, double>(int)> brakingAtLateral(double lateral, double background) {
    return [=](int i) -> std::pair<double, double> {
        if (i >= 41 && i <= 70) return {background, -1.0};
        if (i == 80) return {lateral, -0.5};
        return {background, 0.0};
    };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LapRating,
    testing::Values(
        // Nothing to divide by anywhere: every rating is 0, never infinite or NaN.
        RatingCase{"StandingStill", [](int) { return std::pair{0.0, 0.0}; }, "0.00", "0.00", "0.00"},
        RatingCase{"TooShort", [](int) { return std::pair{1.0, 0.5}; }, "0.00", "0.00", "0.00", 15},
        // Constant acceleration: every sample at the car's limit, exactly 100 %, and no change
        // of the forces at all.
        RatingCase{"ConstantAcceleration", [](int) { return std::pair{0.0, 0.5}; }, "100.00", "100.00", "100.00"},
        // Constant cornering to the end of the lap: the last windows stay inside the lap. With
        // no braking anywhere, nothing rates the longitudinal use.
        RatingCase{"ConstantCornering", [](int) { return std::pair{1.0, 0.0}; }, "0.00", "100.00", "0.00"},
        RatingCase{"HalfRatioDoesNotCount", brakingAtLateral(0.5, 1.0), "0.00", nullptr, nullptr},
        RatingCase{"BelowHalfRatioCounts", brakingAtLateral(0.49, 1.0), "50.00", nullptr, nullptr},
        // Held 1.5 g sets the maximum; the 2.4 g spike does not, so 0.9 g is a ratio of 0.6.
        RatingCase{"SpikeIsNotSustained",
                   [](int i) -> std::pair<double, double> {
                       if (i >= 20 && i < 38) return {1.5, 0.0};
                       if (i == 50) return {2.4, 0.0};
                       if (i >= 60 && i < 80) return {1.0, -1.0};
                       if (i == 90) return {0.9, -1.0};
                       return {1.0, 0.0};
                   },
                   "0.00", nullptr, nullptr},
        // Cornering at lon 0 is rated against the weak braking: usage above 1 shows 99.99.
        // Braking never held for half a second leaves no braking minimum to divide by.
        RatingCase{"UsageCappedAndNoSustainedBraking",
                   [](int i) -> std::pair<double, double> {
                       return i % 10 == 0 ? std::pair{0.0, -0.2} : std::pair{1.0, 0.0};
                   },
                   "0.00", nullptr, "99.99"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
