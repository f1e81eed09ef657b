#include "core/track/Track.h"

#include <algorithm>
#include <cmath>

#include "core/track/Curve.h"
#include "core/track/MOVRNException.h"
#include "core/track/Straight.h"
#include "core/track/TrackData.h"
#include "core/track/TrackUnits.h"

namespace movrane {

namespace {

constexpr uint64_t HEADER_SIZE = 92;
constexpr uint64_t TRACE_OFFSETS_AT = 28;
constexpr uint64_t RECORD_SIZE = 32;

// Where the areas of the track data begin.
struct TrackLayout {
    uint64_t sectionCount = 0;
    uint64_t traceArea = 0;
    uint64_t traceCount = 0;
    uint64_t borderArea = 0;
    uint64_t borderCount = 0;
    uint64_t sectionArea = 0;
};

TrackLayout layoutOf(const TrackData& data, uint64_t traces) {
    TrackLayout layout;
    layout.sectionCount = data.u32(16);
    const uint64_t borderBytes = data.u32(20);
    if (!data.contains(HEADER_SIZE, 4 * layout.sectionCount))
        data.fail("the section table of " + std::to_string(layout.sectionCount) + " sections runs past the end");
    layout.traceArea = HEADER_SIZE + 4 * layout.sectionCount;
    layout.traceCount = layout.sectionCount * traces;
    if (!data.contains(layout.traceArea, RECORD_SIZE * layout.traceCount))
        data.fail("the trace area runs past the end");
    layout.borderArea = layout.traceArea + RECORD_SIZE * layout.traceCount;
    layout.borderCount = borderBytes / RECORD_SIZE;
    if (!data.contains(layout.borderArea, 4 * (borderBytes / 4))) data.fail("the border area runs past the end");
    layout.sectionArea = layout.borderArea + 4 * (borderBytes / 4);
    return layout;
}

std::unique_ptr<Section> makeSection(const Track& track, const SectionSource& source) {
    const uint32_t type = source.data.u32(source.record);
    if (type != 1 && type != 2)
        throw MOVRNException(source.data.path(), "Unknown section type with value " + std::to_string(type));
    if (!source.data.contains(source.record, 4 * Section::RECORD_WORDS))
        source.data.fail("section " + std::to_string(source.index) + " runs past the end");
    if (type == 1) return std::make_unique<Straight>(track, source);
    return std::make_unique<Curve>(track, source);
}

}  // namespace

std::unique_ptr<Track> Track::load(const std::string& path) {
    std::unique_ptr<Track> track(new Track());
    track->read(readTrackData(path));
    track->placeDistanceMarkers();
    return track;
}

void Track::read(const TrackData& data) {
    _type = data.u32(0);
    _headerWord4 = data.i32(4);
    _statedLapLength = toMetres(data.i32(8));
    _noOfTraces = data.u32(12);
    if (_noOfTraces > MAX_NO_OF_TRACES) data.fail("_noOfTraces > MAX_NO_OF_TRACES");
    if (_noOfTraces == 0) data.fail("the track has no traces");
    _headerWord24 = data.u32(24);
    for (std::size_t k = 0; k < MAX_NO_OF_TRACES; ++k) _traceOffsets[k] = data.i32(TRACE_OFFSETS_AT + 4 * k);
    readSections(data);
    closeChain();
    measureLap(data);
    buildDrawings();
}

void Track::readSections(const TrackData& data) {
    const TrackLayout layout = layoutOf(data, _noOfTraces);
    if (layout.sectionCount == 0) data.fail("the track has no sections");
    _sectionList.reserve(layout.sectionCount);
    for (uint64_t k = 0; k < layout.sectionCount; ++k) {
        const uint64_t offset = data.u32(HEADER_SIZE + 4 * k) / 4 * 4;
        const SectionSource source{data,
                                   k,
                                   layout.sectionArea + offset,
                                   layout.traceArea,
                                   layout.traceCount,
                                   layout.borderArea,
                                   layout.borderCount};
        _sectionList.push_back(makeSection(*this, source));
        _sectionList.back()->computeStartPoint();
    }
}

void Track::closeChain() {
    for (std::size_t k = 0; k < _sectionList.size(); ++k)
        _sectionList[k]->_endPoint = _sectionList[(k + 1) % _sectionList.size()]->_startPoint;
}

void Track::measureLap(const TrackData& data) {
    double sum = 0.0;
    _lapEnds.reserve(_sectionList.size());
    for (std::size_t k = 0; k < _sectionList.size(); ++k) {
        Section& section = *_sectionList[k];
        section._geometricLength = section.computeGeometricLength();
        if (!(section._geometricLength >= 0.0))
            data.fail("section " + std::to_string(k) + " has a negative length");
        section._lapStart = sum;
        sum += section._geometricLength;
        section._lapEnd = sum;
        _lapEnds.push_back(sum);
        if (sum > MAX_LAP_LENGTH) data.fail("the sections add up to more than any lap length");
    }
    _lapLength = sum;
}

void Track::buildDrawings() {
    for (const auto& section : _sectionList) {
        section->buildCentreLine();
        section->buildSurfaceStrips();
        _centreLineExtent.include(section->centreLine());
        for (const SurfaceStrip& strip : section->surfaceStrips()) _stripExtent.include(strip.polygon);
    }
}

double Track::traceOffset(std::size_t k) const { return traceOffsetUnits(k) * METRES_PER_TRACK_UNIT; }

double Track::traceOffsetUnits(std::size_t k) const {
    if (k >= MAX_NO_OF_TRACES) throw MOVRNException("traceIndex >= MAX_NO_OF_TRACES");
    return _traceOffsets[k];
}

const Section& Track::sectionAt(std::size_t index) const {
    if (index >= _sectionList.size()) throw MOVRNException("sectionIndex >= _sectionList.size()");
    return *_sectionList[index];
}

// The lap-distance ends rise along the chain, so the first end past d is found by
// binary search.
int Track::findSection(double lapDistance) const {
    const auto it = std::upper_bound(_lapEnds.begin(), _lapEnds.end(), lapDistance);
    return it == _lapEnds.end() ? -1 : static_cast<int>(it - _lapEnds.begin());
}

std::optional<MetrePoint> Track::samplePosition(double lapDistance, double lateral) const {
    if (lapDistance >= _lapLength) lapDistance -= _lapLength;
    const int index = findSection(lapDistance);
    if (index < 0) return std::nullopt;
    const Section& section = *_sectionList[static_cast<std::size_t>(index)];
    return section.pointAt(lapDistance - section.lapStart(), lateral);
}

void Track::clearHighlight() {
    for (const auto& section : _sectionList) section->clearHighlight();
}

void Track::setHighlight(double from, double to) {
    for (int k = _highlightFirst; k <= _highlightLast; ++k) _sectionList[static_cast<std::size_t>(k)]->clearHighlight();
    if (from > _lapLength || to < 0.0) return;
    const int first = from <= 0.0 ? 0 : findSection(from);
    const int last = to < _lapLength ? findSection(to) : static_cast<int>(_sectionList.size()) - 1;
    _highlightFirst = 0;
    _highlightLast = 0;
    if (first == -1 || last == -1) throw MOVRNException("ERROR! first == -1 || last == -1");
    if (first > last) throw MOVRNException("ERROR! last < first");
    _highlightFirst = first;
    _highlightLast = last;
    for (int k = first; k <= last; ++k) {
        Section& section = *_sectionList[static_cast<std::size_t>(k)];
        section.clearHighlight();
        section._highlighted = true;
    }
    Section& firstSection = *_sectionList[static_cast<std::size_t>(first)];
    firstSection._highlighted = false;
    firstSection._highlightStartsInside = true;
    firstSection._highlightFrom = std::max(from, firstSection._lapStart);
    Section& lastSection = *_sectionList[static_cast<std::size_t>(last)];
    lastSection._highlighted = false;
    lastSection._highlightEndsInside = true;
    lastSection._highlightTo = std::min(to, lastSection._lapEnd);
}

void Track::highlightAround(double lapDistance, double percent) {
    const double half = percent * _lapLength * 0.01;
    setHighlight(lapDistance - half, lapDistance + half);
}

void Track::placeDistanceMarkers() {
    for (std::size_t q = 0; q < _distanceMarkers.size(); ++q)
        _distanceMarkers[q] = distanceMarkerAt(0.25 * static_cast<double>(q) * _lapLength);
}

// A line across the section from its last to its first border; across the outer
// traces on a section without borders.
DistanceMarker Track::distanceMarkerAt(double lapDistance) const {
    const int index = findSection(lapDistance);
    if (index < 0) throw MOVRNException("findSection returned -1");
    const Section& section = *_sectionList[static_cast<std::size_t>(index)];
    const double along = lapDistance - section.statedStart();
    DistanceMarker marker{lapDistance, {}, {}};
    if (section.borders().empty()) {
        marker.from = section.pointAt(along, traceOffset(_noOfTraces - 1));
        marker.to = section.pointAt(along, traceOffset(0));
    } else {
        marker.from = section.borderPointAt(along, section.borders().back());
        marker.to = section.borderPointAt(along, section.borders().front());
    }
    return marker;
}

}  // namespace movrane
