#include "cli/SvgDisplay.h"

#include <cstdio>

#include "core/track/SurfaceColours.h"

namespace cli {

namespace {

std::string colourText(movrane::Rgb c) {
    char text[32];
    std::snprintf(text, sizeof text, "rgb(%d,%d,%d)", c.red, c.green, c.blue);
    return text;
}

std::string unitPoint(const movrane::UnitPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

}  // namespace

SvgDisplay::SvgDisplay(const movrane::MapFit& fit, int width, int height) : _fit(fit), _width(width), _height(height) {}

std::string SvgDisplay::points(const movrane::Polyline& line) const {
    std::string text;
    for (const movrane::MetrePoint& p : line) {
        if (!text.empty()) text += ' ';
        text += unitPoint(_fit.toUnits(p));
    }
    return text;
}

void SvgDisplay::drawSurface(int surfaceKind, const movrane::Polyline& polygon) {
    const std::string colour = colourText(movrane::defaultColour(movrane::colourNumberOfSurface(surfaceKind)));
    _body += "<polygon points=\"" + points(polygon) + "\" fill=\"" + colour + "\" stroke=\"" + colour +
             "\" stroke-width=\"0.5\"/>\n";
}

void SvgDisplay::drawCentreLine(const movrane::Polyline& line) {
    _body += "<polyline points=\"" + points(line) + "\" fill=\"none\" stroke=\"rgb(32,32,47)\" stroke-width=\"1\"/>\n";
}

void SvgDisplay::drawHighlightedCentreLine(const movrane::Polyline& line) {
    _body += "<polyline points=\"" + points(line) + "\" fill=\"none\" stroke=\"rgb(240,240,0)\" stroke-width=\"3\"/>\n";
}

void SvgDisplay::moveTo(movrane::MetrePoint point) {
    endPath();
    _path = std::string("M").append(unitPoint(_fit.toUnits(point)));
}

void SvgDisplay::lineTo(movrane::MetrePoint point) {
    if (_path.empty()) _path = std::string("M").append(unitPoint(_fit.toUnits(point)));
    _path.append(" L").append(unitPoint(_fit.toUnits(point)));
}

void SvgDisplay::endPath() {
    if (_path.empty()) return;
    _body += "<path d=\"" + _path + "\" fill=\"none\" stroke=\"rgb(0,0,255)\" stroke-width=\"1\"/>\n";
    _path.clear();
}

void SvgDisplay::drawDistanceMarker(const movrane::DistanceMarker& marker) {
    const movrane::UnitPoint from = _fit.toUnits(marker.from);
    const movrane::UnitPoint to = _fit.toUnits(marker.to);
    _body += "<line x1=\"" + std::to_string(from.x) + "\" y1=\"" + std::to_string(from.y) + "\" x2=\"" +
             std::to_string(to.x) + "\" y2=\"" + std::to_string(to.y) + "\" stroke=\"" +
             colourText(movrane::DISTANCE_MARKER_COLOUR) + "\" stroke-width=\"" +
             std::to_string(movrane::DISTANCE_MARKER_WIDTH) + "\"/>\n";
}

std::string SvgDisplay::document() {
    endPath();
    const std::string w = std::to_string(_width);
    const std::string h = std::to_string(_height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
           "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n<rect width=\"" + w + "\" height=\"" + h +
           "\" fill=\"rgb(204,204,204)\"/>\n" + _body + "</svg>\n";
}

}  // namespace cli
