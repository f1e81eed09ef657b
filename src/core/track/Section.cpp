#include "core/track/Section.h"

#include <algorithm>
#include <cmath>

#include "core/track/CoreDisplay.h"
#include "core/track/Track.h"
#include "core/track/TrackData.h"
#include "core/track/TrackUnits.h"

namespace movrane {

namespace {

constexpr uint64_t TRACE_POINT_SIZE = 32;
constexpr uint64_t BORDER_SIZE = 32;

std::vector<TracePoint> readTracePoints(const SectionSource& source, uint64_t traceCount) {
    const uint64_t first = source.data.u32(source.record + 4 * 10);
    if (first > source.traceCount || traceCount > source.traceCount - first)
        source.data.fail("the trace points of section " + std::to_string(source.index) +
                         " lie outside the trace area");
    std::vector<TracePoint> points(traceCount);
    for (uint64_t k = 0; k < traceCount; ++k) {
        const uint64_t at = source.traceArea + TRACE_POINT_SIZE * (first + k);
        for (std::size_t w = 0; w < points[k].words.size(); ++w) points[k].words[w] = source.data.i32(at + 4 * w);
    }
    return points;
}

std::vector<Border> readBorders(const SectionSource& source) {
    const uint64_t count = source.data.u32(source.record + 4 * 11);
    const uint64_t first = source.data.u32(source.record + 4 * 12);
    if (first > source.borderCount || count > source.borderCount - first)
        source.data.fail("the borders of section " + std::to_string(source.index) + " lie outside the border area");
    std::vector<Border> borders(count);
    for (uint64_t k = 0; k < count; ++k) {
        const uint64_t at = source.borderArea + BORDER_SIZE * (first + k);
        borders[k].startOffset = toMetres(source.data.i32(at));
        borders[k].endOffset = toMetres(source.data.i32(at + 4));
        borders[k].surfaceKind = surfaceKindFromFlags(source.data.u32(at + 8));
        borders[k].distance = toMetres(source.data.i32(at + 16));
    }
    return borders;
}

}  // namespace

Section::Section(const Track& track, const SectionSource& source) : _track(track) {
    const int32_t start = source.data.i32(source.record + 4);
    const int32_t length = source.data.i32(source.record + 8);
    _statedStart = toMetres(start);
    _statedLength = toMetres(length);
    _statedEnd = toMetres(static_cast<int64_t>(start) + length);
    _startHeading = headingRadians(source.data.u32(source.record + 12));
    _sinStart = std::sin(_startHeading);
    _cosStart = std::cos(_startHeading);
    setEndHeading(_startHeading);
    _tracePoints = readTracePoints(source, track.numberOfTraces());
    _borders = readBorders(source);
}

void Section::setEndHeading(double heading) {
    _endHeading = heading;
    _sinEnd = std::sin(heading);
    _cosEnd = std::cos(heading);
}

void Section::clearHighlight() {
    _highlighted = false;
    _highlightStartsInside = false;
    _highlightEndsInside = false;
}

void Section::drawCentreLineByHighlight(CoreDisplay& display) const {
    if (_highlightStartsInside || _highlightEndsInside)
        drawPartlyHighlighted(display);
    else if (_highlighted)
        display.drawHighlightedCentreLine(_centreLine);
    else
        display.drawCentreLine(_centreLine);
}

std::pair<double, double> Section::highlightedAlongRange() const {
    const double from = _highlightStartsInside ? _highlightFrom : _lapStart;
    const double to = _highlightEndsInside ? _highlightTo : _lapEnd;
    return {from - _lapStart, to - _lapStart};
}

double Section::borderFraction(double along) const {
    return _statedLength != 0.0 ? along / _statedLength : 0.0;
}

}  // namespace movrane
