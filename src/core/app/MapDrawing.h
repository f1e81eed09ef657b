#pragma once

#include "core/app/CZodEvadiDoc.h"
#include "core/app/RaceReplay.h"
#include "core/track/CoreDisplay.h"
#include "core/track/MapFitting.h"

namespace movrane {

class GetRpyInfo;
class Track;

// A drawing sink that also draws the driven lines of laps, each in its slot's colour.
class MapCanvas : public CoreDisplay {
public:
    virtual void setLineColour(Colour colour) = 0;
};

// The filled shapes of the cars during race playback.
class RaceCanvas {
public:
    virtual ~RaceCanvas() = default;
    virtual void fillPolygon(const Polyline& polygon, Colour colour) = 0;
    // A circle of a fixed size in pixels, whatever the zoom.
    virtual void fillCircle(MetrePoint centre, double pixelDiameter, Colour colour) = 0;
};

struct MapDrawOptions {
    bool distanceMarkers = true;
    // While the laps play, their lines reach only this sample; -1 draws them whole.
    int lastSample = -1;
};

constexpr double CAR_CIRCLE_PIXELS = 10.0;

// The driven line of one lap: samples 2 .. n-2 (or up to lastSample when that is not -1) joined in order, leaving out samples whose
// lap distance and lateral offset are both 0 and samples that lie in no section. The line
// state follows the drawing; `fit` gives the map points it keeps.
void drawLapLine(const Track& track, const GetRpyInfo& lap, const MapFit& fit, MapLineState& line,
                 MapCanvas& canvas, int lastSample = -1);

// The cars of a race frame, each in its driver's colour: the car outline turned to its
// heading, or a circle; a car whose place lies in no section is left out.
void drawRaceCars(const Track& track, const std::vector<RaceCar>& cars, CarDrawing drawing, RaceCanvas& canvas);

// The whole map of the document: surface strips, distance markers unless hidden, and the
// line of every shown lap. Every lap's line state is reset first. Nothing without a track.
void drawTrackMap(CZodEvadiDoc& doc, const MapFit& fit, MapCanvas& canvas, const MapDrawOptions& options);

// The box around everything drawTrackMap draws with these options: strips (kerbs among
// them), distance markers and driven lines. Maps are fitted to it, so nothing drawn lies
// outside the view or the bitmap. Empty without a track.
Extent drawnMapExtent(CZodEvadiDoc& doc, const MapDrawOptions& options);

}  // namespace movrane
