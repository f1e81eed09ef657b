#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "core/replay/ParseCarStructs.h"
#include "samplekit/CarRecords.h"

using movrane::ParseCarStructs;

TEST(ParseCarStructs, PlayerCarRoundTripsWithSignedFields) {
    const samplekit::PlayerCarFields f{.lapPosition = (1u << 26) - 1, .gearCode = 0, .lateral = -1, .rideHeight = 4095,
                                       .engineSpeed = 700, .orientation = -2048, .pitch = -3, .roll = 511,
                                       .controlValue = 0xF8, .steering = -64, .wheelState3 = 2, .suspension2 = -512,
                                       .wheelValue4 = 1023, .suspension4 = 17, .oilPressure = 99};
    const auto raw = samplekit::encodePlayerCar(f);
    ParseCarStructs parser;
    const auto& r = parser.decodePlayerCar(raw.data());
    EXPECT_EQ(std::tuple(r.lapPosition, r.gear(), r.lateral, r.rideHeight, r.engineSpeed, r.orientation, r.pitch, r.roll),
              std::tuple((1u << 26) - 1, -1, -1, 4095u, 700u, -2048, -3, 511));
    EXPECT_EQ(std::tuple(r.controlValue, r.coarseControlValue(), r.steering, r.wheelState[2], r.wheelValue[3]),
              std::tuple(0xF8u, 31u, -64, 2u, 1023u));
    EXPECT_EQ(std::tuple(r.suspension[1], r.suspension[3], r.oilPressure), std::tuple(-512, 17, 99u));
    // Bit fields follow each other, least significant bit first.
    const uint8_t bits[] = {0xB5, 0x3C, 0xFF, 0x01};
    uint32_t position = 0;
    EXPECT_EQ(movrane::readBits(bits, position, 3), 0x5u);     // bits 0..2 of 0xB5
    EXPECT_EQ(movrane::readBits(bits, position, 7), 22u);      // 10110 of 0xB5, then 00 of 0x3C
    EXPECT_EQ(movrane::readBits(bits, position, 16), 0x7FCFu);  // crosses two byte boundaries
    EXPECT_EQ(position, 26u);
    EXPECT_EQ(movrane::signExtend(0xFFFFF, 20), -1);
    EXPECT_EQ(movrane::signExtend(0x7FFFF, 20), 0x7FFFF);
    EXPECT_EQ(movrane::signExtend(0x800, 12), -2048);
    // The other car record carries its slot in byte 7.
    const samplekit::OtherCarFields other{.lapPosition = 123456, .slot = 45, .lateral = -300, .controlValue = 5,
                                      .controlHigh = 3, .orientation = 1000, .gearCode = 7};
    const auto otherRaw = samplekit::encodeOtherCar(other);
    EXPECT_EQ(movrane::otherCarSlot(otherRaw.data()), 45u);
    const auto& o = parser.decodeOtherCar(otherRaw.data());
    EXPECT_EQ(std::tuple(o.slot, o.lapPosition, o.lateral, o.gear(), o.coarseControlValue(), o.orientation),
              std::tuple(45u, 123456u, -300, 6, 5u + 96u, 1000));
    // The controls item.
    samplekit::PlayerControlsFields controls{101, 87, 64, 2047};
    const auto controlsRaw = samplekit::encodePlayerControls(controls);
    const auto& c = parser.decodePlayerControls(controlsRaw.data());
    EXPECT_EQ(std::tuple(c.oilTemperature, c.waterTemperature, c.fuelPressure, c.controlsWord),
              std::tuple(101u, 87u, 64u, 2047u));
}

TEST(ParseCarStructs, CarPlaceReadsTheSameFieldsAsTheFullDecode) {
    std::mt19937 random(13);
    movrane::ParseCarStructs parser;
    for (int round = 0; round < 200; ++round) {
        uint8_t raw[movrane::PLAYER_CAR_BYTES];
        for (uint8_t& b : raw) b = static_cast<uint8_t>(random());
        const movrane::PlayerCarRecord& player = parser.decodePlayerCar(raw);
        const movrane::CarPlace p = movrane::playerCarPlace(raw);
        EXPECT_EQ(std::tuple(p.lapPosition, p.lateral, p.orientation),
                  std::tuple(player.lapPosition, player.lateral, player.orientation));
        const movrane::OtherCarRecord& other = parser.decodeOtherCar(raw);
        const movrane::CarPlace o = movrane::otherCarPlace(raw);
        EXPECT_EQ(std::tuple(o.lapPosition, o.lateral, o.orientation),
                  std::tuple(other.lapPosition, other.lateral, other.orientation));
    }
}
