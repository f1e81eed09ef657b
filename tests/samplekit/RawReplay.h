#pragma once

// Plain reading of replay bytes for the writer tests: field reads at offsets, the bit
// reading of the car-state records, and a walk over the chunks and frames. Written
// independently of the writer so that the tests check it against the file layout.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace rawreplay {

uint16_t u16(const std::vector<uint8_t>& b, std::size_t at);
uint32_t u32(const std::vector<uint8_t>& b, std::size_t at);
std::string text(const std::vector<uint8_t>& b, std::size_t at, std::size_t width);
std::string tag(const std::vector<uint8_t>& b, std::size_t at);

// Bit k of the string is bit k mod 8 of byte k div 8; a field's first bit is its lowest.
uint32_t bits(const uint8_t* data, unsigned& position, unsigned width);
int32_t signedBits(const uint8_t* data, unsigned& position, unsigned width);

struct Item {
    uint16_t type = 0;
    uint16_t length = 0;
    std::size_t offset = 0;  // of the item header
};

struct Frame {
    std::size_t offset = 0;
    uint16_t length = 0;
    uint16_t previous = 0;
    uint32_t word = 0;
    std::vector<Item> items;
};

struct LapEntry {
    uint32_t slot = 0;
    uint32_t base = 0;
    std::vector<uint32_t> stamps;
};

struct Chunk {
    std::string tag;
    std::size_t offset = 0;
    uint32_t size = 0;
};

// The chunks between the driver list and the stream, the lap entries of lap tables, and the
// frames of the stream. Throws std::runtime_error on anything malformed.
struct Replay {
    std::vector<uint8_t> bytes;
    uint32_t driverCount = 0;
    std::vector<Chunk> chunks;  // after the driver list, the stream chunk last
    std::size_t stream = 0;     // offset of the stream chunk
    std::vector<Frame> frames;

    static Replay load(const std::filesystem::path& path);
    std::vector<LapEntry> lapEntries(const Chunk& table) const;
    const Chunk* chunk(const std::string& tag) const;
};

// Time stamp items of a frame as (session id, ms).
struct Stamp {
    std::size_t frame = 0;
    uint8_t session = 0;
    uint32_t ms = 0;
};
std::vector<Stamp> stamps(const Replay& r);

}  // namespace rawreplay
