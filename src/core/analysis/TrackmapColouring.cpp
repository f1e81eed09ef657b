#include "core/analysis/TrackmapColouring.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "core/replay/GetRpyInfo.h"
#include "core/track/Track.h"

namespace movrane {

namespace {

uint8_t channelByte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

// Joins the mapped points of samples 2 .. n-2 that have a value, each segment in the colour
// of its end's value.
ColouredLine colourLine(const Track& track, const GetRpyInfo& lap,
                        const std::function<std::optional<double>(int)>& valueOf) {
    ColouredLine line;
    struct Mapped {
        MetrePoint point;
        double value;
        bool joined;
    };
    std::vector<Mapped> mapped;
    bool joined = false;
    for (int i = 2; i <= lap.sampleCount() - 2; ++i) {
        const LapSample& s = lap.sample(i);
        const auto value = valueOf(i);
        const auto point = value ? track.samplePosition(s.distance, s.lateral) : std::nullopt;
        if (!point) {
            joined = false;
            continue;
        }
        mapped.push_back({*point, *value, joined});
        joined = true;
    }
    if (mapped.empty()) return line;
    const auto [low, high] = std::minmax_element(mapped.begin(), mapped.end(),
                                                 [](const Mapped& a, const Mapped& b) { return a.value < b.value; });
    line.low = low->value;
    line.high = high->value;
    const double span = line.high - line.low;
    for (std::size_t k = 1; k < mapped.size(); ++k) {
        if (!mapped[k].joined) continue;
        const double t = span > 0 ? (mapped[k].value - line.low) / span : 0.5;
        line.segments.push_back({mapped[k - 1].point, mapped[k].point, scaleColour(t)});
    }
    return line;
}

}  // namespace

Colour scaleColour(double t) {
    t = std::clamp(t, 0.0, 1.0);
    if (t < 0.5) return {0, channelByte(t * 2), channelByte(1 - t * 2)};
    return {channelByte((t - 0.5) * 2), channelByte(1 - (t - 0.5) * 2), 0};
}

ColouredLine colourByChannel(const Track& track, const GetRpyInfo& lap, const GraphChannel& channel, int wheel,
                             bool mph) {
    ColouredLine line = colourLine(track, lap, [&](int i) { return channelValue(lap, channel, i, wheel, mph); });
    line.caption = std::string(channel.caption) + " (" + channelUnit(channel, mph) + ")";
    return line;
}

ColouredLine colourByTimeDifference(const Track& track, const GetRpyInfo& first, const TimeDifference& td) {
    ColouredLine line = colourLine(track, first, [&](int i) -> std::optional<double> {
        if (td.step <= 0) return std::nullopt;
        const auto k = static_cast<long long>(first.sample(i).distance / td.step);
        if (k < 3 || k >= td.gridPoints) return std::nullopt;
        return td.diff[static_cast<std::size_t>(k)];
    });
    line.caption = "Time difference (ms)";
    return line;
}

std::optional<MetrePoint> centreLinePoint(const Track& track, double lapDistance) {
    return track.samplePosition(lapDistance, 0.0);
}

}  // namespace movrane
