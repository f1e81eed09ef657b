#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace movrane {

// More bytes than any track's data holds (real ones hold kilobytes).
inline constexpr uint64_t MAX_TRACK_DATA_SIZE = uint64_t{64} << 20;

// The bytes of one track's data in memory. Every read is checked against their size;
// a read outside them raises MOVRNException naming the file.
class TrackData {
public:
    TrackData(std::string path, std::vector<uint8_t> bytes) : _path(std::move(path)), _bytes(std::move(bytes)) {}

    const std::string& path() const { return _path; }
    uint64_t size() const { return _bytes.size(); }
    bool contains(uint64_t offset, uint64_t length) const { return offset <= size() && length <= size() - offset; }

    uint32_t u32(uint64_t offset) const;
    int32_t i32(uint64_t offset) const { return static_cast<int32_t>(u32(offset)); }

    // Raises MOVRNException with the path followed by " ; " and the text.
    [[noreturn]] void fail(const std::string& text) const;

private:
    std::string _path;
    std::vector<uint8_t> _bytes;
};

// The lower-cased file name of a path (after its last '/' or '\'), cut at its first
// '.'; nothing when the file name holds no '.'.
std::optional<std::string> trackStem(const std::string& path);

// Where an archive keeps one entry's data.
struct ArchiveEntry {
    uint64_t offset = 0;
    uint64_t size = 0;
};

// Looks up an entry by name in the first bytes of an archive (its entry count and
// table): entry names are lower-cased and compared in full with wantedName. Raises
// MOVRNException when the table is cut short before a match is found.
std::optional<ArchiveEntry> findArchiveEntry(const std::vector<uint8_t>& archiveStart, const std::string& wantedName,
                                             const std::string& path);

// Reads the track data of a track file, or of the entry named after the stem in an
// archive (any file that does not start with the track magic). Checks the magic.
TrackData readTrackData(const std::string& path);

}  // namespace movrane
