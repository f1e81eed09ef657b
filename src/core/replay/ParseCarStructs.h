#pragma once

#include <array>
#include <cstdint>

namespace movrane {

// Reads `width` bits (at most 32) from a little-endian bit string, least significant first,
// and advances bitPosition by width.
uint32_t readBits(const uint8_t* buffer, uint32_t& bitPosition, unsigned width);
// Two's complement value of the low `width` bits of raw.
int32_t signExtend(uint32_t raw, unsigned width);

constexpr unsigned PLAYER_CAR_BYTES = 28;
constexpr unsigned PLAYER_CONTROLS_BYTES = 4;
constexpr unsigned OTHER_CAR_BYTES = 16;

// Full state of the player's car (item type 1). Signed fields are already sign-extended.
struct PlayerCarRecord {
    uint32_t lapPosition = 0;
    uint32_t flag = 0;
    uint32_t gearCode = 0;
    std::array<uint32_t, 4> wheelState{};
    int32_t lateral = 0;
    uint32_t rideHeight = 0;
    uint32_t engineSpeed = 0;
    int32_t orientation = 0;
    int32_t pitch = 0;
    int32_t roll = 0;
    uint32_t tyreSqueal = 0;
    uint32_t controlValue = 0;
    int32_t steering = 0;
    std::array<uint32_t, 4> wheelValue{};
    std::array<int32_t, 4> suspension{};
    uint32_t oilPressure = 0;
    uint32_t unused = 0;

    int gear() const { return static_cast<int>(gearCode) - 1; }
    uint32_t coarseControlValue() const { return controlValue >> 3; }
};

// Player controls item (type 2).
struct PlayerControlsRecord {
    uint32_t oilTemperature = 0;
    uint32_t waterTemperature = 0;
    uint32_t fuelPressure = 0;
    uint32_t controlsWord = 0;
};

// One record of the other cars item (type 3).
struct OtherCarRecord {
    uint32_t unused1 = 0;
    uint32_t unused2 = 0;
    int32_t pitch = 0;
    uint32_t engineSpeed = 0;
    uint32_t unused5 = 0;
    uint32_t lapPosition = 0;
    uint32_t slot = 0;
    int32_t lateral = 0;
    uint32_t controlValue = 0;
    uint32_t controlHigh = 0;
    uint32_t rideHeight = 0;
    int32_t steering = 0;
    int32_t orientation = 0;
    int32_t roll = 0;
    uint32_t gearCode = 0;

    int gear() const { return static_cast<int>(gearCode) - 1; }
    uint32_t coarseControlValue() const { return controlValue + 32 * controlHigh; }
};

// Writes the low `width` bits of value at bitPosition, least significant first, and
// advances bitPosition by width (the inverse of readBits).
void writeBits(uint8_t* buffer, uint32_t& bitPosition, uint32_t value, unsigned width);

// The 16 bytes of an other-car record holding the given fields (each cut to its width).
std::array<uint8_t, OTHER_CAR_BYTES> encodeOtherCar(const OtherCarRecord& record);

// The slot of an other-car record without decoding it: bits 2..7 of byte 7.
inline uint32_t otherCarSlotBits(const uint8_t* record) { return (record[7] >> 2) & 0x3F; }

// Where a car is, read straight from its record without decoding the other fields: the
// race timeline reads this for every car of every frame of a race.
struct CarPlace {
    uint32_t lapPosition = 0;
    int32_t lateral = 0;      // the record's own width (20 bits for the player, 16 for others)
    int32_t orientation = 0;  // 12 bits, signed
};
CarPlace playerCarPlace(const uint8_t* raw);
CarPlace otherCarPlace(const uint8_t* raw);

// Decoder of the bit-packed car-state records. Each decode returns a view of the one
// record of its kind the parser keeps; it stays valid until the next decode of that kind.
class ParseCarStructs {
public:
    const PlayerCarRecord& decodePlayerCar(const uint8_t* raw);
    const PlayerControlsRecord& decodePlayerControls(const uint8_t* raw);
    const OtherCarRecord& decodeOtherCar(const uint8_t* raw);

private:
    PlayerCarRecord playerCar_;
    PlayerControlsRecord controls_;
    OtherCarRecord otherCar_;
};

}  // namespace movrane
