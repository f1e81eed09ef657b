#include "samplekit/ReplayWriter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace samplekit {

namespace {
constexpr std::size_t FIXED_PART = 296;
constexpr std::size_t RECORD_SIZE = 152;
constexpr std::size_t NAME_WIDTH = 16;

[[noreturn]] void ioFailure(const std::string& what) { throw std::runtime_error("replay writer: " + what); }

const DriverEntry* playerDriver(const ReplayDescription& d) {
    return d.playerIndex < d.drivers.size() ? &d.drivers[d.playerIndex] : nullptr;
}
}  // namespace

std::vector<uint8_t> encodeDriverRecord(const DriverEntry& d) {
    ByteBuffer b(RECORD_SIZE);
    b.putTag(0, "TNRD");
    b.putU32(4, 0);
    b.putU32(8, 139);
    b.putText(12, d.name1, NAME_WIDTH);
    b.putText(28, d.name2, NAME_WIDTH);
    b.putU8(48, d.nationality);
    if (d.standardCar) {
        b.putText(52, "NOT APPLICABLE", 16);
    } else {
        b.putU8(52, d.carClass);
        b.putU8(53, static_cast<uint8_t>(static_cast<int8_t>(d.year - 1885)));
        b.putU8(54, d.modA);
        b.putU8(55, d.modB);
        b.putBytes(57, d.modC.data(), d.modC.size());
    }
    const std::string kind = !d.kindText.empty() ? d.kindText : (d.ai ? "AI" : "NOT APPLICABLE");
    b.putText(84, kind, 16);
    b.putU32(116, 1);
    b.putU32(120, d.carMake);
    b.putU8(124, d.formulaClass);
    b.putU32(128, d.keptValue);
    b.putU32(132, d.word132);
    b.putU32(136, d.slot);
    b.putU32(140, d.carNumber);
    b.putU32(144, 150);
    b.putU32(148, 0x20010100);
    return b.bytes();
}

std::vector<uint8_t> encodeLapTable(const LapTable& t) {
    ByteBuffer b;
    b.putTag(0, t.tag);
    b.putU32(4, 0);
    b.putU32(8, 0);  // content size, set below
    for (const LapEntry& e : t.entries) {
        const std::size_t start = b.size();
        b.putTag(start, "ORPL");
        b.putU32(start + 4, 0);
        b.putU32(start + 8, static_cast<uint32_t>(8 + 4 * e.stamps.size()));
        b.putU32(start + 12, e.slot);
        b.putU32(start + 16, e.baseTime);
        for (uint32_t s : e.stamps) b.appendU32(s);
    }
    b.putU32(8, static_cast<uint32_t>(b.size() - 12));
    return b.bytes();
}

ByteBuffer encodeFixedPart(const ReplayDescription& d, uint32_t fileSizeField, uint32_t recordedFrames,
                           uint32_t streamLength, uint16_t lastFrameLength) {
    ByteBuffer b(FIXED_PART);
    b.putTag(0, "YLPR");
    b.putU32(4, d.version);
    b.putU32(8, fileSizeField);

    b.putTag(12, "DHPR");
    b.putU32(16, 0);
    b.putU32(20, 76);
    b.putText(24, d.trackName, 8);
    b.putU32(40, recordedFrames);
    b.putU32(44, streamLength);
    b.putU16(48, lastFrameLength);
    b.putU32(52, d.playerIndex);
    const DriverEntry* player = playerDriver(d);
    b.putText(56, d.playerName1 ? *d.playerName1 : (player ? player->name1 : ""), NAME_WIDTH);
    b.putText(72, d.playerName2 ? *d.playerName2 : (player ? player->name2 : ""), NAME_WIDTH);

    b.putTag(100, "FNKW");
    b.putU32(104, 0);
    b.putU32(108, 181);
    b.putText(112, d.trackName, NAME_WIDTH);
    b.putText(128, d.carSet, NAME_WIDTH);
    b.putU32(148, d.sessionType);
    b.putU16(156, d.count156);
    b.putU8(169, static_cast<uint8_t>((d.difficulty & 3) << 5));
    b.putU8(225, d.sessionKind);
    // Both laps words are unaligned 16-bit fields.
    b.putU8(239, static_cast<uint8_t>(d.scheduledLaps));
    b.putU8(240, static_cast<uint8_t>(d.scheduledLaps >> 8));
    b.putU8(247, static_cast<uint8_t>(d.scheduledLapsAlt));
    b.putU8(248, static_cast<uint8_t>(d.scheduledLapsAlt >> 8));
    return b;
}

void Frame::addItem(uint16_t type, const void* payload, std::size_t size) {
    if (size + 4 > std::numeric_limits<uint16_t>::max()) throw std::length_error("item too long");
    addRawItem(type, static_cast<uint16_t>(size + 4), payload, size);
}

void Frame::addU32Item(uint16_t type, uint32_t word) {
    const uint8_t p[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                          static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
    addItem(type, p, 4);
}

void Frame::addRawItem(uint16_t type, uint16_t declaredLength, const std::vector<uint8_t>& payload) {
    addRawItem(type, declaredLength, payload.data(), payload.size());
}

void Frame::addRawItem(uint16_t type, uint16_t declaredLength, const void* payload, std::size_t size) {
    const std::size_t start = items_.size();
    const std::size_t occupied = occupiedSize(declaredLength < 4 ? 4 : declaredLength);
    if (8 + start + occupied > std::numeric_limits<uint16_t>::max()) throw std::length_error("frame too long");
    items_.resize(start + occupied, 0);
    uint8_t* item = items_.data() + start;
    item[0] = static_cast<uint8_t>(type);
    item[1] = static_cast<uint8_t>(type >> 8);
    item[2] = static_cast<uint8_t>(declaredLength);
    item[3] = static_cast<uint8_t>(declaredLength >> 8);
    // Bytes past the declared length are padding: always zero.
    const std::size_t copied = std::min<std::size_t>(size, declaredLength > 4 ? declaredLength - 4u : 0u);
    if (copied > 0) std::memcpy(item + 4, payload, copied);
}

ReplayWriter::ReplayWriter(const std::filesystem::path& path, ReplayDescription description)
    : description_(std::move(description)), buffer_(1 << 20) {
    file_ = std::fopen(path.string().c_str(), "wb");
    if (!file_) ioFailure("cannot create " + path.string());
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());

    // Sizes are patched in finish().
    ByteBuffer fixed = encodeFixedPart(description_, 0, 0, 0, 0);
    put(fixed.data(), fixed.size());

    ByteBuffer list;
    list.putTag(0, "SLRD");
    list.putU32(4, 0);
    list.putU32(8, static_cast<uint32_t>(RECORD_SIZE * description_.drivers.size()));
    for (const DriverEntry& d : description_.drivers) {
        const std::vector<uint8_t> r = encodeDriverRecord(d);
        list.appendBytes(r.data(), r.size());
    }
    put(list.data(), list.size());

    uint64_t offset = FIXED_PART + list.size();
    auto putChunk = [&](const std::vector<uint8_t>& bytes) {
        put(bytes.data(), bytes.size());
        offset += bytes.size();
    };
    if (description_.practiceTable) putChunk(encodeLapTable(*description_.practiceTable));
    if (description_.unnamedChunk) {
        const RawChunk& c = *description_.unnamedChunk;
        ByteBuffer b;
        b.putTag(0, c.tag);
        b.putU32(4, c.flags);
        b.putU32(8, static_cast<uint32_t>(c.content.size()));
        b.appendBytes(c.content.data(), c.content.size());
        putChunk(b.bytes());
    }
    if (description_.raceTable) putChunk(encodeLapTable(*description_.raceTable));

    streamChunk_ = offset;
    ByteBuffer streamHeader;
    streamHeader.putTag(0, "PTPR");
    streamHeader.putU32(4, 0);
    streamHeader.putU32(8, 0);
    put(streamHeader.data(), streamHeader.size());
}

ReplayWriter::~ReplayWriter() {
    if (file_) std::fclose(file_);
}

void ReplayWriter::put(const void* data, std::size_t count) {
    if (count > 0 && std::fwrite(data, 1, count, file_) != count) ioFailure("write failed");
}

void ReplayWriter::writeFrame(const Frame& frame) {
    if (finished_) throw std::logic_error("replay writer: frame after finish");
    const uint16_t length = static_cast<uint16_t>(frame.length());
    uint8_t header[8];
    header[0] = static_cast<uint8_t>(length);
    header[1] = static_cast<uint8_t>(length >> 8);
    header[2] = static_cast<uint8_t>(lastLength_);
    header[3] = static_cast<uint8_t>(lastLength_ >> 8);
    for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<uint8_t>(frame.word() >> (8 * i));
    put(header, sizeof header);
    put(frame.items().data(), frame.items().size());
    lastLength_ = length;
    streamLength_ += length;
    ++frames_;
}

void ReplayWriter::finish() {
    if (finished_) return;
    finished_ = true;
    const uint64_t fileSize = streamChunk_ + 12 + streamLength_;
    if (fileSize > std::numeric_limits<uint32_t>::max()) ioFailure("replay larger than 4 GB");
    auto patchU32 = [&](uint64_t at, uint32_t v) {
        const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                              static_cast<uint8_t>(v >> 24)};
        if (std::fseek(file_, static_cast<long>(at), SEEK_SET) != 0) ioFailure("seek failed");
        put(b, 4);
    };
    patchU32(8, static_cast<uint32_t>(fileSize - 12));
    patchU32(40, description_.recordedFrames.value_or(frames_));
    patchU32(44, static_cast<uint32_t>(streamLength_));
    if (std::fseek(file_, 48, SEEK_SET) != 0) ioFailure("seek failed");
    const uint8_t last[2] = {static_cast<uint8_t>(lastLength_), static_cast<uint8_t>(lastLength_ >> 8)};
    put(last, 2);
    patchU32(streamChunk_ + 8, static_cast<uint32_t>(streamLength_));
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) ioFailure("close failed");
}

void writeHeaderOnly(const std::filesystem::path& path, const ReplayDescription& description, bool driverList) {
    ByteBuffer b = encodeFixedPart(description, 0, description.recordedFrames.value_or(0), 0, 0);
    if (driverList) {
        b.putTag(FIXED_PART, "SLRD");
        b.putU32(FIXED_PART + 4, 0);
        b.putU32(FIXED_PART + 8, static_cast<uint32_t>(RECORD_SIZE * description.drivers.size()));
        for (const DriverEntry& d : description.drivers) {
            const std::vector<uint8_t> r = encodeDriverRecord(d);
            b.appendBytes(r.data(), r.size());
        }
    }
    b.putU32(8, static_cast<uint32_t>(b.size() - 12));
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) ioFailure("cannot create " + path.string());
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    if (std::fclose(f) != 0 || !ok) ioFailure("write failed");
}

}  // namespace samplekit
