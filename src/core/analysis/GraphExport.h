#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/TelemetryGraph.h"

namespace movrane {

// "Export visible range as CSV": the ticked laps' samples whose lap distance lies within
// the range, one column per lap and channel (per wheel for the by-wheel channels), the
// lap's k-th sample of the range in row k. An empty cell where a channel has no value.
std::string visibleRangeCsv(const CZodEvadiDoc& doc, const std::array<bool, CZodEvadiDoc::MAX_LAPS>& ticked,
                            AxisRange range);

// Cursors A and B on the graph: per shown series its value at A and at B and their
// difference, and per lap the time it took from A to B.
struct CursorReading {
    std::string name;
    std::optional<double> atA;
    std::optional<double> atB;
    std::optional<double> secondsAToB;
};
std::vector<CursorReading> cursorReadings(const CZodEvadiDoc& doc, const std::vector<ShownSeries>& series, double a,
                                          double b);
// One line per reading: "New graph - 1: A=180.00 B=200.00 B-A=20.00 time A->B=3.456s".
std::string cursorReadoutText(const std::vector<CursorReading>& readings);

// The value of a curve at x, interpolated between the points around it; nothing outside
// the curve or across a gap.
std::optional<double> valueAt(const std::vector<GraphPoint>& points, double x);
// Seconds from sample 0 to the lap distance d, interpolated between samples.
std::optional<double> lapTimeAt(const GetRpyInfo& lap, double d);

}  // namespace movrane
