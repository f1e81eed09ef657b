#include "core/analysis/GraphExport.h"

#include <algorithm>
#include <cstdio>

#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

constexpr double SAMPLES_PER_SECOND = 36.0;
constexpr char WHEEL_SHORT[WHEEL_COUNT][3] = {"LF", "RF", "LR", "RR"};

struct Column {
    int slot;
    const GraphChannel* channel;  // nothing: the lap distance
    int wheel;
};

std::string heading(const Column& c, bool mph) {
    std::string text = "Lap " + std::to_string(c.slot + 1) + " ";
    if (!c.channel) return text + X_CAPTION;
    text += c.channel->button;
    if (c.wheel >= 0) text += std::string(" ") + WHEEL_SHORT[c.wheel];
    return text + " (" + channelUnit(*c.channel, mph) + ")";
}

std::string number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", value);
    return text;
}

// Sample indexes of a lap whose distance lies within the range, in sample order.
std::vector<int> samplesWithin(const GetRpyInfo& lap, AxisRange range) {
    std::vector<int> result;
    for (int i = 1; i <= lap.sampleCount(); ++i) {
        const double d = lap.sample(i).distance;
        if (d >= range.low && d <= range.high) result.push_back(i);
    }
    return result;
}

}  // namespace

std::string visibleRangeCsv(const CZodEvadiDoc& doc, const std::array<bool, CZodEvadiDoc::MAX_LAPS>& ticked,
                            AxisRange range) {
    const bool mph = doc.settings().speedUnit == 1;
    std::vector<Column> columns;
    std::vector<std::vector<int>> samples(CZodEvadiDoc::MAX_LAPS);
    std::size_t rows = 0;
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        if (!ticked[static_cast<std::size_t>(slot)] || !doc.slot(slot).inUse) continue;
        samples[static_cast<std::size_t>(slot)] = samplesWithin(*doc.slot(slot).lap, range);
        rows = std::max(rows, samples[static_cast<std::size_t>(slot)].size());
        columns.push_back({slot, nullptr, -1});
        for (const GraphChannel& c : graphChannels()) {
            if (!c.byWheel) columns.push_back({slot, &c, -1});
            else
                for (int w = 0; w < WHEEL_COUNT; ++w) columns.push_back({slot, &c, w});
        }
    }
    std::string csv;
    for (std::size_t k = 0; k < columns.size(); ++k) csv.append(k ? "," : "").append(heading(columns[k], mph));
    csv += "\n";
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (k) csv += ",";
            const Column& c = columns[k];
            const auto& lapSamples = samples[static_cast<std::size_t>(c.slot)];
            if (row >= lapSamples.size()) continue;
            const GetRpyInfo& lap = *doc.slot(c.slot).lap;
            const int i = lapSamples[row];
            if (!c.channel) {
                csv += number(lap.sample(i).distance);
            } else if (const auto v = channelValue(lap, *c.channel, i, c.wheel, mph)) {
                csv += number(*v);
            }
        }
        csv += "\n";
    }
    return csv;
}

std::optional<double> valueAt(const std::vector<GraphPoint>& points, double x) {
    for (std::size_t k = 1; k < points.size(); ++k) {
        const GraphPoint& p = points[k - 1];
        const GraphPoint& q = points[k];
        if (x < p.x || x > q.x) continue;
        if (isGap(p) || isGap(q)) return std::nullopt;
        return q.x == p.x ? p.y : p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x);
    }
    return std::nullopt;
}

std::optional<double> lapTimeAt(const GetRpyInfo& lap, double d) {
    for (int i = 2; i <= lap.sampleCount(); ++i) {
        const double d0 = lap.sample(i - 1).distance;
        const double d1 = lap.sample(i).distance;
        if (d < d0 || d > d1) continue;
        const double f = d1 == d0 ? 0.0 : (d - d0) / (d1 - d0);
        return (i - 1 + f) / SAMPLES_PER_SECOND;
    }
    return std::nullopt;
}

std::vector<CursorReading> cursorReadings(const CZodEvadiDoc& doc, const std::vector<ShownSeries>& series, double a,
                                          double b) {
    std::vector<CursorReading> readings;
    for (const ShownSeries& s : series) {
        CursorReading r{s.name, valueAt(s.points, a), valueAt(s.points, b), std::nullopt};
        const GetRpyInfo& lap = *doc.slot(s.slot).lap;
        const auto ta = lapTimeAt(lap, a);
        const auto tb = lapTimeAt(lap, b);
        if (ta && tb) r.secondsAToB = *tb - *ta;
        readings.push_back(r);
    }
    return readings;
}

std::string cursorReadoutText(const std::vector<CursorReading>& readings) {
    auto value = [](const std::optional<double>& v) {
        if (!v) return std::string("-");
        char text[48];
        std::snprintf(text, sizeof text, "%.2f", *v);
        return std::string(text);
    };
    std::string text;
    for (const CursorReading& r : readings) {
        const auto difference = r.atA && r.atB ? std::optional<double>(*r.atB - *r.atA) : std::nullopt;
        text += r.name + ": A=" + value(r.atA) + " B=" + value(r.atB) + " B-A=" + value(difference);
        if (r.secondsAToB) {
            char seconds[48];
            std::snprintf(seconds, sizeof seconds, " time A->B=%.3fs", *r.secondsAToB);
            text += seconds;
        }
        text += "\n";
    }
    return text;
}

}  // namespace movrane
