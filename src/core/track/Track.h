#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/track/MapGeometry.h"
#include "core/track/Section.h"
#include "core/track/TrackRecords.h"

namespace movrane {

class TrackData;

// The geometry of one track: a closed chain of straights and curves read from a track
// file or archive, its lap length, four distance markers and a highlighted range.
class Track {
public:
    static constexpr uint32_t MAX_NO_OF_TRACES = 16;
    // No circuit is longer; a longer chain comes from a corrupt file.
    static constexpr double MAX_LAP_LENGTH = 100000.0;

    // Reads the track data of a track file or archive and builds the geometry.
    // Every failure raises MOVRNException.
    static std::unique_ptr<Track> load(const std::string& path);

    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;

    double lapLength() const { return _lapLength; }
    double statedLapLength() const { return _statedLapLength; }
    std::size_t numberOfSections() const { return _sectionList.size(); }
    uint32_t numberOfTraces() const { return _noOfTraces; }
    // Lateral offset of trace k from the centre line, in metres and as stored.
    double traceOffset(std::size_t k) const;
    double traceOffsetUnits(std::size_t k) const;
    int32_t headerWord4() const { return _headerWord4; }
    uint32_t headerWord24() const { return _headerWord24; }

    // Raises MOVRNException for an index at or beyond the number of sections.
    const Section& sectionAt(std::size_t index) const;
    // The first section whose lap-distance end is greater than d, or -1 when d >= L:
    // a distance at a section's end belongs to the next section.
    int findSection(double lapDistance) const;
    // The map point of a lap sample; one lap length is taken off a distance at or past
    // L. Nothing when no section holds the distance.
    std::optional<MetrePoint> samplePosition(double lapDistance, double lateral) const;

    // Highlights the sections holding [from, to]; the first and last only in part.
    // Raises MOVRNException when a bound falls outside every section or the range is
    // reversed across sections; nothing stays highlighted then.
    void setHighlight(double from, double to);
    // Highlights percent of the lap length on either side of lapDistance.
    void highlightAround(double lapDistance, double percent);
    void clearHighlight();
    int highlightFirst() const { return _highlightFirst; }
    int highlightLast() const { return _highlightLast; }

    const std::array<DistanceMarker, 4>& distanceMarkers() const { return _distanceMarkers; }
    const Extent& centreLineExtent() const { return _centreLineExtent; }
    const Extent& stripExtent() const { return _stripExtent; }
    // The extent a map is fitted to: the strips', or the centre line's on a track
    // without borders.
    const Extent& mapExtent() const { return _stripExtent.empty() ? _centreLineExtent : _stripExtent; }

private:
    Track() = default;
    void read(const TrackData& data);
    void readSections(const TrackData& data);
    void closeChain();
    void measureLap(const TrackData& data);
    void buildDrawings();
    void placeDistanceMarkers();
    DistanceMarker distanceMarkerAt(double lapDistance) const;

    uint32_t _type = 0;
    int32_t _headerWord4 = 0;
    double _statedLapLength = 0.0;
    uint32_t _noOfTraces = 0;
    uint32_t _headerWord24 = 0;
    std::array<int32_t, MAX_NO_OF_TRACES> _traceOffsets{};
    std::vector<std::unique_ptr<Section>> _sectionList;
    std::vector<double> _lapEnds;
    double _lapLength = 0.0;
    std::array<DistanceMarker, 4> _distanceMarkers{};
    int _highlightFirst = 0;
    int _highlightLast = 0;
    Extent _centreLineExtent;
    Extent _stripExtent;
};

}  // namespace movrane
