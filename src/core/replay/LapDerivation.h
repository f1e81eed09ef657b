#pragma once

#include <cstdint>

namespace movrane {

class GetRpyInfo;

struct MapPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// What the derivation needs of a track: the map point of a place on the lap, the lap
// length in metres and the map scale in map units per metre.
class LapProjection {
public:
    virtual ~LapProjection() = default;
    virtual MapPoint mapPoint(double lapDistance, double lateralOffset) const = 0;
    virtual double lapLength() const = 0;
    virtual double mapScale() const = 0;
};

// Fills the derived quantities of a trimmed lap for samples 2 .. n - 1: world points,
// direction of motion, slip angles, speed, locked wheels, quarter-lap split times, car
// heading and the accelerations.
//
// Samples without data (an other car's missing record) hold position 0, which would look
// like a jump to the start line: a quantity that would be taken across such a sample keeps
// the previous sample's value, and accelerations taken across it count as undefined.
// Undefined accelerations are 0 and left out of the means: the raw acceleration needs
// three points, so samples 1 and 2 have none, the 7-sample mean starts at sample 7 (samples
// 2 .. 6 stay 0), and the 4-sample means count only samples whose 7-sample mean exists.
void deriveLapQuantities(GetRpyInfo& lap, const LapProjection& track);

}  // namespace movrane
