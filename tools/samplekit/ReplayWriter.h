#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "samplekit/Bytes.h"

namespace samplekit {

// One driver record of the driver list (152 bytes in the file).
struct DriverEntry {
    std::string name1;
    std::string name2;
    uint8_t nationality = 12;
    bool standardCar = true;  // the mod-car block reads "NOT APPLICABLE"
    uint8_t carClass = 1;     // mod-car block, used when !standardCar
    int year = 1967;          // stored as year - 1885 in a signed byte
    uint8_t modA = 0;
    uint8_t modB = 0;
    std::array<uint8_t, 7> modC{};
    bool ai = false;
    std::string kindText;  // empty: "AI" for AI drivers, "NOT APPLICABLE" for humans
    uint32_t carMake = 0;
    uint8_t formulaClass = 1;
    uint32_t keptValue = 0;   // offset 128
    uint32_t word132 = 3;     // offset 132
    uint32_t slot = 0;
    uint32_t carNumber = 0;
};

// One lap entry ("ORPL") of a lap table.
struct LapEntry {
    uint32_t slot = 0;
    uint32_t baseTime = 0;          // ms, session clock: start of the slot's first lap
    std::vector<uint32_t> stamps;   // low 24 bits: session time of each lap end; top 8 bits flags
};

struct LapTable {
    std::string tag;  // four bytes; "BTPL" for the race table
    std::vector<LapEntry> entries;
};

// A chunk written as it stands: tag, flags word, content.
struct RawChunk {
    std::string tag;
    uint32_t flags = 0;
    std::vector<uint8_t> content;
};

// Everything of a replay except its record stream.
struct ReplayDescription {
    uint32_t version = 2;
    // Header fields; recordedFrames and streamLength default to what was written.
    std::optional<uint32_t> recordedFrames;
    uint32_t playerIndex = 0;
    // Empty: the names of the driver at playerIndex.
    std::optional<std::string> playerName1;
    std::optional<std::string> playerName2;
    std::string trackName = "harbour";
    std::string carSet = "cars67";
    uint32_t sessionType = 5;
    uint16_t count156 = 0;
    int difficulty = 3;        // bits 5-6 of byte 169
    uint8_t sessionKind = 0;   // byte 225
    uint16_t scheduledLaps = 0;     // 239/240
    uint16_t scheduledLapsAlt = 0;  // 247/248 (used by readers when sessionKind is 3)

    std::vector<DriverEntry> drivers;
    // Optional chunks between the driver list and the record stream, in this order.
    std::optional<LapTable> practiceTable;
    std::optional<RawChunk> unnamedChunk;
    std::optional<LapTable> raceTable;
};

// The bytes of a driver record, a lap table and the whole part before the record stream.
std::vector<uint8_t> encodeDriverRecord(const DriverEntry& d);
std::vector<uint8_t> encodeLapTable(const LapTable& t);
// The fixed part (offsets 0..295) with the size fields as given.
ByteBuffer encodeFixedPart(const ReplayDescription& d, uint32_t fileSizeField, uint32_t recordedFrames,
                           uint32_t streamLength, uint16_t lastFrameLength);

// One frame of the record stream being assembled. Items are padded with zero bytes to a
// multiple of 4; the declared length may differ from the payload to build odd items.
class Frame {
public:
    explicit Frame(uint32_t word = 0) : word_(word) {}
    // Item with its natural length 4 + payload size.
    void addItem(uint16_t type, const void* payload, std::size_t size);
    template <std::size_t N>
    void addItem(uint16_t type, const std::array<uint8_t, N>& payload) { addItem(type, payload.data(), N); }
    void addU32Item(uint16_t type, uint32_t word);
    // Item whose length field says `declaredLength` (header included); the item occupies
    // declaredLength rounded up to 4 bytes, filled from payload and then zeros.
    void addRawItem(uint16_t type, uint16_t declaredLength, const std::vector<uint8_t>& payload = {});
    void addRawItem(uint16_t type, uint16_t declaredLength, const void* payload, std::size_t size);

    uint32_t word() const { return word_; }
    void setWord(uint32_t word) { word_ = word; }
    const std::vector<uint8_t>& items() const { return items_; }
    std::size_t length() const { return 8 + items_.size(); }
    void clear() { items_.clear(); }

private:
    uint32_t word_;
    std::vector<uint8_t> items_;
};

// Writes a replay file: everything before the stream at construction, then frames one by
// one straight to the file, and on finish() the size fields patched by seeking back. The
// stream is never held in memory.
class ReplayWriter {
public:
    ReplayWriter(const std::filesystem::path& path, ReplayDescription description);
    ~ReplayWriter();
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    void writeFrame(const Frame& frame);
    // Patches the file size, recorded frames, stream length and last frame length; closes.
    void finish();

    uint32_t framesWritten() const { return frames_; }
    uint64_t streamChunkOffset() const { return streamChunk_; }
    uint64_t streamLength() const { return streamLength_; }
    const ReplayDescription& description() const { return description_; }

private:
    void put(const void* data, std::size_t count);

    ReplayDescription description_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    uint64_t streamChunk_ = 0;
    uint64_t streamLength_ = 0;
    uint16_t lastLength_ = 0;
    uint32_t frames_ = 0;
    bool finished_ = false;
};

// Writes a file that holds only the fixed part (296 bytes) or, with driverList, also the
// driver list: a replay without lap tables and record stream.
void writeHeaderOnly(const std::filesystem::path& path, const ReplayDescription& description,
                     bool driverList = false);

// Rounds an item length up to the bytes it occupies.
constexpr uint32_t occupiedSize(uint32_t length) { return (length + 3) & ~3u; }

}  // namespace samplekit
