#include "core/track/CoreDisplay.h"

#include "core/track/Track.h"

namespace movrane {

void drawSurfaces(const Track& track, CoreDisplay& display) {
    for (std::size_t k = 0; k < track.numberOfSections(); ++k) {
        for (const SurfaceStrip& strip : track.sectionAt(k).surfaceStrips())
            display.drawSurface(strip.surfaceKind, strip.polygon);
    }
}

void drawCentreLines(const Track& track, CoreDisplay& display) {
    for (std::size_t k = 0; k < track.numberOfSections(); ++k) track.sectionAt(k).accept(display);
}

void drawDistanceMarkers(const Track& track, CoreDisplay& display) {
    for (const DistanceMarker& marker : track.distanceMarkers()) display.drawDistanceMarker(marker);
}

void drawTrack(const Track& track, CoreDisplay& display) {
    drawSurfaces(track, display);
    drawCentreLines(track, display);
    drawDistanceMarkers(track, display);
}

}  // namespace movrane
