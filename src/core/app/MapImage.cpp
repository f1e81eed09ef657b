#include "core/app/MapImage.h"

#include <cmath>

#include "core/app/MapView.h"
#include "core/track/SurfaceColours.h"
#include "core/track/Track.h"

namespace movrane {

namespace {

constexpr Colour BACKGROUND{255, 255, 255};
constexpr int LAP_LINE_WIDTH = 2;

Colour colourOf(Rgb c) { return {c.red, c.green, c.blue}; }

// The map's drawing sink on a Painter, whose pixels are the fit's units.
class PainterMapCanvas : public MapCanvas {
public:
    PainterMapCanvas(Painter& painter, const MapFit& fit) : painter_(painter), fit_(fit) {}

    // Filled and outlined in the surface's colour, so neighbouring strips leave no seam.
    void drawSurface(int surfaceKind, const Polyline& polygon) override {
        const Colour colour = colourOf(defaultColour(colourNumberOfSurface(surfaceKind)));
        std::vector<PaintPoint> points = pixels(polygon);
        painter_.fillPolygon(points, colour);
        if (!points.empty()) points.push_back(points.front());
        painter_.setPen(colour);
        painter_.polyline(points);
    }
    void drawCentreLine(const Polyline&) override {}
    void drawHighlightedCentreLine(const Polyline&) override {}
    void moveTo(MetrePoint point) override { pen_ = pixel(point); }
    void lineTo(MetrePoint point) override {
        const PaintPoint to = pixel(point);
        painter_.setPen(lineColour_, LAP_LINE_WIDTH);
        painter_.line(pen_, to);
        pen_ = to;
    }
    void drawDistanceMarker(const DistanceMarker& marker) override {
        painter_.setPen(colourOf(DISTANCE_MARKER_COLOUR), DISTANCE_MARKER_WIDTH);
        painter_.line(pixel(marker.from), pixel(marker.to));
    }
    void setLineColour(Colour colour) override { lineColour_ = colour; }

private:
    PaintPoint pixel(MetrePoint point) const {
        const UnitPoint u = fit_.toUnits(point);
        return {static_cast<int>(u.x), static_cast<int>(u.y)};
    }
    std::vector<PaintPoint> pixels(const Polyline& line) const {
        std::vector<PaintPoint> points;
        points.reserve(line.size());
        for (const MetrePoint& p : line) points.push_back(pixel(p));
        return points;
    }

    Painter& painter_;
    MapFit fit_;
    Colour lineColour_{};
    PaintPoint pen_{};
};

}  // namespace

RgbImage documentMapImage(CZodEvadiDoc& doc, int size, const MapDrawOptions& options) {
    RgbImage image(size, size, BACKGROUND);
    if (!doc.track()) return image;
    ImagePainter painter(image);
    const MapFit fit = bitmapMapFit(drawnMapExtent(doc, options), size);
    PainterMapCanvas canvas(painter, fit);
    drawTrackMap(doc, fit, canvas, options);
    return image;
}

RgbImage trackMapImage(const Track& track, int size, const MapDrawOptions& options) {
    RgbImage image(size, size, BACKGROUND);
    ImagePainter painter(image);
    const MapFit fit = bitmapMapFit(drawnTrackExtent(track, options), size);
    PainterMapCanvas canvas(painter, fit);
    drawTrackGround(track, canvas, options);
    return image;
}

}  // namespace movrane
