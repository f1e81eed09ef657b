#include "core/analysis/GraphPrint.h"

#include <algorithm>
#include <cstdio>

#include "core/analysis/GraphChannels.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "core/track/Track.h"

namespace movrane {

namespace {
constexpr double MILES_PER_KM = 0.6213722922;
}

double averageSpeed(double lapLength, uint32_t lapTimeMs, bool mph) {
    if (lapTimeMs == 0) return 0;
    const double kmh = lapLength / (lapTimeMs / 1000.0) * 3.6;
    return mph ? kmh * MILES_PER_KM : kmh;
}

std::vector<LegendRow> legendRows(const CZodEvadiDoc& doc, const std::array<bool, CZodEvadiDoc::MAX_LAPS>& ticked) {
    std::vector<LegendRow> rows;
    const double lapLength = doc.track() ? doc.track()->lapLength() : 0.0;
    const bool mph = doc.settings().speedUnit == 1;
    for (int slot = 0; slot < CZodEvadiDoc::MAX_LAPS; ++slot) {
        const LapSlot& lap = doc.slot(slot);
        if (!ticked[static_cast<std::size_t>(slot)] || !lap.inUse) continue;
        const DriverRecord& driver = lap.drivers->driver(lap.driver);
        const uint32_t time = lap.lap->storedLapTime() & 0xFFFFFF;
        char speed[32];
        std::snprintf(speed, sizeof speed, "(%7.3f)", averageSpeed(lapLength, time, mph));
        rows.push_back({slot, lap.colour, driver.name1 + " " + driver.name2, lapTimeText(time) + speed});
    }
    return rows;
}

std::string SelectGraphsToPrint::primaryText() const {
    return std::string("Currently selected and primary graph in the printed page is : ") + graphChannel(primary_).button;
}

std::vector<int> SelectGraphsToPrint::choices() const {
    std::vector<int> result;
    for (const GraphChannel& c : graphChannels())
        if (c.number != primary_) result.push_back(c.number);
    return result;
}

bool SelectGraphsToPrint::chosen(int channel) const {
    return std::find(chosen_.begin(), chosen_.end(), channel) != chosen_.end();
}

bool SelectGraphsToPrint::setChosen(int channel, bool chosen) {
    if (channel == primary_ || channel < 1 || channel > CHANNEL_COUNT) return false;
    if (!chosen) {
        std::erase(chosen_, channel);
        return true;
    }
    if (this->chosen(channel)) return true;
    if (chosen_.size() >= MAX_SECONDARY) return false;
    chosen_.push_back(channel);
    return true;
}

std::vector<int> SelectGraphsToPrint::secondaries() const {
    std::vector<int> result = chosen_;
    std::sort(result.begin(), result.end());
    return result;
}

}  // namespace movrane
