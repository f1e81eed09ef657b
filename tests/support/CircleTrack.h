#pragma once

#include <cmath>
#include <numbers>

#include "core/replay/LapDerivation.h"

namespace testsupport {

// A circular lap of the given length for the lap derivations: 1000 map units a metre, the
// lateral offset towards the centre.
class CircleTrack : public movrane::LapProjection {
public:
    explicit CircleTrack(double lapLength) : lapLength_(lapLength) {}
    movrane::MapPoint mapPoint(double d, double lat) const override {
        const double angle = 2 * std::numbers::pi * d / lapLength_;
        const double radius = (lapLength_ / (2 * std::numbers::pi) - lat) * mapScale();
        return {static_cast<int32_t>(std::lround(radius * std::cos(angle))),
                static_cast<int32_t>(std::lround(radius * std::sin(angle)))};
    }
    double lapLength() const override { return lapLength_; }
    double mapScale() const override { return 1000; }

private:
    double lapLength_;
};

}  // namespace testsupport
