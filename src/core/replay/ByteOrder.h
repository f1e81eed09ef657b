#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace movrane {

// Replay and track files are little-endian; these read fields out of byte buffers and
// append them to byte strings.
inline uint16_t readU16LE(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t readU32LE(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t readI32LE(const uint8_t* p) { return static_cast<int32_t>(readU32LE(p)); }

inline void appendU8(std::string& out, uint8_t v) { out += static_cast<char>(v); }
inline void appendU16LE(std::string& out, uint16_t v) {
    appendU8(out, static_cast<uint8_t>(v));
    appendU8(out, static_cast<uint8_t>(v >> 8));
}
inline void appendU32LE(std::string& out, uint32_t v) {
    appendU16LE(out, static_cast<uint16_t>(v));
    appendU16LE(out, static_cast<uint16_t>(v >> 16));
}

// Overwrite a field already in the string (a length known only once the rest is written).
inline void putU16LE(std::string& bytes, std::size_t at, uint16_t v) {
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}
inline void putU32LE(std::string& bytes, std::size_t at, uint32_t v) {
    putU16LE(bytes, at, static_cast<uint16_t>(v));
    putU16LE(bytes, at + 2, static_cast<uint16_t>(v >> 16));
}

// A fixed-width, NUL-terminated text field, kept with at most width - 1 characters.
inline std::string readFixedText(const uint8_t* p, std::size_t width) {
    std::size_t n = 0;
    while (n + 1 < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace movrane
