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

// `width` bits (at most 32) from bit `bit` of a little-endian bit string.
inline uint32_t bitField(const uint8_t* raw, unsigned bit, unsigned width) {
    const unsigned first = bit / 8;
    const unsigned last = (bit + width - 1) / 8;
    uint64_t word = 0;
    for (unsigned b = last + 1; b-- > first;) word = (word << 8) | raw[b];
    return static_cast<uint32_t>((word >> (bit % 8)) & ((uint64_t{1} << width) - 1));
}

// Raw lap position of a player car record (bytes 0..2 and the low 2 bits of byte 3) and of
// an other-car record (bytes 4..6 and the low 2 bits of byte 7).
inline uint32_t playerCarPosition(const uint8_t* raw) { return bitField(raw, 0, 26); }
inline uint32_t otherCarPosition(const uint8_t* raw) { return bitField(raw, 32, 26); }

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
    std::optional<uint32_t> driverOfSlot(uint32_t slot) const {
        return slot < MAX_SLOTS ? driverOfSlot_[slot] : std::nullopt;
    }
    bool seen(uint32_t driver) const { return seen_[driver]; }
    const CarReading& reading(uint32_t driver) const { return readings_[driver]; }

private:
    void playerCar(FrameWalker& walker);
    void otherCars(FrameWalker& walker);

    uint32_t driverCount_ = 0;
    std::optional<uint32_t> player_;
    std::array<std::optional<uint32_t>, MAX_SLOTS> driverOfSlot_{};
    std::array<CarReading, MAX_SLOTS> readings_{};
    std::array<bool, MAX_SLOTS> seen_{};
};

}  // namespace movrane
