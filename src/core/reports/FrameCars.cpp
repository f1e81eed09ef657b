#include "core/reports/FrameCars.h"

#include <algorithm>

#include "core/replay/ParseCarStructs.h"

namespace movrane {

namespace {
uint32_t u32At(const uint8_t* b) {
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}
uint32_t u16At(const uint8_t* b) { return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8); }
constexpr uint32_t ENGINE_MASK = (1u << 10) - 1;
}  // namespace

FrameCars::FrameCars(const Drivers& drivers)
    : driverCount_(std::min<uint32_t>(drivers.count(), MAX_SLOTS)) {
    driverOfSlot_.fill(-1);
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

void FrameCars::readItem(FrameWalker& walker) {
    if (walker.item().type == ITEM_PLAYER_CAR) playerCar(walker);
    if (walker.item().type == ITEM_OTHER_CARS) otherCars(walker);
}

// Fields of the player car record: position bits 0-25, gear code 27-29, lateral 32-51
// (signed), engine speed 64-73.
void FrameCars::playerCar(FrameWalker& walker) {
    const uint8_t* raw = walker.payloadView();
    if (!player_ || !raw || walker.item().payloadLength() < PLAYER_CAR_BYTES) return;
    CarReading& car = readings_[*player_];
    car.position = playerCarPosition(raw);
    car.gear = static_cast<int>(raw[3] >> 3 & 7) - 1;
    car.lateral = static_cast<int32_t>((u32At(raw + 4) & 0xFFFFF) << 12) >> 12;
    car.engineSpeed = u16At(raw + 8) & ENGINE_MASK;
    seen_[*player_] = true;
}

// Fields of an other-car record: engine speed bits 21-30, position 32-57, slot 58-63,
// lateral 64-79 (signed), gear code 125-127.
void FrameCars::otherCars(FrameWalker& walker) {
    const uint8_t* raw = walker.payloadView();
    if (!raw) return;
    const uint8_t* end = raw + walker.item().payloadLength() / OTHER_CAR_BYTES * OTHER_CAR_BYTES;
    for (const uint8_t* record = raw; record < end; record += OTHER_CAR_BYTES) {
        const int d = driverOfSlot_[otherCarSlot(record)];
        if (d < 0) continue;
        CarReading& car = readings_[d];
        car.engineSpeed = (u32At(record) >> 21) & ENGINE_MASK;
        car.position = otherCarPosition(record);
        car.lateral = static_cast<int16_t>(u16At(record + 8));
        car.gear = static_cast<int>(record[15] >> 5) - 1;
        seen_[d] = true;
    }
}

}  // namespace movrane
