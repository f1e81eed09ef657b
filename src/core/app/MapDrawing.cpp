#include "core/app/MapDrawing.h"

#include <algorithm>

#include "core/replay/GetRpyInfo.h"
#include "core/track/Track.h"

namespace movrane {

void drawLapLine(const Track& track, const GetRpyInfo& lap, const MapFit& fit, MapLineState& line,
                 MapCanvas& canvas, int lastSample) {
    canvas.setLineColour(line.colour);
    int last = std::min(static_cast<int>(lap.samples().size()) - 1, lap.sampleCount() - 2);
    if (lastSample >= 0) last = std::min(last, lastSample);
    for (int i = 2; i <= last; ++i) {
        const LapSample& s = lap.sample(i);
        if (s.distance == 0.0 && s.lateral == 0.0) continue;
        const auto point = track.samplePosition(s.distance, s.lateral);
        if (!point) continue;
        if (line.firstPoint) {
            canvas.moveTo(*point);
            line.firstPoint = false;
        } else {
            canvas.lineTo(*point);
        }
        const UnitPoint units = fit.toUnits(*point);
        line.previous = {static_cast<int32_t>(units.x), static_cast<int32_t>(units.y)};
    }
}

namespace {
// A sink that draws nothing and keeps the box around every point it is given.
class ExtentCanvas : public MapCanvas {
public:
    Extent extent;

    void drawSurface(int, const Polyline& polygon) override { extent.include(polygon); }
    void drawCentreLine(const Polyline& line) override { extent.include(line); }
    void drawHighlightedCentreLine(const Polyline& line) override { extent.include(line); }
    void moveTo(MetrePoint point) override { extent.include(point); }
    void lineTo(MetrePoint point) override { extent.include(point); }
    void drawDistanceMarker(const DistanceMarker& marker) override {
        extent.include(marker.from);
        extent.include(marker.to);
    }
    void setLineColour(Colour) override {}
};
}  // namespace

void drawTrackMap(CZodEvadiDoc& doc, const MapFit& fit, MapCanvas& canvas, const MapDrawOptions& options) {
    const Track* track = doc.track();
    if (!track) return;
    drawSurfaces(*track, canvas);
    if (options.distanceMarkers) drawDistanceMarkers(*track, canvas);
    for (const int index : doc.usedSlots()) {
        LapSlot& slot = doc.slot(index);
        slot.line = MapLineState{true, {}, slot.colour};
        if (slot.shown && slot.lap) drawLapLine(*track, *slot.lap, fit, slot.line, canvas, options.lastSample);
    }
}

void drawRaceCars(const Track& track, const std::vector<RaceCar>& cars, CarDrawing drawing, RaceCanvas& canvas) {
    for (const RaceCar& car : cars) {
        const auto point = track.samplePosition(car.distance, car.lateral);
        if (!point) continue;
        const Colour colour = raceCarColour(car.driver);
        if (drawing == CarDrawing::Circles) {
            canvas.fillCircle(*point, CAR_CIRCLE_PIXELS, colour);
            continue;
        }
        Polyline outline = carOutline(car.heading, drawing);
        for (MetrePoint& p : outline) {
            p.x += point->x;
            p.y += point->y;
        }
        canvas.fillPolygon(outline, colour);
    }
}

Extent drawnMapExtent(CZodEvadiDoc& doc, const MapDrawOptions& options) {
    ExtentCanvas canvas;
    drawTrackMap(doc, MapFit{}, canvas, options);
    return canvas.extent;
}

}  // namespace movrane
