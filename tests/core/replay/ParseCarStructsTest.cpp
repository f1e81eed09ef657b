#include <gtest/gtest.h>

#include <random>

#include "core/replay/ParseCarStructs.h"
#include "samplekit/CarRecords.h"

using movrane::ParseCarStructs;

TEST(BitReading, FieldsFollowEachOtherLeastSignificantBitFirst) {
    const uint8_t bytes[] = {0xB5, 0x3C, 0xFF, 0x01};
    uint32_t position = 0;
    EXPECT_EQ(movrane::readBits(bytes, position, 3), 0x5u);     // bits 0..2 of 0xB5
    EXPECT_EQ(movrane::readBits(bytes, position, 7), 22u);      // 10110 of 0xB5, then 00 of 0x3C
    EXPECT_EQ(movrane::readBits(bytes, position, 16), 0x7FCFu);  // crosses two byte boundaries
    EXPECT_EQ(position, 26u);
    EXPECT_EQ(movrane::signExtend(0xFFFFF, 20), -1);
    EXPECT_EQ(movrane::signExtend(0x7FFFF, 20), 0x7FFFF);
    EXPECT_EQ(movrane::signExtend(0x800, 12), -2048);
}

TEST(ParseCarStructs, PlayerCarRoundTripsWithSignedFields) {
    samplekit::PlayerCarFields f;
    f.lapPosition = (1u << 26) - 1;
    f.gearCode = 0;
    f.lateral = -1;
    f.rideHeight = 4095;
    f.engineSpeed = 700;
    f.orientation = -2048;
    f.pitch = -3;
    f.roll = 511;
    f.controlValue = 0xF8;
    f.steering = -64;
    f.wheelState3 = 2;
    f.wheelValue4 = 1023;
    f.suspension2 = -512;
    f.suspension4 = 17;
    f.oilPressure = 99;
    const auto raw = samplekit::encodePlayerCar(f);
    ParseCarStructs parser;
    const auto& r = parser.decodePlayerCar(raw.data());
    EXPECT_EQ(r.lapPosition, (1u << 26) - 1);
    EXPECT_EQ(r.gear(), -1);
    EXPECT_EQ(r.lateral, -1);
    EXPECT_EQ(r.rideHeight, 4095u);
    EXPECT_EQ(r.engineSpeed, 700u);
    EXPECT_EQ(r.orientation, -2048);
    EXPECT_EQ(r.pitch, -3);
    EXPECT_EQ(r.roll, 511);
    EXPECT_EQ(r.controlValue, 0xF8u);
    EXPECT_EQ(r.coarseControlValue(), 31u);
    EXPECT_EQ(r.steering, -64);
    EXPECT_EQ(r.wheelState[2], 2u);
    EXPECT_EQ(r.wheelValue[3], 1023u);
    EXPECT_EQ(r.suspension[1], -512);
    EXPECT_EQ(r.suspension[3], 17);
    EXPECT_EQ(r.oilPressure, 99u);
}

TEST(ParseCarStructs, OtherCarRecordCarriesItsSlotInByteSeven) {
    samplekit::OtherCarFields f;
    f.slot = 45;
    f.lapPosition = 123456;
    f.lateral = -300;
    f.gearCode = 7;
    f.controlValue = 5;
    f.controlHigh = 3;
    f.orientation = 1000;
    const auto raw = samplekit::encodeOtherCar(f);
    EXPECT_EQ(movrane::otherCarSlotBits(raw.data()), 45u);
    ParseCarStructs parser;
    const auto& r = parser.decodeOtherCar(raw.data());
    EXPECT_EQ(r.slot, 45u);
    EXPECT_EQ(r.lapPosition, 123456u);
    EXPECT_EQ(r.lateral, -300);
    EXPECT_EQ(r.gear(), 6);
    EXPECT_EQ(r.coarseControlValue(), 5u + 96u);
    EXPECT_EQ(r.orientation, 1000);
}

TEST(ParseCarStructs, ControlsItem) {
    samplekit::PlayerControlsFields f{101, 87, 64, 2047};
    const auto raw = samplekit::encodePlayerControls(f);
    ParseCarStructs parser;
    const auto& r = parser.decodePlayerControls(raw.data());
    EXPECT_EQ(r.oilTemperature, 101u);
    EXPECT_EQ(r.waterTemperature, 87u);
    EXPECT_EQ(r.fuelPressure, 64u);
    EXPECT_EQ(r.controlsWord, 2047u);
}

TEST(ParseCarStructs, CarPlaceReadsTheSameFieldsAsTheFullDecode) {
    std::mt19937 random(13);
    movrane::ParseCarStructs parser;
    for (int round = 0; round < 200; ++round) {
        uint8_t raw[movrane::PLAYER_CAR_BYTES];
        for (uint8_t& b : raw) b = static_cast<uint8_t>(random());
        const movrane::PlayerCarRecord& player = parser.decodePlayerCar(raw);
        const movrane::CarPlace p = movrane::playerCarPlace(raw);
        EXPECT_EQ(p.lapPosition, player.lapPosition);
        EXPECT_EQ(p.lateral, player.lateral);
        EXPECT_EQ(p.orientation, player.orientation);
        const movrane::OtherCarRecord& other = parser.decodeOtherCar(raw);
        const movrane::CarPlace o = movrane::otherCarPlace(raw);
        EXPECT_EQ(o.lapPosition, other.lapPosition);
        EXPECT_EQ(o.lateral, other.lateral);
        EXPECT_EQ(o.orientation, other.orientation);
    }
}
