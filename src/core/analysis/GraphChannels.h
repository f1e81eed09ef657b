#pragma once

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace movrane {

class GetRpyInfo;

// One point of a graph series: lap distance in metres and the channel's value.
struct GraphPoint {
    double x = 0;
    double y = 0;
};

// A break in a curve: a point without value where samples are left out.
constexpr double GAP = std::numeric_limits<double>::quiet_NaN();
inline bool isGap(const GraphPoint& p) { return std::isnan(p.y); }

struct AxisRange {
    double low = 0;
    double high = 0;
    bool operator==(const AxisRange&) const = default;
};

// Which samples a channel uses: first .. n - lastBack.
struct SampleRange {
    int first = 2;
    int lastBack = 2;
};

// One telemetry channel of the graph window: its button, the sample value it shows and how.
struct GraphChannel {
    const char* button;
    int number;  // 1 .. 21
    const char* field;  // the lap sample field it reads
    SampleRange samples;
    const char* caption;
    const char* unit;
    AxisRange yRange;
    bool byWheel;
    // The plotted value of sample i (km/h for speed; the miles-per-hour rule is applied
    // by the series builder).
    double (*value)(const GetRpyInfo& lap, int i, int wheel);
};

constexpr int CHANNEL_COUNT = 21;
constexpr int WHEEL_COUNT = 4;
constexpr int SPEED_CHANNEL = 1;
constexpr int GEAR_CHANNEL = 2;
constexpr int ELAPSED_TIME_CHANNEL = 14;
constexpr double MPH_FACTOR = 0.621;
constexpr char X_CAPTION[] = "Meter";

// The 21 channels in button order.
const std::array<GraphChannel, CHANNEL_COUNT>& graphChannels();
// The channel of a number 1 .. 21; throws std::out_of_range otherwise.
const GraphChannel& graphChannel(int number);
// "Left front", "Right front", "Left rear", "Right rear".
const std::array<const char*, WHEEL_COUNT>& wheelNames();

// The y-axis unit and initial range, with the speed unit applied to "Speed".
std::string channelUnit(const GraphChannel& channel, bool mph);
AxisRange channelYRange(const GraphChannel& channel, bool mph);

// The plotted value of sample i, or nothing where the channel shows no point: outside the
// channel's samples, a lap of five samples or fewer, gear 0.
std::optional<double> channelValue(const GetRpyInfo& lap, const GraphChannel& channel, int i, int wheel, bool mph);

// The points of one lap's curve of a channel (one wheel for the by-wheel channels), in
// sample order: speed in miles per hour when asked, gear 0 left out (one gap point where
// the curve breaks), nothing for a lap of five samples or fewer.
std::vector<GraphPoint> channelPoints(const GetRpyInfo& lap, const GraphChannel& channel, int wheel, bool mph);

}  // namespace movrane
