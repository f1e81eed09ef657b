#include "core/track/Straight.h"

#include <cmath>

#include "core/track/CoreDisplay.h"
#include "core/track/Track.h"
#include "core/track/TrackUnits.h"

namespace movrane {

// Trace 0 lies at its trace offset to the left of the centre line, so the centre line
// starts that offset to the right of the trace's start.
void Straight::computeStartPoint() {
    const TracePoint& trace = _tracePoints.front();
    const double offset = _track.traceOffsetUnits(0);
    _startPoint = {toMetres(trace.x()) + offset * _sinStart * METRES_PER_TRACK_UNIT,
                   toMetres(trace.y()) - offset * _cosStart * METRES_PER_TRACK_UNIT};
}

MetrePoint Straight::offsetFrom(MetrePoint base, double lateral) const {
    return {base.x - lateral * _sinStart, base.y + lateral * _cosStart};
}

void Straight::buildSurfaceStrips() {
    _surfaceStrips.clear();
    for (std::size_t j = 1; j < _borders.size(); ++j) {
        const Border& inner = _borders[j - 1];
        const Border& outer = _borders[j];
        _surfaceStrips.push_back({stripKind(inner.surfaceKind),
                                  {offsetFrom(_startPoint, inner.startOffset), offsetFrom(_endPoint, inner.endOffset),
                                   offsetFrom(_endPoint, outer.endOffset), offsetFrom(_startPoint, outer.startOffset)}});
    }
}

void Straight::buildCentreLine() { _centreLine = {_startPoint, _endPoint}; }

MetrePoint Straight::pointAt(double along, double lateral) const {
    return offsetFrom({_startPoint.x + along * _cosStart, _startPoint.y + along * _sinStart}, lateral);
}

MetrePoint Straight::borderPointAt(double along, const Border& border) const {
    const double t = borderFraction(along);
    return pointAt(along, border.startOffset + (border.endOffset - border.startOffset) * t);
}

void Straight::accept(CoreDisplay& display) const { drawCentreLineByHighlight(display); }

double Straight::computeGeometricLength() const {
    return std::hypot(_endPoint.x - _startPoint.x, _endPoint.y - _startPoint.y);
}

void Straight::drawPartlyHighlighted(CoreDisplay& display) const {
    const auto [from, to] = highlightedAlongRange();
    display.drawCentreLine(_centreLine);
    display.drawHighlightedCentreLine({pointAt(from, 0.0), pointAt(to, 0.0)});
}

}  // namespace movrane
