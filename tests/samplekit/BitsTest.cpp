#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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

namespace {
// Reads fields of the given widths (negative: signed) and compares them with the values.
void expectFields(const uint8_t* raw, const std::vector<std::pair<int, int64_t>>& fields, unsigned totalBits) {
    unsigned pos = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto [width, value] = fields[i];
        const int64_t got = width < 0 ? int64_t{rawreplay::signedBits(raw, pos, static_cast<unsigned>(-width))}
                                      : int64_t{rawreplay::bits(raw, pos, static_cast<unsigned>(width))};
        EXPECT_EQ(got, value) << "field " << i + 1;
    }
    EXPECT_EQ(pos, totalBits);
}
}  // namespace

TEST(CarRecords, PlayerCarFieldsReadBackInOrder) {
    PlayerCarFields f;
    f.lapPosition = 0x3ABCDEF; f.flag = 1; f.gearCode = 7; f.wheelState1 = 2; f.lateral = -1;
    f.rideHeight = 0xFED; f.engineSpeed = 1023; f.orientation = -2048; f.pitch = 511; f.roll = -512;
    f.tyreSqueal = 99; f.controlValue = 200; f.steering = -64; f.wheelState2 = 3; f.wheelValue1 = 1000;
    f.suspension1 = -300; f.wheelValue2 = 5; f.wheelState3 = 1; f.suspension2 = 300; f.wheelValue3 = 777;
    f.suspension3 = -1; f.wheelState4 = 2; f.wheelValue4 = 512; f.suspension4 = 17; f.oilPressure = 127;
    f.unused = 5;
    expectFields(encodePlayerCar(f).data(),
                 {{26, 0x3ABCDEF}, {1, 1}, {3, 7}, {2, 2}, {20, 0xFFFFF} /* -1 */, {12, 0xFED}, {10, 1023},
                  {-12, -2048}, {-10, 511}, {-10, -512}, {7, 99}, {8, 200}, {-7, -64}, {2, 3}, {10, 1000},
                  {-10, -300}, {10, 5}, {2, 1}, {-10, 300}, {10, 777}, {-10, -1}, {2, 2}, {10, 512}, {-10, 17},
                  {7, 127}, {3, 5}},
                 224);
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
    expectFields(encodeOtherCar(f).data(),
                 {{1, 1}, {10, 1000}, {-10, -3}, {10, 900}, {1, 1}, {26, 7200000}, {6, 11}, {-16, -32768}, {5, 31},
                  {2, 2}, {9, 300}, {-7, 63}, {-12, 1234}, {-10, -77}, {3, 6}},
                 128);
}

TEST(CarRecords, ControlsAndConditionItems) {
    expectFields(encodePlayerControls({100, 90, 65, 0x7FF}).data(), {{7, 100}, {7, 90}, {7, 65}, {11, 0x7FF}}, 32);

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
