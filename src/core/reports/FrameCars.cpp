#include "core/reports/FrameCars.h"

#include <algorithm>

#include "core/replay/ParseCarStructs.h"

namespace movrane {

FrameCars::FrameCars(const Drivers& drivers)
    : driverCount_(std::min<uint32_t>(drivers.count(), MAX_SLOTS)) {
    driverOfSlot_.fill(-1);
    position_.fill(NOT_SEEN);
    if (drivers.playerIndex() < driverCount_) player_ = drivers.playerIndex();
    // The first driver with a slot names its car.
    for (uint32_t d = driverCount_; d-- > 0;) {
        const uint32_t slot = drivers.driver(d).slot;
        if (slot < MAX_SLOTS) driverOfSlot_[slot] = static_cast<int8_t>(d);
    }
    for (auto& d : driverOfSlot_) {
        if (player_ && d == static_cast<int8_t>(*player_)) d = -1;
    }
}

void FrameCars::playerCar(const StreamItem& item, const uint8_t* raw) {
    if (!player_ || item.payloadLength() < PLAYER_CAR_BYTES) return;
    const uint32_t d = *player_;
    position_[d] = playerCarPosition(raw);
    gear_[d] = playerCarGear(raw);
    lateral_[d] = playerCarLateral(raw);
    seen_[d] = 1;
}

void FrameCars::otherCars(const StreamItem& item, const uint8_t* raw) {
    const uint8_t* end = raw + item.payloadLength() / OTHER_CAR_BYTES * OTHER_CAR_BYTES;
    for (const uint8_t* record = raw; record < end; record += OTHER_CAR_BYTES) {
        // The words first: the stores below could alias the record's bytes otherwise.
        const uint32_t w1 = readU32LE(record + 4);
        const uint32_t w2 = readU32LE(record + 8);
        const uint32_t w3 = readU32LE(record + 12);
        const int d = driverOfSlot_[otherCarSlotOf(w1)];
        if (d < 0) continue;
        position_[d] = otherCarPositionOf(w1);
        lateral_[d] = otherCarLateralOf(w2);
        gear_[d] = otherCarGearOf(w3);
        seen_[d] = 1;
    }
}

}  // namespace movrane
