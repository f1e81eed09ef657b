#pragma once

#include "core/track/MapGeometry.h"
#include "core/track/TrackRecords.h"

namespace movrane {

class Track;

// The drawing sink the track map is drawn into; points are map points in metres, the
// sink fits them to its own drawing area.
class CoreDisplay {
public:
    virtual ~CoreDisplay() = default;

    virtual void drawSurface(int surfaceKind, const Polyline& polygon) = 0;
    virtual void drawCentreLine(const Polyline& line) = 0;
    virtual void drawHighlightedCentreLine(const Polyline& line) = 0;
    // Pen moves for lines the map draws over the track, such as driven laps.
    virtual void moveTo(MetrePoint point) = 0;
    virtual void lineTo(MetrePoint point) = 0;
    virtual void drawDistanceMarker(const DistanceMarker& marker) = 0;
};

// Every surface strip of every section, in section order.
void drawSurfaces(const Track& track, CoreDisplay& display);
// Every section's centre line, in the section's highlight state.
void drawCentreLines(const Track& track, CoreDisplay& display);
void drawDistanceMarkers(const Track& track, CoreDisplay& display);
// Surfaces, then centre lines, then distance markers.
void drawTrack(const Track& track, CoreDisplay& display);

}  // namespace movrane
