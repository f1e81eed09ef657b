#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

// The fields of one car in one frame that the scanning reports follow.
struct CarReading {
    uint32_t position = 0;  // raw lap position, 0.5 mm units from the line
    int32_t lateral = 0;    // raw lateral position (20 bits for the player's car, 16 for the others)
    int gear = 0;           // gear code - 1
    uint32_t engineSpeed = 0;  // raw 10-bit engine speed
};

// Raw lap position (26 bits) of a player car record, from its bytes 0..3, and of an
// other-car record, from its bytes 4..7.
inline uint32_t rawLapPosition(const uint8_t* fourBytes) {
    return (static_cast<uint32_t>(fourBytes[0]) | (static_cast<uint32_t>(fourBytes[1]) << 8) |
            (static_cast<uint32_t>(fourBytes[2]) << 16) | (static_cast<uint32_t>(fourBytes[3]) << 24)) &
           ((1u << 26) - 1);
}
inline uint32_t playerCarPosition(const uint8_t* raw) { return rawLapPosition(raw); }
inline uint32_t otherCarPosition(const uint8_t* raw) { return rawLapPosition(raw + 4); }
// The slot of an other-car record: bits 2..7 of its byte 7.
inline uint32_t otherCarSlot(const uint8_t* raw) { return raw[7] >> 2; }

// The cars of the current frame, by driver: the player car item gives the player's car,
// the other cars item every other car by its slot. Only the fields of CarReading are
// decoded, so a scan over a whole race stays close to the speed of reading the file.
class FrameCars {
public:
    explicit FrameCars(const Drivers& drivers);

    // A new frame: no car seen yet.
    void startFrame() { seen_.fill(false); }
    // Takes the cars of the walker's current item when it is a car item; other items are ignored.
    void readItem(FrameWalker& walker);

    uint32_t driverCount() const { return driverCount_; }
    // The driver whose car the player car item describes.
    std::optional<uint32_t> player() const { return player_; }
    bool seen(uint32_t driver) const { return seen_[driver]; }
    const CarReading& reading(uint32_t driver) const { return readings_[driver]; }

private:
    void playerCar(FrameWalker& walker);
    void otherCars(FrameWalker& walker);

    uint32_t driverCount_ = 0;
    std::optional<uint32_t> player_;
    // Driver by car slot, -1 for a slot no driver has; the 6-bit slot field indexes it
    // directly, and the player's slot is -1 too (the player car item describes that car).
    std::array<int8_t, 64> driverOfSlot_{};
    std::array<CarReading, MAX_SLOTS> readings_{};
    std::array<bool, MAX_SLOTS> seen_{};
};

}  // namespace movrane
