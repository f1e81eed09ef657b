#pragma once

#include <algorithm>
#include <limits>
#include <vector>

namespace movrane {

// A point of the track map in metres; y points up.
struct MetrePoint {
    double x = 0.0;
    double y = 0.0;
};

using Polyline = std::vector<MetrePoint>;

// The bounding box of a set of map points; empty until the first point is added.
class Extent {
public:
    void include(MetrePoint p) {
        _minX = std::min(_minX, p.x);
        _maxX = std::max(_maxX, p.x);
        _minY = std::min(_minY, p.y);
        _maxY = std::max(_maxY, p.y);
    }
    void include(const Polyline& points) {
        for (const MetrePoint& p : points) include(p);
    }

    bool empty() const { return _minX > _maxX; }
    double minX() const { return _minX; }
    double maxX() const { return _maxX; }
    double minY() const { return _minY; }
    double maxY() const { return _maxY; }
    double width() const { return empty() ? 0.0 : _maxX - _minX; }
    double height() const { return empty() ? 0.0 : _maxY - _minY; }

private:
    double _minX = std::numeric_limits<double>::infinity();
    double _maxX = -std::numeric_limits<double>::infinity();
    double _minY = std::numeric_limits<double>::infinity();
    double _maxY = -std::numeric_limits<double>::infinity();
};

}  // namespace movrane
