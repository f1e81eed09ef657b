#include "core/analysis/GraphChannels.h"

#include <cmath>
#include <stdexcept>

#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

constexpr double SAMPLES_PER_SECOND = 36.0;
constexpr double PRESSURE_FACTOR = 0.805;
constexpr double TEMPERATURE_FACTOR = 1.2;
constexpr double DEGREES_PER_UNIT = 0.087890625;
constexpr int SHORTEST_LAP = 6;

const LapSample& at(const GetRpyInfo& lap, int i) { return lap.sample(i); }
std::size_t wheelIndex(int wheel) { return static_cast<std::size_t>(wheel); }

const std::array<GraphChannel, CHANNEL_COUNT> CHANNELS = {{
    {"Speed", 1, "speed", {2, 3}, "Speed", "Kph", {0, 350}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).speed; }},
    {"Gear", 2, "gear", {2, 2}, "Gear", "Gear", {0, 6}, false,
     [](const GetRpyInfo& l, int i, int) { return double(at(l, i).gear); }},
    {"RPM", 3, "engineSpeed", {2, 2}, "Revs", "RPM", {400, 12000}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).engineSpeed; }},
    {"Slip angle", 4, "slipAngle", {2, 2}, "Degrees", "Degrees", {0, 25}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).slipAngle; }},
    {"Acceleration (long)", 5, "longAcc", {12, 2}, "Force", "G", {0, 2.6}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).longAcc; }},
    {"Acceleration (lat)", 6, "latAcc", {12, 2}, "Force", "G", {0, 2.6}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).latAcc; }},
    {"Acceleration (total)", 7, "totalAcc", {12, 3}, "Force", "G", {0, 2.6}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).totalAcc; }},
    {"Height", 8, "rideHeight", {2, 2}, "Height", "Centimeters", {20, 40}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).rideHeight * 100.0; }},
    {"Pitch", 9, "pitch", {2, 2}, "Angle", "Units", {0, 128}, false,
     [](const GetRpyInfo& l, int i, int) { return double(at(l, i).pitch); }},
    {"Roll", 10, "roll", {2, 2}, "Angle", "Units", {0, 128}, false,
     [](const GetRpyInfo& l, int i, int) { return double(at(l, i).roll); }},
    {"Steering", 11, "steering", {2, 2}, "Angle", "Units", {0, 64}, false,
     [](const GetRpyInfo& l, int i, int) { return double(at(l, i).steering); }},
    {"Suspension (by wheel)", 12, "suspension", {2, 2}, "Angle", "Units", {0, 40}, true,
     [](const GetRpyInfo& l, int i, int w) { return double(at(l, i).suspension.at(wheelIndex(w))); }},
    {"Orientation", 13, "orientation", {2, 2}, "Angle", "Degrees", {0, 360}, false,
     [](const GetRpyInfo& l, int i, int) { return 180.0 - at(l, i).orientation * DEGREES_PER_UNIT; }},
    // The y maximum starts at 1 s and grows to the last y of the series shown.
    {"Elapsed time", 14, "", {2, 2}, "Time", "Seconds", {0, 1}, false,
     [](const GetRpyInfo&, int i, int) { return i / SAMPLES_PER_SECOND; }},
    {"Oil pressure", 15, "oilPressure", {2, 2}, "Pressure", "PSI", {0, 100}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).oilPressure * PRESSURE_FACTOR; }},
    {"Transition rate", 16, "latAcc", {13, 2}, "Rate", "G/s", {0, 7}, false,
     [](const GetRpyInfo& l, int i, int) {
         return std::fabs(at(l, i).latAcc - at(l, i - 1).latAcc) * SAMPLES_PER_SECOND;
     }},
    {"Locked wheels (by wheel)", 17, "locked", {2, 2}, "Locked/Not locked", "Value", {0, 2}, true,
     [](const GetRpyInfo& l, int i, int w) { return double(at(l, i).locked.at(wheelIndex(w))); }},
    {"Fuel pressure", 18, "fuelPressure", {2, 2}, "Pressure", "PSI", {0, 100}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).fuelPressure * PRESSURE_FACTOR; }},
    {"Oil temperature", 19, "oilTemperature", {2, 2}, "Temperature", "C", {20, 120}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).oilTemperature * TEMPERATURE_FACTOR; }},
    {"Water temperature", 20, "waterTemperature", {2, 2}, "Temperature", "C", {20, 120}, false,
     [](const GetRpyInfo& l, int i, int) { return at(l, i).waterTemperature * TEMPERATURE_FACTOR; }},
    {"Tire squeel", 21, "tyreSqueal", {2, 2}, "Sound", "Units", {0, 50}, false,
     [](const GetRpyInfo& l, int i, int) { return double(at(l, i).tyreSqueal); }},
}};

const std::array<const char*, WHEEL_COUNT> WHEELS = {"Left front", "Right front", "Left rear", "Right rear"};

}  // namespace

const std::array<GraphChannel, CHANNEL_COUNT>& graphChannels() { return CHANNELS; }

const GraphChannel& graphChannel(int number) {
    if (number < 1 || number > CHANNEL_COUNT) throw std::out_of_range("no graph channel " + std::to_string(number));
    return CHANNELS[static_cast<std::size_t>(number - 1)];
}

const std::array<const char*, WHEEL_COUNT>& wheelNames() { return WHEELS; }

std::string channelUnit(const GraphChannel& channel, bool mph) {
    return channel.number == SPEED_CHANNEL && mph ? "Mph" : channel.unit;
}

AxisRange channelYRange(const GraphChannel& channel, bool mph) {
    return channel.number == SPEED_CHANNEL && mph ? AxisRange{0, 250} : channel.yRange;
}

std::optional<double> channelValue(const GetRpyInfo& lap, const GraphChannel& channel, int i, int wheel, bool mph) {
    const int n = lap.sampleCount();
    if (n < SHORTEST_LAP || i < channel.samples.first || i > n - channel.samples.lastBack) return std::nullopt;
    if (channel.number == GEAR_CHANNEL && lap.sample(i).gear == 0) return std::nullopt;
    const double y = channel.value(lap, i, wheel);
    return mph && channel.number == SPEED_CHANNEL ? y * MPH_FACTOR : y;
}

std::vector<GraphPoint> channelPoints(const GetRpyInfo& lap, const GraphChannel& channel, int wheel, bool mph) {
    std::vector<GraphPoint> points;
    const int last = lap.sampleCount() - channel.samples.lastBack;
    if (last >= channel.samples.first) points.reserve(static_cast<std::size_t>(last - channel.samples.first + 1));
    for (int i = channel.samples.first; i <= last; ++i) {
        const auto y = channelValue(lap, channel, i, wheel, mph);
        if (y) {
            points.push_back({lap.sample(i).distance, *y});
        } else if (!points.empty() && !isGap(points.back())) {
            points.push_back({lap.sample(i).distance, GAP});
        }
    }
    return points;
}

}  // namespace movrane
