#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace samplekit {

// The records of a track file as stored: lengths and coordinates in track units,
// headings and turns as angle words.
struct TrackTraceRecord {
    std::array<int32_t, 8> words{};
};

struct TrackBorderRecord {
    int32_t startOffset = 0;
    int32_t endOffset = 0;
    uint32_t flags = 0;
    int32_t distance = 0;
};

struct TrackSectionRecord {
    uint32_t type = 1;  // 1 straight, 2 curve
    int32_t statedStart = 0;
    int32_t statedLength = 0;
    uint32_t heading = 0;
    int32_t centreX = 0;  // curves only
    int32_t centreY = 0;
    int32_t turn = 0;
    std::vector<TrackTraceRecord> tracePoints;  // one per trace, in trace order
    std::vector<TrackBorderRecord> borders;
};

struct TrackFileContents {
    int32_t headerWord4 = 0;
    int32_t statedLapLength = 0;
    uint32_t headerWord24 = 0;
    std::vector<int32_t> traceOffsets;  // the number of traces; at most 16 are stored
    std::vector<TrackSectionRecord> sections;
};

// The bytes of a track file: header, section table, trace, border and section areas.
std::vector<uint8_t> encodeTrack(const TrackFileContents& contents);

struct ArchiveMember {
    std::string name;
    std::vector<uint8_t> data;
};

// The bytes of a track archive holding the members in order. An archive stores 13
// characters of a name, so a longer name (a track directory of more than 9
// characters) is refused.
std::vector<uint8_t> encodeArchive(const std::vector<ArchiveMember>& members);

void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Track-unit and angle-word conversions of the track file.
constexpr double METRES_PER_TRACK_UNIT = 5.08000000002032e-05;
int32_t trackUnits(double metres);
uint32_t headingWord(double radians);
int32_t turnWord(double radians);

}  // namespace samplekit
