#include "core/track/TrackProjection.h"

#include "core/track/Track.h"

namespace movrane {

TrackProjection::TrackProjection(const Track& track)
    : _track(track), _fit(virtualMapFit(track)), _scale(virtualMapScale(track)) {}

MapPoint TrackProjection::mapPoint(double lapDistance, double lateralOffset) const {
    const std::optional<MetrePoint> point = _track.samplePosition(lapDistance, lateralOffset);
    if (!point) return {};
    const UnitPoint units = _fit.toUnits(*point);
    return {static_cast<int32_t>(units.x), static_cast<int32_t>(units.y)};
}

double TrackProjection::lapLength() const { return _track.lapLength(); }

}  // namespace movrane
