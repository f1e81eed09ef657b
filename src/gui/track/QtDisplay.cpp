#include "gui/track/QtDisplay.h"

#include "core/track/SurfaceColours.h"

namespace movrane::gui {

namespace {
QColor qColour(Rgb c) { return QColor(c.red, c.green, c.blue); }
constexpr Rgb CENTRE_LINE_COLOUR{32, 32, 47};
constexpr Rgb HIGHLIGHT_COLOUR{240, 240, 0};
}  // namespace

QtDisplay::QtDisplay(QPainter& painter, const MapFit& fit, const QTransform& toPixels)
    : painter_(painter), fit_(fit), toPixels_(toPixels) {}

QPointF QtDisplay::pixel(MetrePoint point) const {
    const UnitPoint u = fit_.toUnits(point);
    return toPixels_.map(QPointF(static_cast<double>(u.x), static_cast<double>(u.y)));
}

QPolygonF QtDisplay::pixels(const Polyline& line) const {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(line.size()));
    for (const MetrePoint& p : line) polygon << pixel(p);
    return polygon;
}

// Filled in the surface's colour and outlined in it, so neighbouring strips leave no seam.
void QtDisplay::drawSurface(int surfaceKind, const Polyline& polygon) {
    const QColor colour = qColour(defaultColour(colourNumberOfSurface(surfaceKind)));
    painter_.setPen(QPen(colour, 1.0));
    painter_.setBrush(colour);
    painter_.drawPolygon(pixels(polygon));
}

void QtDisplay::drawCentreLine(const Polyline& line) {
    painter_.setPen(QPen(qColour(CENTRE_LINE_COLOUR), 1.0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(pixels(line));
}

void QtDisplay::drawHighlightedCentreLine(const Polyline& line) {
    painter_.setPen(QPen(qColour(HIGHLIGHT_COLOUR), 3.0));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(pixels(line));
}

void QtDisplay::moveTo(MetrePoint point) { pen_ = pixel(point); }

void QtDisplay::lineTo(MetrePoint point) {
    const QPointF to = pixel(point);
    painter_.setPen(QPen(lineColour_, LAP_LINE_WIDTH, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(pen_, to);
    pen_ = to;
}

void QtDisplay::drawDistanceMarker(const DistanceMarker& marker) {
    painter_.setPen(QPen(qColour(DISTANCE_MARKER_COLOUR), DISTANCE_MARKER_WIDTH, Qt::SolidLine, Qt::FlatCap));
    painter_.drawLine(pixel(marker.from), pixel(marker.to));
}

void QtDisplay::setLineColour(Colour colour) { lineColour_ = QColor(colour.red, colour.green, colour.blue); }

void QtDisplay::fillPolygon(const Polyline& polygon, Colour colour) {
    const QColor c(colour.red, colour.green, colour.blue);
    painter_.setPen(QPen(c, 1.0));
    painter_.setBrush(c);
    painter_.drawPolygon(pixels(polygon));
}

void QtDisplay::fillCircle(MetrePoint centre, double pixelDiameter, Colour colour) {
    const QColor c(colour.red, colour.green, colour.blue);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(c);
    painter_.drawEllipse(pixel(centre), pixelDiameter / 2, pixelDiameter / 2);
}

}  // namespace movrane::gui
