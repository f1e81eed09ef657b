#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/track/MapGeometry.h"
#include "core/track/TrackRecords.h"

namespace movrane {

class CoreDisplay;
class Track;
class TrackData;

// Where a section's record and the records it owns lie in the track data.
struct SectionSource {
    const TrackData& data;
    std::size_t index;    // position in the section table, for messages
    uint64_t record;      // offset of the section record
    uint64_t traceArea;   // offset of the trace area
    uint64_t traceCount;  // number of TracePoint records in it
    uint64_t borderArea;
    uint64_t borderCount;
};

// One piece of the track's closed chain. The Track builds a section in steps: the
// constructor reads the record, then the Track computes the start point, joins the
// chain, measures the length, gives the lap distances and builds the drawings.
class Section {
public:
    static constexpr std::size_t RECORD_WORDS = 13;

    virtual ~Section() = default;
    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

    virtual void computeStartPoint() = 0;
    virtual void buildSurfaceStrips() = 0;
    virtual void buildCentreLine() = 0;
    // The map point `along` metres from the section's start, `lateral` metres to the left.
    virtual MetrePoint pointAt(double along, double lateral) const = 0;
    // The point of a border `along` metres into the section; the border's offset runs
    // linearly from its start to its end offset over the stated length.
    virtual MetrePoint borderPointAt(double along, const Border& border) const = 0;
    // Hands the centre line to the display in the section's highlight state.
    virtual void accept(CoreDisplay& display) const = 0;
    virtual double computeGeometricLength() const = 0;
    // Draws the centre line normally with the highlighted stretch over it.
    virtual void drawPartlyHighlighted(CoreDisplay& display) const = 0;

    const Track& track() const { return _track; }
    double statedStart() const { return _statedStart; }
    double statedLength() const { return _statedLength; }
    double statedEnd() const { return _statedEnd; }
    double lapStart() const { return _lapStart; }
    double lapEnd() const { return _lapEnd; }
    double geometricLength() const { return _geometricLength; }
    double startHeading() const { return _startHeading; }
    double endHeading() const { return _endHeading; }
    MetrePoint startPoint() const { return _startPoint; }
    MetrePoint endPoint() const { return _endPoint; }
    const std::vector<TracePoint>& tracePoints() const { return _tracePoints; }
    const std::vector<Border>& borders() const { return _borders; }
    const Polyline& centreLine() const { return _centreLine; }
    const std::vector<SurfaceStrip>& surfaceStrips() const { return _surfaceStrips; }

    bool highlighted() const { return _highlighted; }
    bool highlightStartsInside() const { return _highlightStartsInside; }
    bool highlightEndsInside() const { return _highlightEndsInside; }
    double highlightFrom() const { return _highlightFrom; }
    double highlightTo() const { return _highlightTo; }

protected:
    // Reads words 1-3, the section's TracePoint records and its Border records.
    Section(const Track& track, const SectionSource& source);

    // Normal, highlighted or partly highlighted, as the highlight flags say.
    void drawCentreLineByHighlight(CoreDisplay& display) const;
    // The highlighted stretch as distances along the section.
    std::pair<double, double> highlightedAlongRange() const;
    // along / stated length, the share of the section a border point lies at.
    double borderFraction(double along) const;
    void setEndHeading(double heading);

    const Track& _track;
    double _statedStart = 0.0;
    double _statedLength = 0.0;
    double _statedEnd = 0.0;
    double _lapStart = 0.0;
    double _lapEnd = 0.0;
    double _geometricLength = 0.0;
    double _startHeading = 0.0;
    double _endHeading = 0.0;
    double _sinStart = 0.0;
    double _cosStart = 1.0;
    double _sinEnd = 0.0;
    double _cosEnd = 1.0;
    MetrePoint _startPoint;
    MetrePoint _endPoint;
    std::vector<TracePoint> _tracePoints;
    std::vector<Border> _borders;
    Polyline _centreLine;
    std::vector<SurfaceStrip> _surfaceStrips;

private:
    friend class Track;
    void clearHighlight();

    bool _highlighted = false;
    bool _highlightStartsInside = false;
    bool _highlightEndsInside = false;
    double _highlightFrom = 0.0;
    double _highlightTo = 0.0;
};

}  // namespace movrane
