#pragma once

#include <array>
#include <cstdint>

#include "core/replay/ReplayLayout.h"

namespace movrane {

constexpr int CONDITION_BYTES = 16;
constexpr int RETIREMENT_BYTE = 13;

// Per car slot the last seen condition bytes of the car condition item.
using CarState = std::array<uint8_t, CONDITION_BYTES>;
using CarStateTable = std::array<CarState, MAX_SLOTS>;

}  // namespace movrane
