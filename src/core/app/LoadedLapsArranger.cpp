#include "core/app/LoadedLapsArranger.h"

#include <utility>

#include "core/app/CZodEvadiDoc.h"
#include "core/library/LapFinder.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

const std::array<const char*, 6> LoadedLapsArranger::COLUMN_HEADERS = {"Lap time", "Driver Name", "Session",
                                                                       "Team", "Replay file", "Class"};

LoadedLapsArranger::LoadedLapsArranger(const CZodEvadiDoc& doc, Ui& ui) : ui_(ui) {
    for (const int index : doc.usedSlots()) {
        const LapSlot& slot = doc.slot(index);
        const DriverRecord& driver = slot.drivers->driver(slot.driver);
        Row row;
        row.columns = {lapTimeText(slot.drivers->lapTime(slot.driver, slot.session, slot.lapNumber)),
                       driver.name1 + " " + driver.name2,
                       slot.session == RACE ? "Race" : (slot.drivers->count() == 1 ? "Training" : "Practice"),
                       carMakeName(driver.carMake),
                       afterLastSeparator(slot.replayPath),
                       formulaName(driver.formulaClass)};
        row.formerSlot = index;
        rows_.push_back(std::move(row));
    }
}

bool LoadedLapsArranger::guard(std::optional<int> selected, const char* message) {
    if (selected && *selected >= 0 && *selected < static_cast<int>(rows_.size())) return true;
    ui_.message(message, "No lap choosen!");
    return false;
}

std::optional<int> LoadedLapsArranger::moveUp(std::optional<int> selected) {
    if (!guard(selected, "Choose a lap to move!")) return selected;
    const int i = *selected;
    if (i == 0) return i;
    std::swap(rows_[i], rows_[i - 1]);
    return i - 1;
}

std::optional<int> LoadedLapsArranger::moveDown(std::optional<int> selected) {
    if (!guard(selected, "Choose a lap to move!")) return selected;
    const int i = *selected;
    if (i + 1 == static_cast<int>(rows_.size())) return i;
    std::swap(rows_[i], rows_[i + 1]);
    return i + 1;
}

std::optional<int> LoadedLapsArranger::remove(std::optional<int> selected) {
    if (!guard(selected, "Choose a lap to remove!")) return selected;
    rows_.erase(rows_.begin() + *selected);
    return std::nullopt;
}

void LoadedLapsArranger::apply(CZodEvadiDoc& doc) const {
    std::vector<int> order;
    for (const Row& row : rows_) order.push_back(row.formerSlot);
    doc.arrangeLaps(order);
}

}  // namespace movrane
