#include "samplekit/TrackWriter.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <stdexcept>

namespace samplekit {

namespace {

constexpr std::size_t HEADER_SIZE = 92;
constexpr std::size_t MAX_TRACES = 16;
constexpr std::size_t SECTION_RECORD_SIZE = 52;
constexpr std::size_t ARCHIVE_ENTRY_SIZE = 27;
constexpr std::size_t ARCHIVE_NAME_WIDTH = 13;

void putU32(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void putI32(std::vector<uint8_t>& out, std::size_t at, int32_t value) { putU32(out, at, static_cast<uint32_t>(value)); }

void putSectionRecord(std::vector<uint8_t>& out, std::size_t at, const TrackSectionRecord& s, std::size_t firstTrace,
                      std::size_t firstBorder) {
    putU32(out, at, s.type);
    putI32(out, at + 4, s.statedStart);
    putI32(out, at + 8, s.statedLength);
    putU32(out, at + 12, s.heading);
    putI32(out, at + 20, s.centreX);
    putI32(out, at + 24, s.centreY);
    putI32(out, at + 28, s.turn);
    putU32(out, at + 40, static_cast<uint32_t>(firstTrace));
    putU32(out, at + 44, static_cast<uint32_t>(s.borders.size()));
    putU32(out, at + 48, static_cast<uint32_t>(firstBorder));
}

}  // namespace

std::vector<uint8_t> encodeTrack(const TrackFileContents& contents) {
    const std::size_t traces = contents.traceOffsets.size();
    const std::size_t sections = contents.sections.size();
    std::size_t borders = 0;
    for (const auto& s : contents.sections) {
        if (s.tracePoints.size() != traces) throw std::invalid_argument("every section needs one record per trace");
        borders += s.borders.size();
    }
    const std::size_t traceArea = HEADER_SIZE + 4 * sections;
    const std::size_t borderArea = traceArea + 32 * sections * traces;
    const std::size_t sectionArea = borderArea + 32 * borders;
    std::vector<uint8_t> out(sectionArea + SECTION_RECORD_SIZE * sections, 0);

    putU32(out, 0, 0x5452414B);
    putI32(out, 4, contents.headerWord4);
    putI32(out, 8, contents.statedLapLength);
    putU32(out, 12, static_cast<uint32_t>(traces));
    putU32(out, 16, static_cast<uint32_t>(sections));
    putU32(out, 20, static_cast<uint32_t>(32 * borders));
    putU32(out, 24, contents.headerWord24);
    for (std::size_t k = 0; k < traces && k < MAX_TRACES; ++k) putI32(out, 28 + 4 * k, contents.traceOffsets[k]);

    std::size_t border = 0;
    for (std::size_t k = 0; k < sections; ++k) {
        const TrackSectionRecord& s = contents.sections[k];
        putU32(out, HEADER_SIZE + 4 * k, static_cast<uint32_t>(SECTION_RECORD_SIZE * k));
        for (std::size_t t = 0; t < traces; ++t) {
            for (std::size_t w = 0; w < 8; ++w)
                putI32(out, traceArea + 32 * (k * traces + t) + 4 * w, s.tracePoints[t].words[w]);
        }
        putSectionRecord(out, sectionArea + SECTION_RECORD_SIZE * k, s, k * traces, border);
        for (const TrackBorderRecord& b : s.borders) {
            const std::size_t at = borderArea + 32 * border++;
            putI32(out, at, b.startOffset);
            putI32(out, at + 4, b.endOffset);
            putU32(out, at + 8, b.flags);
            putI32(out, at + 16, b.distance);
        }
    }
    return out;
}

std::vector<uint8_t> encodeArchive(const std::vector<ArchiveMember>& members) {
    for (const ArchiveMember& m : members) {
        if (m.name.size() > ARCHIVE_NAME_WIDTH) throw std::invalid_argument("archive names hold at most 13 characters");
    }
    std::size_t dataAt = 2 + ARCHIVE_ENTRY_SIZE * members.size();
    std::vector<uint8_t> out(dataAt, 0);
    out[0] = static_cast<uint8_t>(members.size());
    out[1] = static_cast<uint8_t>(members.size() >> 8);
    for (std::size_t k = 0; k < members.size(); ++k) {
        const std::size_t entry = 2 + ARCHIVE_ENTRY_SIZE * k;
        putU32(out, entry + 2, static_cast<uint32_t>(members[k].data.size()));
        for (std::size_t i = 0; i < members[k].name.size(); ++i)
            out[entry + 10 + i] = static_cast<uint8_t>(members[k].name[i]);
        putU32(out, entry + 23, static_cast<uint32_t>(dataAt));
        out.insert(out.end(), members[k].data.begin(), members[k].data.end());
        dataAt += members[k].data.size();
    }
    return out;
}

void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

int32_t trackUnits(double metres) { return static_cast<int32_t>(std::lround(metres / METRES_PER_TRACK_UNIT)); }

uint32_t headingWord(double radians) {
    const double turns = radians / (2 * std::numbers::pi);
    const double fraction = turns - std::floor(turns);
    return static_cast<uint32_t>(static_cast<uint64_t>(std::llround(fraction * 4294967296.0)) & 0xFFFFFFFFu);
}

int32_t turnWord(double radians) { return static_cast<int32_t>(std::llround(radians / std::numbers::pi * 1073741824.0)); }

}  // namespace samplekit
