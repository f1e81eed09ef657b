#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/replay/GetRpyInfo.h"

namespace movrane {

struct DriverRecord;

// A replay holding one lap of another: the source's bytes up to and including the header
// of its record stream chunk, then the frames of the lap's window, with the lengths and the
// frame count patched. Nothing when the source cannot be read or the window is not in it.
std::optional<std::string> extractedReplay(const std::string& sourcePath, uint64_t streamOffset,
                                           const StreamWindow& window);

// One lap of a merged replay: the driver it came from, its trimmed samples, its stored lap
// word (flags kept) and how many frames into the lap it starts.
struct MergedLap {
    const DriverRecord* driver = nullptr;
    const GetRpyInfo* lap = nullptr;
    uint32_t lapWord = 0;
    uint32_t offsetFrames = 0;
};

// The frames a merge offset in milliseconds stands for.
uint32_t mergeOffsetFrames(double milliseconds);

// Session time of the merged stream's first frame; the clock advances 1000 ms per 36 frames.
constexpr uint32_t MERGED_FIRST_FRAME_MS = 100000;

// A new replay in which every lap is a car of its own, all driving at the same time: the
// creator record in slot 0 and lap j in slot j, a lap table with each car's lap at its line
// crossings, and a record stream whose other-car records are encoded from the samples.
// Lap j's sample s drives in frame s + (largest offset) - (its offset); frames outside its
// samples, and samples without data, hold no record of it.
std::string mergedReplay(const std::string& trackName, const std::vector<MergedLap>& laps);

}  // namespace movrane
