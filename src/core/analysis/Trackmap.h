#pragma once

#include <string>

#include "core/app/CZodEvadiDoc.h"

namespace movrane {

class CoreDisplay;
class Track;

// The small "Trackmap" window of the telemetry graph: the track's centre lines on light
// grey with the stretch around the graph's mouse position highlighted.
class Trackmap {
public:
    static constexpr Colour BACKGROUND{204, 204, 204};
    static constexpr double HIGHLIGHT_PERCENT = 1.0;
    static constexpr int MARGIN = 5;

    Trackmap(Track& track, std::string trackName) : track_(track), trackName_(std::move(trackName)) {}

    // "<track name> (<stated lap length in whole metres> meters)".
    std::string title() const;
    // Highlights one per cent of the lap on either side of the distance.
    void showDistance(double lapDistance);
    void draw(CoreDisplay& display) const;
    const Track& track() const { return track_; }

private:
    Track& track_;
    std::string trackName_;
};

}  // namespace movrane
