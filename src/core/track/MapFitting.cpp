#include "core/track/MapFitting.h"

#include <algorithm>
#include <cmath>

#include "core/track/Track.h"

namespace movrane {

long long nearest(double value) {
    constexpr double LIMIT = 9007199254740992.0;  // 2^53
    if (std::isnan(value)) return 0;
    return std::llround(std::clamp(value, -LIMIT, LIMIT));
}

UnitPoint MapFit::toUnits(MetrePoint p) const {
    return {nearest(p.x / scale) + offsetX, offsetY - nearest(p.y / scale)};
}

MapFit fitMap(const Extent& extent, double width, double height, double marginX, double marginY) {
    const double usableWidth = std::max(1.0, width - 2 * marginX);
    const double usableHeight = std::max(1.0, height - 2 * marginY);
    const double ex = extent.width();
    const double ey = extent.height();
    MapFit fit;
    const double scale = std::max(ex / usableWidth, ey / usableHeight);
    if (scale > 0.0) fit.scale = scale;
    const double minX = extent.empty() ? 0.0 : extent.minX();
    const double maxY = extent.empty() ? 0.0 : extent.maxY();
    fit.offsetX = nearest(marginX) + nearest((usableWidth - ex / fit.scale) / 2) - nearest(minX / fit.scale);
    fit.offsetY = nearest(marginY) + nearest((usableHeight - ey / fit.scale) / 2) + nearest(maxY / fit.scale);
    return fit;
}

MapFit virtualMapFit(const Track& track) {
    return fitMap(track.mapExtent(), VIRTUAL_MAP_SIZE, VIRTUAL_MAP_SIZE, VIRTUAL_MAP_MARGIN, VIRTUAL_MAP_MARGIN);
}

double virtualMapScale(const Track& track) {
    const double larger = std::max(track.mapExtent().width(), track.mapExtent().height());
    return larger > 0.0 ? VIRTUAL_MAP_SIZE / larger : 1.0;
}

}  // namespace movrane
