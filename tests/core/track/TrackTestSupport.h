#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/track/Track.h"
#include "samplekit/SampleCircuit.h"
#include "samplekit/TrackWriter.h"
#include "support/TempDir.h"

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

// Loads the circuit's track file from a temporary copy.
inline std::unique_ptr<movrane::Track> loadCircuit(const samplekit::TrackFileContents& contents) {
    testsupport::TempDir dir;
    return movrane::Track::load(writeBytes(dir.file("circuit.trk"), samplekit::encodeTrack(contents)).string());
}
inline std::unique_ptr<movrane::Track> loadCircuit(const samplekit::Circuit& circuit) {
    return loadCircuit(circuit.trackFile());
}

inline void patchU32(std::vector<uint8_t>& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace tracktest
