#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TrackTestSupport.h"
#include "core/track/MOVRNException.h"
#include "core/track/Track.h"
#include "support/TempDir.h"

using movrane::MOVRNException;
using movrane::Track;

namespace {

// Loads bytes as a track file: success or MOVRNException, never anything else. Returns
// the failure message, or "" on success.
std::string loadOutcome(const testsupport::TempDir& dir, const std::vector<uint8_t>& bytes) {
    const std::string path = tracktest::writeBytes(dir.file("corrupt.trk"), bytes).string();
    try {
        const auto track = Track::load(path);
        return "";
    } catch (const MOVRNException& e) {
        EXPECT_FALSE(e.message().empty());
        return e.message();
    }
}

std::vector<uint8_t> smallTrack() {
    samplekit::Circuit circuit = tracktest::roundedSquare();
    circuit.setTraceOffsets({-4.0, 4.0});
    return samplekit::encodeTrack(circuit.trackFile());
}

}  // namespace

TEST(TrackRobustness, EveryTruncationFailsCleanly) {
    testsupport::TempDir dir;
    const std::vector<uint8_t> bytes = smallTrack();
    // Every cut inside the header and section table, then every third byte.
    for (std::size_t size = 0; size < bytes.size(); size += size < 160 ? 1 : 3) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(loadOutcome(dir, cut), "") << "size " << size;
    }
    EXPECT_EQ(loadOutcome(dir, bytes), "");
    // Truncated archives fail cleanly.
    const std::vector<uint8_t> archive = samplekit::encodeArchive({{"x.trk", {1, 2, 3}}, {"corrupt.trk", smallTrack()}});
    for (std::size_t size = 0; size < archive.size(); size += 7) {
        const std::vector<uint8_t> cut(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(loadOutcome(dir, cut), "") << "size " << size;
    }
    // Random byte flips never crash.
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> position(0, bytes.size() - 1);
    std::uniform_int_distribution<int> value(0, 255);
    std::uniform_int_distribution<int> flips(1, 8);
    for (int round = 0; round < 1500; ++round) {
        std::vector<uint8_t> mutated = bytes;
        for (int n = flips(random); n > 0; --n) mutated[position(random)] = static_cast<uint8_t>(value(random));
        loadOutcome(dir, mutated);
    }
}

TEST(TrackRobustness, HugeCountsAndOffsetsAreRefused) {
    testsupport::TempDir dir;
    const std::vector<uint8_t> bytes = smallTrack();
    const uint32_t sectionCount = 8;
    const std::size_t traceArea = 92 + 4 * sectionCount;
    const std::size_t borderArea = traceArea + 32 * sectionCount * 2;
    uint32_t borderBytes = 0;
    for (int i = 0; i < 4; ++i) borderBytes |= static_cast<uint32_t>(bytes[20 + i]) << (8 * i);
    const std::size_t sectionArea = borderArea + borderBytes;
    struct Patch {
        std::size_t at;
        uint32_t value;
        const char* expected;
    };
    const Patch patches[] = {
        {16, 0xFFFFFFFFu, "the section table of 4294967295 sections runs past the end"},
        {16, 0, "the track has no sections"},
        {12, 0, "the track has no traces"},
        {20, 0xFFFFFFF0u, "the border area runs past the end"},
        {92, 0xFFFFFFF0u, "the track data ends before offset"},
        {sectionArea + 40, 0xFFFFFFFFu, "the trace points of section 0 lie outside the trace area"},
        {sectionArea + 44, 0xFFFFFFFFu, "the borders of section 0 lie outside the border area"},
        {sectionArea + 48, 0x7FFFFFFFu, "the borders of section 0 lie outside the border area"},
        {sectionArea + 52 + 28, 0xC0000000u, "section 1 has a negative length"},
    };
    for (const Patch& patch : patches) {
        std::vector<uint8_t> mutated = bytes;
        tracktest::patchU32(mutated, patch.at, patch.value);
        EXPECT_NE(loadOutcome(dir, mutated).find(patch.expected), std::string::npos) << patch.expected;
    }
    // Sections sharing hundreds of borders, or beyond any lap length, are refused.
    samplekit::TrackFileContents shared = tracktest::roundedSquare().trackFile();
    shared.sections[0].borders.resize(257, shared.sections[0].borders.front());
    const std::string sharedMessage = loadOutcome(dir, samplekit::encodeTrack(shared));
    EXPECT_NE(sharedMessage.find("section 0 has more borders than any track"), std::string::npos) << sharedMessage;
    shared.sections[0].borders.resize(256);
    EXPECT_EQ(loadOutcome(dir, samplekit::encodeTrack(shared)), "");
    // Sections beyond any lap length are refused.
    samplekit::TrackFileContents huge = tracktest::roundedSquare().trackFile();
    // A curve of nearly a full turn with a radius of 90 km.
    huge.sections[1].turn = samplekit::turnWord(6.0);
    for (auto& trace : huge.sections[1].tracePoints) trace.words[6] = samplekit::trackUnits(90000.0);
    const std::string hugeMessage = loadOutcome(dir, samplekit::encodeTrack(huge));
    EXPECT_NE(hugeMessage.find("more than any lap length"), std::string::npos) << hugeMessage;
}

