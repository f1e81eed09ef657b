#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "samplekit/ReplayWriter.h"

namespace testsupport {

// A session in a small test stream: `seconds` seconds of frames, 36 a second, with a time
// stamp (session id, session time) in the first frame of each second.
struct StampedSession {
    uint8_t sessionId = 0;
    uint32_t startMs = 0;
    int seconds = 10;
};

// Drivers named "First<i>" "Last<i>" in slots 0..count-1.
std::vector<samplekit::DriverEntry> namedDrivers(int count);

// A lap entry whose laps end at baseTime + lapMs, + 2 x lapMs, ...
samplekit::LapEntry evenLaps(uint32_t slot, uint32_t baseTime, uint32_t lapMs, int laps);

// Writes a replay with the description's tables and a stream of the given sessions and
// returns the offset of its stream chunk. `extra` may add items to each frame before its
// time stamp (called with the frame's number from 1).
uint64_t writeStampedReplay(const std::filesystem::path& path, const samplekit::ReplayDescription& description,
                        const std::vector<StampedSession>& sessions,
                        const std::function<void(samplekit::Frame&, int)>& extra = {});

}  // namespace testsupport
