#include "core/analysis/Trackmap.h"

#include "core/track/CoreDisplay.h"
#include "core/track/Track.h"

namespace movrane {

std::string Trackmap::title() const {
    const auto metres = static_cast<long long>(track_.statedLapLength());
    return trackName_ + " (" + std::to_string(metres) + " meters)";
}

void Trackmap::showDistance(double lapDistance) { track_.highlightAround(lapDistance, HIGHLIGHT_PERCENT); }

void Trackmap::draw(CoreDisplay& display) const { drawCentreLines(track_, display); }

}  // namespace movrane
