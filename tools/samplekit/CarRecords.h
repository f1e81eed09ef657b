#pragma once

#include <array>
#include <cstdint>

namespace samplekit {

// Raw field values of the bit-packed car-state records, in record order. Signed fields
// are plain ints and are stored in two's complement of their width; every field keeps
// only as many low bits as its width.

constexpr unsigned PLAYER_CAR_BYTES = 28;
constexpr unsigned PLAYER_CONTROLS_BYTES = 4;
constexpr unsigned OTHER_CAR_BYTES = 16;

// Item type 1: full state of the player's car (26 fields, 224 bits).
struct PlayerCarFields {
    uint32_t lapPosition = 0;  // 26 bits
    uint32_t flag = 0;         // 1
    uint32_t gearCode = 1;     // 3: gear + 1
    uint32_t wheelState1 = 0;  // 2
    int32_t lateral = 0;       // 20 s
    uint32_t rideHeight = 0;   // 12
    uint32_t engineSpeed = 0;  // 10
    int32_t orientation = 0;   // 12 s
    int32_t pitch = 0;         // 10 s
    int32_t roll = 0;          // 10 s
    uint32_t tyreSqueal = 0;   // 7
    uint32_t controlValue = 0; // 8
    int32_t steering = 0;      // 7 s
    uint32_t wheelState2 = 0;  // 2
    uint32_t wheelValue1 = 0;  // 10
    int32_t suspension1 = 0;   // 10 s
    uint32_t wheelValue2 = 0;  // 10
    uint32_t wheelState3 = 0;  // 2
    int32_t suspension2 = 0;   // 10 s
    uint32_t wheelValue3 = 0;  // 10
    int32_t suspension3 = 0;   // 10 s
    uint32_t wheelState4 = 0;  // 2
    uint32_t wheelValue4 = 0;  // 10
    int32_t suspension4 = 0;   // 10 s
    uint32_t oilPressure = 0;  // 7
    uint32_t unused = 0;       // 3
};

// Item type 2: the first 32 bits of the player controls item.
struct PlayerControlsFields {
    uint32_t oilTemperature = 0;    // 7
    uint32_t waterTemperature = 0;  // 7
    uint32_t fuelPressure = 0;      // 7
    uint32_t controlsWord = 0;      // 11
};

// One 16-byte record of the other cars item (type 3; 15 fields, 128 bits).
struct OtherCarFields {
    uint32_t unused1 = 0;       // 1
    uint32_t counter = 0;       // 10, not interpreted by readers
    int32_t pitch = 0;          // 10 s
    uint32_t engineSpeed = 0;   // 10
    uint32_t unused5 = 0;       // 1
    uint32_t lapPosition = 0;   // 26
    uint32_t slot = 0;          // 6: bits 2..7 of byte 7
    int32_t lateral = 0;        // 16 s
    uint32_t controlValue = 0;  // 5
    uint32_t controlHigh = 0;   // 2
    uint32_t rideHeight = 0;    // 9
    int32_t steering = 0;       // 7 s
    int32_t orientation = 0;    // 12 s
    int32_t roll = 0;           // 10 s
    uint32_t gearCode = 1;      // 3: gear + 1
};

std::array<uint8_t, PLAYER_CAR_BYTES> encodePlayerCar(const PlayerCarFields& f);
std::array<uint8_t, PLAYER_CONTROLS_BYTES> encodePlayerControls(const PlayerControlsFields& f);
std::array<uint8_t, OTHER_CAR_BYTES> encodeOtherCar(const OtherCarFields& f);

// The 16-byte payload of a car condition item (type 10) for a slot: bytes 0 and 1 carry the
// car id (slot x 64 + 31, 12 bits), bytes 2..15 the given condition bytes.
std::array<uint8_t, 16> encodeCarCondition(uint32_t slot, const std::array<uint8_t, 14>& condition);

}  // namespace samplekit
