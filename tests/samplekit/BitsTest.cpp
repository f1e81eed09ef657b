#include <gtest/gtest.h>

#include <cmath>

#include "RawReplay.h"
#include "samplekit/Bytes.h"
#include "samplekit/CarRecords.h"
#include "samplekit/Units.h"

using namespace samplekit;

TEST(BitWriter, PacksFieldsLeastSignificantBitFirstWithoutGaps) {
    uint8_t buf[4] = {};
    BitWriter w(buf, sizeof buf);
    w.write(1, 1);      // bit 0
    w.write(3, 2);      // bits 1-2
    w.write(0x1F, 5);   // bits 3-7
    w.write(0xABC, 12); // bits 8-19: byte 1 = 0xBC, low nibble of byte 2 = 0xA
    w.write(0x5, 4);    // bits 20-23: high nibble of byte 2
    w.write(0x80, 8);
    EXPECT_EQ(buf[0], 0xFF);
    EXPECT_EQ(buf[1], 0xBC);
    EXPECT_EQ(buf[2], 0x5A);
    EXPECT_EQ(buf[3], 0x80);
    EXPECT_EQ(w.position(), 32u);
}

TEST(BitWriter, FieldsStraddleBytesAndSignedValuesUseTheirWidth) {
    uint8_t buf[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // old contents are overwritten, not ORed
    BitWriter w(buf, sizeof buf);
    w.write(0, 3);
    w.writeSigned(-1, 20);  // 0xFFFFF
    w.writeSigned(-2, 9);   // 0x1FE
    EXPECT_EQ(buf[0], 0xF8);
    EXPECT_EQ(buf[1], 0xFF);
    EXPECT_EQ(buf[2], 0x7F);  // bits 16..22 ones, bit 23 is the lowest bit of -2
    EXPECT_EQ(buf[3], 0xFF);
    unsigned pos = 3;
    EXPECT_EQ(rawreplay::signedBits(buf, pos, 20), -1);
    EXPECT_EQ(rawreplay::signedBits(buf, pos, 9), -2);
}

TEST(BitWriter, RefusesToWritePastTheRecord) {
    uint8_t buf[2] = {};
    BitWriter w(buf, sizeof buf);
    w.write(0, 10);
    EXPECT_THROW(w.write(0, 7), std::out_of_range);
    EXPECT_THROW(w.write(0, 33), std::invalid_argument);
}

TEST(CarRecords, PlayerCarFieldsReadBackInOrder) {
    PlayerCarFields f;
    f.lapPosition = 0x3ABCDEF; f.flag = 1; f.gearCode = 7; f.wheelState1 = 2; f.lateral = -1;
    f.rideHeight = 0xFED; f.engineSpeed = 1023; f.orientation = -2048; f.pitch = 511; f.roll = -512;
    f.tyreSqueal = 99; f.controlValue = 200; f.steering = -64; f.wheelState2 = 3; f.wheelValue1 = 1000;
    f.suspension1 = -300; f.wheelValue2 = 5; f.wheelState3 = 1; f.suspension2 = 300; f.wheelValue3 = 777;
    f.suspension3 = -1; f.wheelState4 = 2; f.wheelValue4 = 512; f.suspension4 = 17; f.oilPressure = 127;
    f.unused = 5;
    const auto raw = encodePlayerCar(f);
    unsigned p = 0;
    using rawreplay::bits;
    using rawreplay::signedBits;
    EXPECT_EQ(bits(raw.data(), p, 26), f.lapPosition);
    EXPECT_EQ(bits(raw.data(), p, 1), 1u);
    EXPECT_EQ(bits(raw.data(), p, 3), 7u);
    EXPECT_EQ(bits(raw.data(), p, 2), 2u);
    EXPECT_EQ(bits(raw.data(), p, 20), 0xFFFFFu);  // -1 in 20 bits
    EXPECT_EQ(bits(raw.data(), p, 12), 0xFEDu);
    EXPECT_EQ(bits(raw.data(), p, 10), 1023u);
    EXPECT_EQ(signedBits(raw.data(), p, 12), -2048);
    EXPECT_EQ(signedBits(raw.data(), p, 10), 511);
    EXPECT_EQ(signedBits(raw.data(), p, 10), -512);
    EXPECT_EQ(bits(raw.data(), p, 7), 99u);
    EXPECT_EQ(bits(raw.data(), p, 8), 200u);
    EXPECT_EQ(signedBits(raw.data(), p, 7), -64);
    EXPECT_EQ(bits(raw.data(), p, 2), 3u);
    EXPECT_EQ(bits(raw.data(), p, 10), 1000u);
    EXPECT_EQ(signedBits(raw.data(), p, 10), -300);
    EXPECT_EQ(bits(raw.data(), p, 10), 5u);
    EXPECT_EQ(bits(raw.data(), p, 2), 1u);
    EXPECT_EQ(signedBits(raw.data(), p, 10), 300);
    EXPECT_EQ(bits(raw.data(), p, 10), 777u);
    EXPECT_EQ(signedBits(raw.data(), p, 10), -1);
    EXPECT_EQ(bits(raw.data(), p, 2), 2u);
    EXPECT_EQ(bits(raw.data(), p, 10), 512u);
    EXPECT_EQ(signedBits(raw.data(), p, 10), 17);
    EXPECT_EQ(bits(raw.data(), p, 7), 127u);
    EXPECT_EQ(bits(raw.data(), p, 3), 5u);
    EXPECT_EQ(p, 224u);
}

TEST(CarRecords, OtherCarSlotSitsInBitsTwoToSevenOfByteSeven) {
    OtherCarFields f;
    f.lapPosition = 0x3FFFFFF;  // the bits right below the slot all set
    f.lateral = 0;
    for (uint32_t slot : {0u, 7u, 19u, 63u}) {
        f.slot = slot;
        const auto raw = encodeOtherCar(f);
        EXPECT_EQ((raw[7] >> 2) & 0x3F, slot);
        EXPECT_EQ(raw[7] & 0x03, 0x03);  // top of the lap position
    }
}

TEST(CarRecords, OtherCarFieldsReadBackInOrder) {
    OtherCarFields f;
    f.unused1 = 1; f.counter = 1000; f.pitch = -3; f.engineSpeed = 900; f.unused5 = 1; f.lapPosition = 7200000;
    f.slot = 11; f.lateral = -32768; f.controlValue = 31; f.controlHigh = 2; f.rideHeight = 300; f.steering = 63;
    f.orientation = 1234; f.roll = -77; f.gearCode = 6;
    const auto raw = encodeOtherCar(f);
    unsigned p = 0;
    using rawreplay::bits;
    using rawreplay::signedBits;
    EXPECT_EQ(bits(raw.data(), p, 1), 1u);
    EXPECT_EQ(bits(raw.data(), p, 10), 1000u);
    EXPECT_EQ(signedBits(raw.data(), p, 10), -3);
    EXPECT_EQ(bits(raw.data(), p, 10), 900u);
    EXPECT_EQ(bits(raw.data(), p, 1), 1u);
    EXPECT_EQ(bits(raw.data(), p, 26), 7200000u);
    EXPECT_EQ(bits(raw.data(), p, 6), 11u);
    EXPECT_EQ(signedBits(raw.data(), p, 16), -32768);
    EXPECT_EQ(bits(raw.data(), p, 5), 31u);
    EXPECT_EQ(bits(raw.data(), p, 2), 2u);
    EXPECT_EQ(bits(raw.data(), p, 9), 300u);
    EXPECT_EQ(signedBits(raw.data(), p, 7), 63);
    EXPECT_EQ(signedBits(raw.data(), p, 12), 1234);
    EXPECT_EQ(signedBits(raw.data(), p, 10), -77);
    EXPECT_EQ(bits(raw.data(), p, 3), 6u);
    EXPECT_EQ(p, 128u);
}

TEST(CarRecords, ControlsAndConditionItems) {
    const auto c = encodePlayerControls({100, 90, 65, 0x7FF});
    unsigned p = 0;
    EXPECT_EQ(rawreplay::bits(c.data(), p, 7), 100u);
    EXPECT_EQ(rawreplay::bits(c.data(), p, 7), 90u);
    EXPECT_EQ(rawreplay::bits(c.data(), p, 7), 65u);
    EXPECT_EQ(rawreplay::bits(c.data(), p, 11), 0x7FFu);

    std::array<uint8_t, 14> cond{};
    cond[11] = 16;  // byte 13: retirement code
    for (uint32_t slot : {0u, 4u, 19u}) {
        const auto item = encodeCarCondition(slot, cond);
        EXPECT_EQ((((item[1] & 0x0F) * 256 + item[0]) - 31) / 64, static_cast<int>(slot));
        EXPECT_EQ(item[13], 16);
    }
}

TEST(Units, EncodersInvertTheReadersConversions) {
    for (double d : {0.0, 0.0005, 123.4567, 3599.9995})
        EXPECT_NEAR(decodeLapDistance(encodeLapDistance(d)), d, 0.00025);
    for (double lat : {-7.5, -0.01, 0.0, 3.3, 6.0}) {
        EXPECT_NEAR(decodePlayerLateral(encodePlayerLateral(lat)), lat, 1e-4);
        EXPECT_NEAR(decodeOtherLateral(encodeOtherLateral(lat)), lat, 1e-3);
    }
    for (double rpm : {0.0, 2600.0, 9500.0}) {
        const uint32_t raw = encodeEngineSpeed(rpm);
        // One raw step near 9500 rpm is about 40 rpm.
        EXPECT_NEAR(decodeEngineSpeed(raw), rpm, 0.5 * (decodeEngineSpeed(raw + 1) - decodeEngineSpeed(raw)) + 1e-9);
    }
    EXPECT_EQ(encodePlayerControlValue(1.0), 255u);
    EXPECT_EQ(encodePlayerControlValue(0.5), 128u);
    EXPECT_EQ(encodeGear(-1), 0u);
    EXPECT_EQ(encodeGear(6), 7u);
}

TEST(Units, ValuesBeyondAFieldAreClampedToIt) {
    EXPECT_EQ(encodeLapDistance(-1.0), 0u);
    EXPECT_EQ(encodeLapDistance(1e9), (1u << 26) - 1);
    EXPECT_EQ(encodePlayerLateral(1e6), (1 << 19) - 1);   // atan -> pi/2 lies beyond 20 bits
    EXPECT_EQ(encodePlayerLateral(-1e6), -(1 << 19));
    EXPECT_EQ(encodeOtherLateral(1e6), 32767);
    EXPECT_EQ(encodeEngineSpeed(1e6), 1023u);
    EXPECT_EQ(encodeOtherRideHeight(100.0), 511u);
    EXPECT_EQ(encodeOtherControlValue(10.0), 31u);
    EXPECT_EQ(encodeSteering(20.0), 63);
    EXPECT_EQ(encodeSteering(-20.0), -64);
}

TEST(Units, HeadingWrapsIntoTheOrientationField) {
    EXPECT_EQ(encodeHeading(0.0), 0);
    EXPECT_EQ(encodeHeading(90.0), -1024);
    EXPECT_EQ(encodeHeading(-90.0), 1024);
    EXPECT_EQ(encodeHeading(270.0), 1024);
    EXPECT_EQ(encodeHeading(720.0 + 45.0), -512);
    for (double h : {10.0, 179.9, 181.0, -359.0, 1000.0}) {
        const int32_t o = encodeHeading(h);
        EXPECT_GE(o, -2048);
        EXPECT_LE(o, 2047);
        const double back = std::remainder(decodeHeading(o) - h, 360.0);
        EXPECT_NEAR(back, 0.0, 0.044);
    }
}
