#include "gui/analysis/QtPainter.h"

#include <QPolygon>
#include <QWidget>

#include "gui/platform/QtUi.h"

namespace movrane::gui {

QColor toQColor(Colour colour) { return QColor(colour.red, colour.green, colour.blue); }

QtPainter::QtPainter(QPainter& painter, int width, int height) : painter_(painter), width_(width), height_(height) {}

void QtPainter::setPen(Colour colour, int width) {
    painter_.setPen(QPen(toQColor(colour), width, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
}

void QtPainter::line(PaintPoint from, PaintPoint to) { painter_.drawLine(from.x, from.y, to.x, to.y); }

void QtPainter::polyline(const std::vector<PaintPoint>& points) {
    QPolygon polygon;
    for (const PaintPoint& p : points) polygon << QPoint(p.x, p.y);
    painter_.drawPolyline(polygon);
}

void QtPainter::fillRect(int x, int y, int width, int height, Colour colour) {
    painter_.fillRect(x, y, width, height, toQColor(colour));
}

void QtPainter::text(int x, int y, const std::string& text, Colour colour) {
    const QPen pen = painter_.pen();
    painter_.setPen(toQColor(colour));
    painter_.drawText(x, y + painter_.fontMetrics().ascent(), fromCore(text));
    painter_.setPen(pen);
}

int QtPainter::textWidth(const std::string& text) const { return painter_.fontMetrics().horizontalAdvance(fromCore(text)); }

int QtPainter::textHeight() const { return painter_.fontMetrics().height(); }

}  // namespace movrane::gui
