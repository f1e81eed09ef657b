#include <gtest/gtest.h>

#include <cmath>

#include "core/analysis/TractionCircle.h"
#include "core/replay/GetRpyInfo.h"

using movrane::GetRpyInfo;
using movrane::LapSample;
using movrane::TractionCircle;

namespace {

constexpr double LAP_LENGTH = 100;
constexpr int64_t STEP = 4000;  // 2 m per sample
// One metre beyond the lap, so that an end past the last sample is not the slider's maximum.
constexpr double SLIDER_LENGTH = 101;

// A car at 2 m per sample on a 100 m lap: sample 2 at 1.5 m, sample n - 2 = 51 at 99.5 m.
GetRpyInfo uniformLap(const std::vector<int>& missing = {}) {
    std::vector<LapSample> samples(54);
    for (int k = 1; k <= 53; ++k) {
        const double d = std::fmod(2.0 * (k - 2) + 1.5 + LAP_LENGTH, LAP_LENGTH);
        samples[k].hasData = true;
        samples[k].distance = d;
        samples[k].lapPosition = static_cast<uint32_t>(d * 2000);
        samples[k].latAcc = 1.0;
        samples[k].longAcc = -0.5;
        samples[k].latAccMotion = -1.0;
    }
    for (int k : missing) samples[k] = LapSample{};
    return GetRpyInfo::fromSamples(samples, true, STEP, STEP);
}

TractionCircle circleOf(const GetRpyInfo& lap) {
    std::array<movrane::TractionLap, TractionCircle::SLOTS> laps;
    laps[0] = {&lap, {255, 0, 0}, "lap"};
    return TractionCircle(laps, SLIDER_LENGTH);
}

struct RangeCase {
    const char* name;
    int start;
    int end;
    std::vector<int> missing;
};

class RangeTime : public testing::TestWithParam<RangeCase> {};

// The car covers 2 m per 1/36 s, so every stretch takes (end - start) / 72 seconds.
TEST_P(RangeTime, MatchesTheDistanceOverTheSpeed) {
    const RangeCase& c = GetParam();
    const GetRpyInfo lap = uniformLap(c.missing);
    TractionCircle circle = circleOf(lap);
    circle.setRange(c.start, c.end);
    ASSERT_TRUE(circle.rangeTime(0));
    EXPECT_NEAR(*circle.rangeTime(0), (c.end - c.start) / 72.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Stretches, RangeTime,
    testing::Values(RangeCase{"WholeSlider", 0, 101, {}}, RangeCase{"FromTheLine", 0, 40, {}},
                    RangeCase{"StartBeforeFirstSample", 1, 60, {}}, RangeCase{"StartInsideFirstTwelve", 5, 20, {}},
                    RangeCase{"Middle", 30, 40, {}}, RangeCase{"EndBeyondLastSample", 30, 100, {}},
                    RangeCase{"StartBeyondLastSample", 100, 101, {}},
                    RangeCase{"MissingSamplesAtBothEnds", 30, 40, {17, 22}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TractionCircle, CarStandingAtTheLinesAddsNoSubSampleParts) {
    std::vector<LapSample> samples = uniformLap().samples();
    samples.pop_back();  // the entry after sample n
    const GetRpyInfo lap = GetRpyInfo::fromSamples(samples, true, 0, 0);
    TractionCircle circle = circleOf(lap);
    ASSERT_TRUE(std::isfinite(*circle.rangeTime(0)));
    EXPECT_EQ(circle.timeText(0), "1.36");  // samples 2 .. 51: 49 / 36 s
    // Time texts truncate to hundredths.
    EXPECT_EQ(movrane::hundredthsText(83.4567), "83.45");
    EXPECT_EQ(movrane::hundredthsText(0.059), "0.05");
    // The slider and the fields keep the start before the end.
    const GetRpyInfo uniform = uniformLap();
    TractionCircle ranged = circleOf(uniform);
    EXPECT_EQ(ranged.sliderMaximum(), 101);
    EXPECT_EQ(ranged.pageSize(), 2);
    EXPECT_EQ(ranged.end(), 101);
    EXPECT_TRUE(ranged.setEndText("50"));
    EXPECT_TRUE(ranged.setStartText("80"));
    EXPECT_EQ(ranged.start(), 50);
    ranged.setEnd(10);
    EXPECT_EQ(ranged.end(), 50);
    EXPECT_FALSE(ranged.setStartText("12a"));
    EXPECT_FALSE(ranged.setEndText(""));
    EXPECT_EQ(ranged.length(), 0);
    ranged.limitTo(140.7, 20.9);
    EXPECT_EQ(ranged.start(), 20);
    EXPECT_EQ(ranged.end(), 101);
    ranged.setRange(10, 90);
    ranged.setLimitedToGraph(true, 35.5, 60.2);
    EXPECT_EQ(ranged.length(), 25);
    ranged.setLimitedToGraph(false, 0, 0);
    EXPECT_EQ(ranged.start(), 10);
    EXPECT_EQ(ranged.end(), 90);
    // The curve starts at sample 12 and follows the orientation.
    TractionCircle curved = circleOf(uniform);
    curved.setRange(0, 30);  // sample 17 is the first at 30 m or beyond
    auto points = curved.curve(0, 200, 100);
    ASSERT_EQ(points.size(), 6u);  // samples 12 .. 17
    EXPECT_EQ(points.front(), (movrane::PaintPoint{120, 40}));  // 20 px per g around (100, 50)
    curved.setOrientation(TractionCircle::Orientation::Travel);
    EXPECT_EQ(curved.curve(0, 200, 100).front(), (movrane::PaintPoint{80, 50}));
}

}  // namespace
