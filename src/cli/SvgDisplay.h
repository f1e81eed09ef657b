#pragma once

#include <string>

#include "core/track/CoreDisplay.h"
#include "core/track/MapFitting.h"

namespace cli {

// A drawing sink that writes the track map as an SVG picture of width x height pixels,
// surfaces in the default colours of the colour table.
class SvgDisplay : public movrane::CoreDisplay {
public:
    SvgDisplay(const movrane::MapFit& fit, int width, int height);

    void drawSurface(int surfaceKind, const movrane::Polyline& polygon) override;
    void drawCentreLine(const movrane::Polyline& line) override;
    void drawHighlightedCentreLine(const movrane::Polyline& line) override;
    void moveTo(movrane::MetrePoint point) override;
    void lineTo(movrane::MetrePoint point) override;
    void drawDistanceMarker(const movrane::DistanceMarker& marker) override;

    // The whole picture; a pen path begun with moveTo is closed off first.
    std::string document();

private:
    std::string points(const movrane::Polyline& line) const;
    void endPath();

    movrane::MapFit _fit;
    int _width;
    int _height;
    std::string _body;
    std::string _path;
};

}  // namespace cli
