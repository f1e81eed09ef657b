#pragma once

#include <QPainter>
#include <QPointF>
#include <QTransform>

#include "core/app/MapDrawing.h"
#include "core/track/MapFitting.h"

namespace movrane::gui {

// The drawing sink of the track map on a QPainter. Map points are placed with the map
// fitting and then carried into the painter's pixels by `toPixels`.
class QtDisplay : public MapCanvas, public RaceCanvas {
public:
    static constexpr double LAP_LINE_WIDTH = 2.0;

    QtDisplay(QPainter& painter, const MapFit& fit, const QTransform& toPixels = {});

    void drawSurface(int surfaceKind, const Polyline& polygon) override;
    void drawCentreLine(const Polyline& line) override;
    void drawHighlightedCentreLine(const Polyline& line) override;
    void moveTo(MetrePoint point) override;
    void lineTo(MetrePoint point) override;
    void drawDistanceMarker(const DistanceMarker& marker) override;
    void setLineColour(Colour colour) override;
    void fillPolygon(const Polyline& polygon, Colour colour) override;
    void fillCircle(MetrePoint centre, double pixelDiameter, Colour colour) override;

    QPointF pixel(MetrePoint point) const;

private:
    QPolygonF pixels(const Polyline& line) const;

    QPainter& painter_;
    MapFit fit_;
    QTransform toPixels_;
    QColor lineColour_;
    QPointF pen_;
};

}  // namespace movrane::gui
