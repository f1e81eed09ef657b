#include "core/reports/FrameCars.h"

#include <algorithm>

#include "core/replay/ParseCarStructs.h"

namespace movrane {

namespace {
// Bit offsets of the fields in the car records.
constexpr unsigned PLAYER_GEAR_BIT = 27;
constexpr unsigned PLAYER_LATERAL_BIT = 32;
constexpr unsigned PLAYER_ENGINE_BIT = 64;
constexpr unsigned OTHER_ENGINE_BIT = 21;
constexpr unsigned OTHER_SLOT_BIT = 58;
constexpr unsigned OTHER_LATERAL_BIT = 64;
constexpr unsigned OTHER_GEAR_BIT = 125;
}  // namespace

FrameCars::FrameCars(const Drivers& drivers)
    : driverCount_(std::min<uint32_t>(drivers.count(), MAX_SLOTS)) {
    if (drivers.playerIndex() < driverCount_) player_ = drivers.playerIndex();
    // The first driver with a slot names its car.
    for (uint32_t d = driverCount_; d-- > 0;) {
        const uint32_t slot = drivers.driver(d).slot;
        if (slot < MAX_SLOTS) driverOfSlot_[slot] = d;
    }
}

void FrameCars::readItem(FrameWalker& walker) {
    if (walker.item().type == ITEM_PLAYER_CAR) playerCar(walker);
    if (walker.item().type == ITEM_OTHER_CARS) otherCars(walker);
}

void FrameCars::playerCar(FrameWalker& walker) {
    uint8_t raw[PLAYER_CAR_BYTES];
    if (!player_ || !walker.readPayload(0, raw, sizeof raw)) return;
    CarReading& car = readings_[*player_];
    car.position = playerCarPosition(raw);
    car.gear = static_cast<int>(bitField(raw, PLAYER_GEAR_BIT, 3)) - 1;
    car.lateral = signExtend(bitField(raw, PLAYER_LATERAL_BIT, 20), 20);
    car.engineSpeed = bitField(raw, PLAYER_ENGINE_BIT, 10);
    seen_[*player_] = true;
}

void FrameCars::otherCars(FrameWalker& walker) {
    const std::size_t records = walker.item().payloadLength() / OTHER_CAR_BYTES;
    for (std::size_t r = 0; r < records; ++r) {
        uint8_t raw[OTHER_CAR_BYTES];
        if (!walker.readPayload(r * OTHER_CAR_BYTES, raw, sizeof raw)) return;
        const std::optional<uint32_t> d = driverOfSlot(bitField(raw, OTHER_SLOT_BIT, 6));
        if (!d || d == player_) continue;
        CarReading& car = readings_[*d];
        car.position = otherCarPosition(raw);
        car.gear = static_cast<int>(bitField(raw, OTHER_GEAR_BIT, 3)) - 1;
        car.lateral = signExtend(bitField(raw, OTHER_LATERAL_BIT, 16), 16);
        car.engineSpeed = bitField(raw, OTHER_ENGINE_BIT, 10);
        seen_[*d] = true;
    }
}

}  // namespace movrane
