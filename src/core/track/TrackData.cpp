#include "core/track/TrackData.h"

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

// The whole file in memory; the stream is closed when this returns or throws.
std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) failLoad(path, " ; _orvFile == NULL");
    std::ifstream in(path, std::ios::binary);
    if (!in) failLoad(path, " ; _orvFile == NULL");
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) failLoad(path, " ; the file size cannot be taken");
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) failLoad(path, " ; the file cannot be read");
    return bytes;
}

std::vector<uint8_t> archiveEntryData(std::vector<uint8_t> archive, const std::string& path) {
    const std::string stem = *trackStem(path);
    const std::optional<ArchiveEntry> entry = findArchiveEntry(archive, stem + ".trk", path);
    if (!entry) failLoad(path, " ; !getTrkfileInfo(_orvFile, datfilename, offset, _fileSize)");
    if (entry->offset > archive.size() || entry->size > archive.size() - entry->offset)
        failLoad(path, " ; the archive entry " + stem + ".trk lies outside the file");
    const auto begin = archive.begin() + static_cast<std::ptrdiff_t>(entry->offset);
    return std::vector<uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(entry->size));
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

std::optional<ArchiveEntry> findArchiveEntry(const std::vector<uint8_t>& archive, const std::string& wantedName,
                                             const std::string& path) {
    if (archive.size() < 2) failLoad(path, " ; the archive has no entry table");
    const uint64_t count = readU16LE(archive.data());
    for (uint64_t k = 0; k < count; ++k) {
        const uint64_t at = 2 + ARCHIVE_ENTRY_SIZE * k;
        if (at + ARCHIVE_ENTRY_SIZE > archive.size())
            failLoad(path, " ; the archive's entry table is cut short at entry " + std::to_string(k));
        const uint8_t* entry = archive.data() + at;
        if (archiveEntryName(entry) == wantedName) return ArchiveEntry{readU32LE(entry + 23), readU32LE(entry + 2)};
    }
    return std::nullopt;
}

TrackData readTrackData(const std::string& path) {
    if (!trackStem(path)) failLoad(path, " ; filename lacks extension of trk or dat");
    std::vector<uint8_t> bytes = readWholeFile(path);
    if (!startsWithMagic(bytes)) bytes = archiveEntryData(std::move(bytes), path);
    if (!startsWithMagic(bytes)) failLoad(path, " ; _type != 0x5452414B");
    return TrackData(path, std::move(bytes));
}

}  // namespace movrane
