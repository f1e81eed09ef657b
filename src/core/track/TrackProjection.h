#pragma once

#include "core/replay/LapDerivation.h"
#include "core/track/MapFitting.h"

namespace movrane {

class Track;

// A Track seen by the lap derivations: map points in the virtual units the track is
// fitted to, its lap length and its map scale.
class TrackProjection : public LapProjection {
public:
    explicit TrackProjection(const Track& track);

    // A place without a section (a distance beyond a lap past the finish) gives (0, 0).
    MapPoint mapPoint(double lapDistance, double lateralOffset) const override;
    double lapLength() const override;
    double mapScale() const override { return _scale; }

private:
    const Track& _track;
    MapFit _fit;
    double _scale;
};

}  // namespace movrane
