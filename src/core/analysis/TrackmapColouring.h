#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/GraphChannels.h"
#include "core/analysis/TimeDifference.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/track/MapGeometry.h"

namespace movrane {

class Track;

// A lap's driven line on the Trackmap, each stretch coloured by a value: a channel of the
// graph, or the time difference. The scale runs from blue (low) over green to red (high).
struct ColouredSegment {
    MetrePoint from;
    MetrePoint to;
    Colour colour;
};
struct ColouredLine {
    std::vector<ColouredSegment> segments;
    double low = 0;
    double high = 0;
    std::string caption;  // "Speed (Kph)", "Time difference (ms)"
};

// The scale's colour of t in 0 .. 1 (held there).
Colour scaleColour(double t);

// Samples 2 .. n-2 of the lap, coloured by the channel between its smallest and largest value.
ColouredLine colourByChannel(const Track& track, const GetRpyInfo& lap, const GraphChannel& channel, int wheel,
                             bool mph);
// The first lap's line coloured by the difference at the grid point of each sample.
ColouredLine colourByTimeDifference(const Track& track, const GetRpyInfo& first, const TimeDifference& td);

// The point of the centre line at a lap distance, for the graph's mouse marker.
std::optional<MetrePoint> centreLinePoint(const Track& track, double lapDistance);

}  // namespace movrane
