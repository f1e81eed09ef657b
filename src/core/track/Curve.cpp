#include "core/track/Curve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/track/CoreDisplay.h"
#include "core/track/MapFitting.h"
#include "core/track/Track.h"
#include "core/track/TrackData.h"
#include "core/track/TrackUnits.h"

namespace movrane {

Curve::Curve(const Track& track, const SectionSource& source) : Section(track, source) {
    _centre = {toMetres(source.data.i32(source.record + 4 * 5)), toMetres(source.data.i32(source.record + 4 * 6))};
    _turn = turnRadians(source.data.i32(source.record + 4 * 7));
    setEndHeading(_startHeading + _turn);
    _radius = centreLineRadius();
    _absRadius = std::fabs(_radius);
}

// A trace's radius is the centre line's radius less the trace's offset, so the radius at
// offset 0 follows from the first and the last trace. When the two traces coincide the
// relation is applied to the first trace alone.
double Curve::centreLineRadius() const {
    const std::size_t last = _tracePoints.size() - 1;
    const double r0 = _tracePoints.front().radius();
    const double rLast = _tracePoints[last].radius();
    const double o0 = _track.traceOffsetUnits(0);
    const double oLast = _track.traceOffsetUnits(last);
    if (oLast == o0) return (r0 + o0) * METRES_PER_TRACK_UNIT;
    return (rLast - oLast * (rLast - r0) / (oLast - o0)) * METRES_PER_TRACK_UNIT;
}

double Curve::radialAngle(double heading) const { return heading - side() * std::numbers::pi / 2; }

MetrePoint Curve::aroundCentre(double radius, double angle) const {
    return {_centre.x + radius * std::cos(angle), _centre.y + radius * std::sin(angle)};
}

long long Curve::segmentCount() const { return std::max(1LL, nearest(_geometricLength / 5.0)); }

void Curve::computeStartPoint() { _startPoint = aroundCentre(_absRadius, radialAngle(_startHeading)); }

Polyline Curve::borderArc(const Border& border) const {
    const long long n = segmentCount();
    const double startRadius = radiusAtOffset(border.startOffset);
    const double endRadius = radiusAtOffset(border.endOffset);
    Polyline arc;
    arc.reserve(static_cast<std::size_t>(n) + 1);
    for (long long k = 0; k <= n; ++k) {
        const double t = static_cast<double>(k) / static_cast<double>(n);
        arc.push_back(aroundCentre(startRadius + (endRadius - startRadius) * t, radialAngle(_startHeading + _turn * t)));
    }
    return arc;
}

void Curve::buildSurfaceStrips() {
    _surfaceStrips.clear();
    for (std::size_t j = 1; j < _borders.size(); ++j) {
        Polyline polygon = borderArc(_borders[j - 1]);
        std::reverse(polygon.begin(), polygon.end());
        const Polyline outer = borderArc(_borders[j]);
        polygon.insert(polygon.end(), outer.begin(), outer.end());
        _surfaceStrips.push_back({stripKind(_borders[j - 1].surfaceKind), std::move(polygon)});
    }
}

void Curve::buildCentreLine() {
    const long long n = segmentCount();
    const double step = _turn / static_cast<double>(n);
    _centreLine.clear();
    _centreLine.reserve(static_cast<std::size_t>(n) + 1);
    _centreLine.push_back(_startPoint);
    for (long long k = 1; k < n; ++k)
        _centreLine.push_back(aroundCentre(_absRadius, radialAngle(_startHeading + static_cast<double>(k) * step)));
    _centreLine.push_back(aroundCentre(_absRadius, radialAngle(_endHeading)));
}

MetrePoint Curve::pointAt(double along, double lateral) const {
    const double swept = _absRadius > 0.0 ? along / _absRadius : 0.0;
    return aroundCentre(radiusAtOffset(lateral), radialAngle(_startHeading) + side() * swept);
}

MetrePoint Curve::borderPointAt(double along, const Border& border) const {
    const double t = borderFraction(along);
    const double startRadius = radiusAtOffset(border.startOffset);
    const double endRadius = radiusAtOffset(border.endOffset);
    return aroundCentre(startRadius + (endRadius - startRadius) * t, radialAngle(_startHeading + _turn * t));
}

void Curve::accept(CoreDisplay& display) const { drawCentreLineByHighlight(display); }

double Curve::computeGeometricLength() const { return _radius * _turn; }

void Curve::drawPartlyHighlighted(CoreDisplay& display) const {
    const auto [from, to] = highlightedAlongRange();
    const double step = _geometricLength / static_cast<double>(segmentCount());
    Polyline stretch{pointAt(from, 0.0)};
    if (step > 0.0) {
        // Interior points on the centre line's own spacing; none just short of the end.
        const double last = to - step * 1e-6;
        for (double along = (std::floor(from / step) + 1.0) * step; along < last; along += step)
            stretch.push_back(pointAt(along, 0.0));
    }
    stretch.push_back(pointAt(to, 0.0));
    display.drawCentreLine(_centreLine);
    display.drawHighlightedCentreLine(stretch);
}

}  // namespace movrane
