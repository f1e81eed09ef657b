#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "samplekit/ReplayWriter.h"
#include "samplekit/Simulator.h"

namespace samplekit {

constexpr const char* SAMPLE_TRACK = "harbour";
// The sample circuit that the sample replays are driven on, and its lap length.
std::shared_ptr<const Course> sampleCourse();
double sampleLapLength();

// A field of up to 20 invented drivers, slot = position in the list. The human players
// are the player and every fourth driver after it; everyone else is an AI driver.
std::vector<DriverEntry> sampleDrivers(std::size_t count, uint32_t player);

// A practice session of `practiceLaps` timed laps for everyone, then a race of `raceLaps`
// laps (either may be 0 to leave the session out), on the sample track.
SimulationSpec sampleRaceSpec(std::size_t drivers, int practiceLaps, int raceLaps, uint64_t seed = 7);

// Header fields of the sample replays.
ReplayDescription sampleHeader(bool training);

}  // namespace samplekit
