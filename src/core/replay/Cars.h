#pragma once

#include <cstdint>

namespace movrane {

constexpr int NATIONALITY_COUNT = 29;
constexpr int CAR_MAKE_COUNT = 7;

// Three-letter code of a nationality index; "---" for an index outside the table.
const char* nationalityCode(uint32_t index);
// Name of a car make index; "Unknown" for an index outside the table.
const char* carMakeName(uint32_t index);

}  // namespace movrane
