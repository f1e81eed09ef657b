#include "core/app/MergeParameters.h"

#include <algorithm>
#include <cstdlib>

#include "core/app/CZodEvadiDoc.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

namespace {

double offsetValue(std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return text.empty() ? 0 : std::strtod(text.c_str(), nullptr);
}

}  // namespace

MergeParameters::MergeParameters(const CZodEvadiDoc& doc) {
    uint32_t fastest = UINT32_MAX;
    for (int slot : doc.usedSlots()) fastest = std::min(fastest, doc.slot(slot).lap->storedLapTime());
    for (int slot : doc.usedSlots()) {
        const LapSlot& s = doc.slot(slot);
        const DriverRecord& d = s.drivers->driver(s.driver);
        const uint32_t time = s.lap->storedLapTime();
        rows_.push_back({slot, d.name1 + " " + d.name2, lapTimeText(time), std::to_string(time - fastest)});
    }
}

bool MergeParameters::acceptableText(const std::string& text) {
    return text.find_first_not_of("0123456789.,") == std::string::npos;
}

bool MergeParameters::setOffsetText(std::size_t row, const std::string& text) {
    if (row >= rows_.size() || !acceptableText(text)) return false;
    rows_[row].offset = text;
    return true;
}

std::optional<std::vector<double>> MergeParameters::offsets(Ui& ui) const {
    std::vector<double> values;
    for (const Row& row : rows_) {
        const double value = offsetValue(row.offset);
        if (!(value <= MAX_OFFSET_MS)) {
            ui.message(TOO_LARGE_MESSAGE, {}, Ui::Icon::Warning);
            return std::nullopt;
        }
        values.push_back(value);
    }
    return values;
}

}  // namespace movrane
