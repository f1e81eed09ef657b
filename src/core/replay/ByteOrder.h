#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace movrane {

// Replay and track files are little-endian; these read fields out of byte buffers.
inline uint16_t readU16LE(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t readU32LE(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t readI32LE(const uint8_t* p) { return static_cast<int32_t>(readU32LE(p)); }

// A fixed-width, NUL-terminated text field, kept with at most width - 1 characters.
inline std::string readFixedText(const uint8_t* p, std::size_t width) {
    std::size_t n = 0;
    while (n + 1 < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace movrane
