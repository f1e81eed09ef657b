#pragma once

#include "core/track/MapGeometry.h"

namespace movrane {

class Track;

// The nearest integer, halves away from zero; 0 for a value that is not a number, and
// values beyond +-2^53 are held there.
long long nearest(double value);

// A point of a drawing area in whole units (pixels or virtual units); y grows downwards.
struct UnitPoint {
    long long x = 0;
    long long y = 0;
};

// How map points are placed in a drawing area: metres per unit and the offsets that
// centre the track.
struct MapFit {
    double scale = 1.0;
    long long offsetX = 0;
    long long offsetY = 0;

    UnitPoint toUnits(MetrePoint p) const;
};

// Fits an extent into a drawing area of width x height units, leaving the margins free,
// with the same scale for both axes.
MapFit fitMap(const Extent& extent, double width, double height, double marginX, double marginY);

// The virtual area the lap derivations place a track in.
constexpr double VIRTUAL_MAP_SIZE = 10000000.0;
constexpr double VIRTUAL_MAP_MARGIN = 50.0;

MapFit virtualMapFit(const Track& track);
// The map scale U in virtual units per metre.
double virtualMapScale(const Track& track);

}  // namespace movrane
