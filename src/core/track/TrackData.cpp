#include "core/track/TrackData.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/replay/ByteOrder.h"
#include "core/track/MOVRNException.h"
#include "core/track/TrackUnits.h"

namespace movrane {

namespace {

constexpr uint64_t ARCHIVE_ENTRY_SIZE = 27;
constexpr uint64_t ARCHIVE_NAME_OFFSET = 10;
constexpr uint64_t ARCHIVE_NAME_WIDTH = 13;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string archiveEntryName(const uint8_t* entry) {
    std::string name;
    for (uint64_t i = 0; i < ARCHIVE_NAME_WIDTH && entry[ARCHIVE_NAME_OFFSET + i] != 0; ++i)
        name += lowerAscii(static_cast<char>(entry[ARCHIVE_NAME_OFFSET + i]));
    return name;
}

[[noreturn]] void failLoad(const std::string& path, const std::string& text) {
    throw MOVRNException(path, path + text);
}

// A file opened for reads at absolute offsets, closed when it goes out of scope.
class InputFile {
public:
    explicit InputFile(const std::string& path) : _path(path) {
        // Only a regular file is opened: a named pipe would block the open, a device
        // such as /dev/zero would never end.
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) failLoad(path, " ; _orvFile == NULL");
        _in.open(path, std::ios::binary);
        if (!_in) failLoad(path, " ; _orvFile == NULL");
        _in.seekg(0, std::ios::end);
        const std::streamoff size = _in.tellg();
        if (size < 0) failLoad(path, " ; the file size cannot be taken");
        _size = static_cast<uint64_t>(size);
    }

    uint64_t size() const { return _size; }

    // The bytes of [offset, offset + count), cut at the end of the file.
    std::vector<uint8_t> read(uint64_t offset, uint64_t count) {
        if (offset >= _size) return {};
        std::vector<uint8_t> bytes(static_cast<std::size_t>(std::min(count, _size - offset)));
        _in.seekg(static_cast<std::streamoff>(offset));
        if (!_in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
            failLoad(_path, " ; the file cannot be read");
        return bytes;
    }

private:
    const std::string& _path;
    std::ifstream _in;
    uint64_t _size = 0;
};

// The bytes of a track: refused before they are read when there are more than any
// track holds, so that a huge file cannot exhaust the memory.
std::vector<uint8_t> trackBytes(InputFile& file, uint64_t offset, uint64_t size, const std::string& path) {
    if (size > MAX_TRACK_DATA_SIZE)
        failLoad(path, " ; the track data of " + std::to_string(size) + " bytes is larger than any track");
    return file.read(offset, size);
}

std::vector<uint8_t> archiveEntryData(InputFile& file, const std::string& path) {
    const std::vector<uint8_t> count = file.read(0, 2);
    const uint64_t entries = count.size() == 2 ? readU16LE(count.data()) : 0;
    const std::vector<uint8_t> table = file.read(0, 2 + ARCHIVE_ENTRY_SIZE * entries);
    const std::string stem = *trackStem(path);
    const std::optional<ArchiveEntry> entry = findArchiveEntry(table, stem + ".trk", path);
    if (!entry) failLoad(path, " ; !getTrkfileInfo(_orvFile, datfilename, offset, _fileSize)");
    if (entry->offset > file.size() || entry->size > file.size() - entry->offset)
        failLoad(path, " ; the archive entry " + stem + ".trk lies outside the file");
    return trackBytes(file, entry->offset, entry->size, path);
}

bool startsWithMagic(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 4 && readU32LE(bytes.data()) == TRACK_MAGIC;
}

}  // namespace

uint32_t TrackData::u32(uint64_t offset) const {
    if (!contains(offset, 4)) fail("the track data ends before offset " + std::to_string(offset));
    return readU32LE(_bytes.data() + offset);
}

void TrackData::fail(const std::string& text) const { failLoad(_path, " ; " + text); }

std::optional<std::string> trackStem(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string stem = name.substr(0, dot);
    for (char& c : stem) c = lowerAscii(c);
    return stem;
}

std::optional<ArchiveEntry> findArchiveEntry(const std::vector<uint8_t>& archiveStart, const std::string& wantedName,
                                             const std::string& path) {
    if (archiveStart.size() < 2) failLoad(path, " ; the archive has no entry table");
    const uint64_t count = readU16LE(archiveStart.data());
    for (uint64_t k = 0; k < count; ++k) {
        const uint64_t at = 2 + ARCHIVE_ENTRY_SIZE * k;
        if (at + ARCHIVE_ENTRY_SIZE > archiveStart.size())
            failLoad(path, " ; the archive's entry table is cut short at entry " + std::to_string(k));
        const uint8_t* entry = archiveStart.data() + at;
        if (archiveEntryName(entry) == wantedName) return ArchiveEntry{readU32LE(entry + 23), readU32LE(entry + 2)};
    }
    return std::nullopt;
}

TrackData readTrackData(const std::string& path) {
    if (!trackStem(path)) failLoad(path, " ; filename lacks extension of trk or dat");
    InputFile file(path);
    std::vector<uint8_t> bytes =
        startsWithMagic(file.read(0, 4)) ? trackBytes(file, 0, file.size(), path) : archiveEntryData(file, path);
    if (!startsWithMagic(bytes)) failLoad(path, " ; _type != 0x5452414B");
    return TrackData(path, std::move(bytes));
}

}  // namespace movrane
