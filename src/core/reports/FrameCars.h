#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/replay/ByteOrder.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

// The cars of the current frame, by driver: the player car item gives the player's car,
// the other cars item every other car by its slot. Only the fields below are decoded, so a
// scan over a whole race stays close to the speed of reading the file.
class FrameCars {
public:
    static constexpr uint32_t NOT_SEEN = 0xFFFFFFFF;

    explicit FrameCars(const Drivers& drivers);

    // A new frame: no car seen yet.
    void startFrame() { seen_.fill(0); }
    // Takes the cars of the walker's current item when it is a car item; other items are ignored.
    void readItem(const StreamItem& item, const uint8_t* payload) {
        if (item.type == ITEM_PLAYER_CAR) playerCar(item, payload);
        if (item.type == ITEM_OTHER_CARS) otherCars(item, payload);
    }

    uint32_t driverCount() const { return driverCount_; }
    // The driver whose car the player car item describes.
    std::optional<uint32_t> player() const { return player_; }
    // The driver whose car has the slot of an other-car record; -1 for none and the player's.
    int driverOfSlot(uint32_t slot) const { return slot < driverOfSlot_.size() ? driverOfSlot_[slot] : -1; }
    // Each car's fields, by driver, for passes over every driver: 1 in seenFlags() for a
    // car seen in the frame, and its raw lap position (0.5 mm units from the line), raw
    // lateral position (20 bits for the player's car, 16 for the others) and gear code - 1
    // as last seen (NOT_SEEN for the position of a car never seen, 0 for its other fields).
    const std::array<int32_t, MAX_SLOTS>& seenFlags() const { return seen_; }
    const std::array<uint32_t, MAX_SLOTS>& positions() const { return position_; }
    const std::array<int32_t, MAX_SLOTS>& laterals() const { return lateral_; }
    const std::array<int32_t, MAX_SLOTS>& gears() const { return gear_; }

private:
    void playerCar(const StreamItem& item, const uint8_t* raw);
    void otherCars(const StreamItem& item, const uint8_t* raw);

    uint32_t driverCount_ = 0;
    std::optional<uint32_t> player_;
    // Driver by car slot, -1 for a slot no driver has; the 6-bit slot field indexes it
    // directly, and the player's slot is -1 too (the player car item describes that car).
    std::array<int8_t, 64> driverOfSlot_{};
    std::array<uint32_t, MAX_SLOTS> position_{};
    std::array<int32_t, MAX_SLOTS> lateral_{};
    std::array<int32_t, MAX_SLOTS> gear_{};
    std::array<int32_t, MAX_SLOTS> seen_{};
};

}  // namespace movrane
