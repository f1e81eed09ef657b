#include <gtest/gtest.h>

#include "core/analysis/GraphChannels.h"
#include "core/replay/GetRpyInfo.h"

using movrane::GetRpyInfo;
using movrane::graphChannel;
using movrane::LapSample;

namespace {

// A lap of n samples 10 m apart with known values; gear 0 on samples 5 .. 7, lateral
// acceleration alternating 1.20 (even) and 1.25 g (odd), orientation 0 on sample 2.
GetRpyInfo knownLap(int n) {
    std::vector<LapSample> samples(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        samples[static_cast<std::size_t>(i)] =
            LapSample{.gear = static_cast<int16_t>(i >= 5 && i <= 7 ? 0 : 3),
                      .orientation = static_cast<int16_t>(i == 2 ? 0 : 1024), .pitch = 4, .roll = 5, .steering = 6,
                      .suspension = {1, 2, 3, 4}, .tyreSqueal = 9, .oilPressure = 100, .oilTemperature = 80,
                      .waterTemperature = 70, .fuelPressure = 50, .distance = i * 10.0, .engineSpeed = 5000,
                      .rideHeight = 0.3, .slipAngle = 3, .speed = 200, .longAcc = 0.5,
                      .latAcc = i % 2 == 0 ? 1.20 : 1.25, .totalAcc = 1.1, .locked = {0, 1, 0, 0}};
    }
    return GetRpyInfo::fromSamples(samples);
}

struct ChannelCase {
    int channel;
    int wheel;
    bool mph;
    double firstX;
    double firstY;
    std::size_t count;
};

class ChannelValues : public testing::TestWithParam<ChannelCase> {};

TEST_P(ChannelValues, ConvertTheSampleFieldOverTheChannelsRange) {
    const ChannelCase c = GetParam();
    const auto points = channelPoints(knownLap(20), graphChannel(c.channel), c.wheel, c.mph);
    ASSERT_EQ(points.size(), c.count);
    EXPECT_DOUBLE_EQ(points.front().x, c.firstX);
    EXPECT_NEAR(points.front().y, c.firstY, 1e-9);
}

// n = 20: samples 2 .. 18 give 17 points, 2 .. 17 give 16.
INSTANTIATE_TEST_SUITE_P(
    EveryChannel, ChannelValues,
    testing::Values(ChannelCase{1, -1, false, 20, 200, 16}, ChannelCase{1, -1, true, 20, 124.2, 16},
                    ChannelCase{2, -1, false, 20, 3, 15}, ChannelCase{3, -1, false, 20, 5000, 17},
                    ChannelCase{4, -1, false, 20, 3, 17}, ChannelCase{5, -1, false, 120, 0.5, 7},
                    ChannelCase{6, -1, false, 120, 1.20, 7}, ChannelCase{7, -1, false, 120, 1.1, 6},
                    ChannelCase{8, -1, false, 20, 30, 17}, ChannelCase{9, -1, false, 20, 4, 17},
                    ChannelCase{10, -1, false, 20, 5, 17}, ChannelCase{11, -1, false, 20, 6, 17},
                    ChannelCase{12, 2, false, 20, 3, 17}, ChannelCase{13, -1, false, 20, 180, 17},
                    ChannelCase{14, -1, false, 20, 2.0 / 36, 17}, ChannelCase{15, -1, false, 20, 80.5, 17},
                    ChannelCase{16, -1, false, 130, 1.8, 6}, ChannelCase{17, 1, false, 20, 1, 17},
                    ChannelCase{18, -1, false, 20, 40.25, 17}, ChannelCase{19, -1, false, 20, 96, 17},
                    ChannelCase{20, -1, false, 20, 84, 17}, ChannelCase{21, -1, false, 20, 9, 17}));

TEST(GraphChannels, OrientationAndGearGap) {
    const auto orientation = channelPoints(knownLap(20), graphChannel(13), -1, false);
    EXPECT_DOUBLE_EQ(orientation[1].y, 90.0);  // 1024 units
    const auto gear = channelPoints(knownLap(20), graphChannel(2), -1, false);
    EXPECT_DOUBLE_EQ(gear[2].x, 40);  // samples 2, 3, 4, a break at 5, then 8 ..
    EXPECT_TRUE(movrane::isGap(gear[3]));
    EXPECT_DOUBLE_EQ(gear[4].x, 80);
    // The speed unit changes the unit and range of speed only.
    EXPECT_EQ(channelUnit(graphChannel(1), true), "Mph");
    EXPECT_EQ(channelUnit(graphChannel(1), false), "Kph");
    EXPECT_EQ(channelYRange(graphChannel(1), true), (movrane::AxisRange{0, 250}));
    EXPECT_EQ(channelYRange(graphChannel(1), false), (movrane::AxisRange{0, 350}));
    EXPECT_EQ(channelUnit(graphChannel(3), true), "RPM");
    // Elapsed time never gets an empty y range, even for a lap without points.
    EXPECT_EQ(channelYRange(graphChannel(14), false), (movrane::AxisRange{0, 1}));
    EXPECT_THROW(graphChannel(22), std::out_of_range);
    // Short laps give few or no points.
    struct Case {
        int n;
        int channel;
        std::size_t count;
    };
    for (const Case c : {Case{5, 1, 0}, Case{6, 3, 3}, Case{13, 5, 0}, Case{14, 5, 1}, Case{14, 7, 0},
                         Case{14, 16, 0}, Case{15, 7, 1}, Case{15, 16, 1}})
        EXPECT_EQ(channelPoints(knownLap(c.n), graphChannel(c.channel), -1, false).size(), c.count)
            << "n=" << c.n << " channel " << c.channel;
}

}  // namespace
