#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "samplekit/ReplayWriter.h"
#include "samplekit/Simulator.h"

namespace samplekit {

constexpr const char* SAMPLE_TRACK = "samplering";
constexpr double SAMPLE_LAP_LENGTH = 3600.0;

// A field of up to 20 invented drivers, slot = position in the list. The human players
// are the player and every fourth driver after it; everyone else is an AI driver.
std::vector<DriverEntry> sampleDrivers(std::size_t count, uint32_t player);

// A practice session of `practiceLaps` timed laps for everyone, then a race of `raceLaps`
// laps (either may be 0 to leave the session out), on the sample track.
SimulationSpec sampleRaceSpec(std::size_t drivers, int practiceLaps, int raceLaps, uint64_t seed = 7);

// Header fields of the sample replays.
ReplayDescription sampleHeader(bool training);

}  // namespace samplekit
