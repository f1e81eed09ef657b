#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/replay/Drivers.h"
#include "core/reports/ReportLaps.h"

namespace movrane {

// A lap timed a second time from the record stream. All 0 when the lap cannot be found.
struct LapVerification {
    uint32_t methodA = 0;      // ms, from the car's movement across the line at both ends
    double correctionB = 0;    // ms to add to the stated time for the irregularities of the clock
    int clockCorrections = 0;  // stamps whose time is not 1000 ms after the previous one
    int clockSmashes = 0;      // stamps that do not come 36 frames after the previous one

    // The stated time with the clock correction (truncated towards zero).
    uint32_t methodB(uint32_t statedTime) const;
};

// Times lap `lap` of `driver` in `session` from the replay file of the driver table;
// lapLength is the track's lap length in metres.
LapVerification verifyLap(const Drivers& drivers, uint32_t driver, int lap, Session session, double lapLength);

using ReportAppend = std::function<void(const std::string&)>;

// The online lap-time verifier, the sector times and the speed report of the loaded laps.
void laptimeVerifierReport(const ReportLaps& laps, const ReportAppend& append);
void sectorTimesReport(const ReportLaps& laps, const ReportAppend& append);
void speedReport(const ReportLaps& laps, const ReportAppend& append);

}  // namespace movrane
