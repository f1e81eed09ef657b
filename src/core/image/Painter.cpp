#include "core/image/Painter.h"

#include <algorithm>

namespace movrane {

void Painter::fillPolygon(const std::vector<PaintPoint>& points, Colour colour) {
    if (points.size() < 3) return;
    int top = points.front().y, bottom = points.front().y;
    for (const PaintPoint& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, height() - 1);
    std::vector<double> crossings;
    for (int y = top; y <= bottom; ++y) {
        // Edges are crossed at the row's centre; an edge counts from its upper end on and
        // stops before its lower end, so a vertex is crossed once.
        const double row = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const PaintPoint a = points[i];
            const PaintPoint b = points[(i + 1) % points.size()];
            if ((a.y <= row) == (b.y <= row)) continue;
            crossings.push_back(a.x + (row - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int from = std::max(0, static_cast<int>(crossings[i] + 0.5));
            const int to = std::min(width() - 1, static_cast<int>(crossings[i + 1] - 0.5));
            if (to >= from) fillRect(from, y, to - from + 1, 1, colour);
        }
    }
}

void Painter::polyline(const std::vector<PaintPoint>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) line(points[i - 1], points[i]);
}

void Painter::frameRect(int x, int y, int width, int height) {
    const PaintPoint a{x, y}, b{x + width - 1, y}, c{x + width - 1, y + height - 1}, d{x, y + height - 1};
    polyline({a, b, c, d, a});
}

}  // namespace movrane
