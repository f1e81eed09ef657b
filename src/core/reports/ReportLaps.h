#pragma once

#include <cstdint>
#include <vector>

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

// One lap loaded in the document, as the lap-based reports see it.
struct ReportLap {
    const Drivers* drivers = nullptr;  // the driver table of the lap's replay (its file is read again)
    uint32_t driver = 0;               // index in that driver table
    int lap = 0;
    Session session = PRACTICE;
    const GetRpyInfo* samples = nullptr;  // the lap's samples with their split times

    uint32_t statedTime() const { return drivers->lapTime(driver, session, lap); }
};

// The loaded laps in slot order, the lap length of the document's track (metres) and the
// speed unit preference.
struct ReportLaps {
    std::vector<ReportLap> laps;
    double lapLength = 0;
    bool mph = false;
};

}  // namespace movrane
