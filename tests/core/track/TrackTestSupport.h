#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "samplekit/SampleCircuit.h"
#include "samplekit/TrackWriter.h"

namespace tracktest {

// A rounded square driven counter-clockwise: four straights and four left curves.
inline samplekit::Circuit roundedSquare() {
    using samplekit::Leg;
    return samplekit::Circuit({Leg::straight(100), Leg::curve(30, 90), Leg::straight(80), Leg::curve(30, 90),
                               Leg::straight(100), Leg::curve(30, 90), Leg::straight(80), Leg::curve(30, 90)},
                              0.0, 0, 2);
}

inline std::vector<uint8_t> roundedSquareBytes() { return samplekit::encodeTrack(roundedSquare().trackFile()); }

inline std::filesystem::path writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    samplekit::writeFile(path, bytes);
    return path;
}

inline void patchU32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace tracktest
