#pragma once

#include <string>
#include <vector>

#include "core/analysis/GraphChannels.h"
#include "core/app/CZodEvadiDoc.h"

namespace movrane {

// What the graph windows need of a graph engine: series of points added and removed by
// identifier, axis ranges set and read back, captions with units. The desktop draws
// them; the command line and the tests record them.
class GraphEngine {
public:
    using SeriesId = int;

    virtual ~GraphEngine() = default;
    // `key` names the series for exports ("lap1", "lap2-wheel3", "timediff", "zero").
    virtual SeriesId addSeries(const std::string& key, const std::string& name, Colour colour,
                               const std::vector<GraphPoint>& points) = 0;
    virtual void removeSeries(SeriesId id) = 0;
    virtual void setXRange(AxisRange range) = 0;
    virtual void setYRange(AxisRange range) = 0;
    virtual AxisRange xRange() const = 0;
    virtual AxisRange yRange() const = 0;
    virtual void setXCaption(const std::string& caption, const std::string& unit) = 0;
    virtual void setYCaption(const std::string& caption, const std::string& unit) = 0;
    virtual void redraw() = 0;
};

}  // namespace movrane
