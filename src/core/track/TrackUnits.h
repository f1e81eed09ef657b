#pragma once

#include <cstdint>
#include <numbers>

namespace movrane {

// Lengths in track files are integers in track units.
constexpr double METRES_PER_TRACK_UNIT = 5.08000000002032e-05;

// The magic word of track data: the bytes "KART" read as a little-endian word.
constexpr uint32_t TRACK_MAGIC = 0x5452414B;

constexpr double toMetres(int64_t trackUnits) { return static_cast<double>(trackUnits) * METRES_PER_TRACK_UNIT; }

// A heading word spans one full turn over its unsigned 32-bit range.
constexpr double headingRadians(uint32_t word) { return word * std::numbers::pi * 4.656612873077393e-10; }

// A curve's turn word: signed, half a turn per 2^30, positive counter-clockwise.
constexpr double turnRadians(int32_t word) { return word * std::numbers::pi * 9.313225746154785e-10; }

}  // namespace movrane
