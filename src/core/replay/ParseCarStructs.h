#pragma once

#include <array>
#include <cstdint>

#include "core/replay/ByteOrder.h"

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

// Raw lap position (26 bits) of a player car record, from its bytes 0..3, and of an
// other-car record, from its bytes 4..7.
inline uint32_t rawLapPosition(const uint8_t* fourBytes) { return readU32LE(fourBytes) & ((1u << 26) - 1); }

// Fields of the player car record: position bits 0-25, gear code 27-29, lateral 32-51
// (signed), engine speed 64-73.
inline uint32_t playerCarPosition(const uint8_t* raw) { return rawLapPosition(raw); }
inline int playerCarGear(const uint8_t* raw) { return static_cast<int>(raw[3] >> 3 & 7) - 1; }
inline int32_t playerCarLateral(const uint8_t* raw) { return static_cast<int32_t>((readU32LE(raw + 4) & 0xFFFFF) << 12) >> 12; }
inline uint32_t playerCarEngineSpeed(const uint8_t* raw) { return readU16LE(raw + 8) & ((1u << 10) - 1); }

// Fields of an other-car record, by the record's four little-endian 32-bit words: engine
// speed bits 21-30 of word 0, position 0-25 and slot 26-31 of word 1, lateral 0-15 of word 2
// (signed), orientation 7-18 (signed) and gear code 29-31 of word 3. Scans that read many
// records at once take the words.
constexpr uint32_t otherCarEngineSpeedOf(uint32_t word0) { return (word0 >> 21) & ((1u << 10) - 1); }
constexpr uint32_t otherCarPositionOf(uint32_t word1) { return word1 & ((1u << 26) - 1); }
constexpr uint32_t otherCarSlotOf(uint32_t word1) { return word1 >> 26; }
constexpr int32_t otherCarLateralOf(uint32_t word2) { return static_cast<int16_t>(word2 & 0xFFFF); }
constexpr int32_t otherCarOrientationOf(uint32_t word3) { return static_cast<int32_t>(word3 << 13) >> 20; }
constexpr int otherCarGearOf(uint32_t word3) { return static_cast<int>(word3 >> 29) - 1; }
constexpr uint32_t otherCarGearCodeOf(uint32_t word3) { return word3 >> 29; }
inline uint32_t otherCarPosition(const uint8_t* raw) { return otherCarPositionOf(readU32LE(raw + 4)); }
inline uint32_t otherCarSlot(const uint8_t* raw) { return otherCarSlotOf(readU32LE(raw + 4)); }

// Where a car is, read straight from its record without decoding the other fields: the
// race timeline reads this for every car of every frame of a race.
struct CarPlace {
    uint32_t lapPosition = 0;
    int32_t lateral = 0;      // the record's own width (20 bits for the player, 16 for others)
    int32_t orientation = 0;  // 12 bits, signed
};
inline CarPlace playerCarPlace(const uint8_t* raw) {
    // Orientation: bits 74-85, that is bits 10-21 of the third word.
    return {playerCarPosition(raw), playerCarLateral(raw), static_cast<int32_t>(readU32LE(raw + 8) << 10) >> 20};
}
inline CarPlace otherCarPlace(const uint8_t* raw) {
    return {otherCarPosition(raw), otherCarLateralOf(readU32LE(raw + 8)), otherCarOrientationOf(readU32LE(raw + 12))};
}

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
