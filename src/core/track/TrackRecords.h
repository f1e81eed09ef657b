#pragma once

#include <array>
#include <cstdint>

#include "core/track/MapGeometry.h"

namespace movrane {

// Surface kinds of borders and strips. Kinds 1-7, 9 and 10 are the file's own values.
constexpr int SURFACE_WALL = 2048;
constexpr int SURFACE_OTHER = 2049;

// The kind a border's surface flags stand for: bit 11 marks a wall, otherwise the low
// four bits give the kind, and values without a meaning become SURFACE_OTHER.
int surfaceKindFromFlags(uint32_t flags);

// The kind a strip is drawn with: strips know kinds 1-7, 9, SURFACE_WALL and SURFACE_OTHER.
int stripKind(int borderKind);

// One trace of one section, as stored. Word 6 and 7 hold the trace's x and y at the
// start of a straight; word 6 holds the trace's signed radius on a curve.
struct TracePoint {
    std::array<int32_t, 8> words{};

    int32_t x() const { return words[6]; }
    int32_t y() const { return words[7]; }
    int32_t radius() const { return words[6]; }
};

// A lateral border between two surfaces, offsets in metres (positive to the left).
struct Border {
    double startOffset = 0.0;
    double endOffset = 0.0;
    int surfaceKind = SURFACE_OTHER;
    double distance = 0.0;  // kept as read, no analysis needs it
};

// The area between two neighbouring borders of a section.
struct SurfaceStrip {
    int surfaceKind = SURFACE_OTHER;
    Polyline polygon;
};

// A line across the track at a lap distance, drawn on the map at each quarter of the lap.
struct DistanceMarker {
    double lapDistance = 0.0;
    MetrePoint from;
    MetrePoint to;
};

}  // namespace movrane
