#include "core/image/Painter.h"

namespace movrane {

void Painter::polyline(const std::vector<PaintPoint>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) line(points[i - 1], points[i]);
}

void Painter::frameRect(int x, int y, int width, int height) {
    const PaintPoint a{x, y}, b{x + width - 1, y}, c{x + width - 1, y + height - 1}, d{x, y + height - 1};
    polyline({a, b, c, d, a});
}

}  // namespace movrane
