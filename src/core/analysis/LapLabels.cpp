#include "core/analysis/LapLabels.h"

#include "core/app/CZodEvadiDoc.h"
#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

std::string driverLapLabel(const CZodEvadiDoc& doc, int slot) {
    const LapSlot& s = doc.slot(slot);
    const DriverRecord& d = s.drivers->driver(s.driver);
    return d.name1.substr(0, 1) + ". " + d.name2 + " " + lapTimeText(s.lap->storedLapTime());
}

std::string driverLapCarLabel(const CZodEvadiDoc& doc, int slot) {
    const LapSlot& s = doc.slot(slot);
    return driverLapLabel(doc, slot) + " (" + carMakeName(s.drivers->driver(s.driver).carMake) + ")";
}

}  // namespace movrane
