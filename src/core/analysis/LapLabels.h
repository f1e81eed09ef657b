#pragma once

#include <string>

namespace movrane {

class CZodEvadiDoc;

// "J. Clark 1m 23.456s": the driver's first initial, the last name and the replay's
// stored time of the lap in a used slot.
std::string driverLapLabel(const CZodEvadiDoc& doc, int slot);
// The driver lap label followed by " (", the car make and ")".
std::string driverLapCarLabel(const CZodEvadiDoc& doc, int slot);

}  // namespace movrane
