#include "samplekit/Units.h"

#include <cmath>

namespace samplekit {

namespace {
constexpr double LAP_POSITION_METRES = 0.0005;
constexpr double LATERAL_SCALE = 13.0;
constexpr double PLAYER_LATERAL_K = 2.911741e-06;
constexpr double OTHER_LATERAL_K = 4.658918e-05;
constexpr double RPM_SCALE = 4131.182;
constexpr double RPM_K = 0.001288481;
constexpr double PLAYER_RIDE_SCALE = 1.563264;
constexpr double PLAYER_RIDE_K = 0.0003759564;
constexpr double OTHER_RIDE_SCALE = 0.7816317;
constexpr double OTHER_RIDE_K = 0.003012801;
constexpr double OTHER_CONTROL_SCALE = 0.305114;
constexpr double OTHER_CONTROL_K = 0.04122431;
constexpr double DEGREES_PER_UNIT = 0.087890625;  // 360 / 4096

int64_t roundToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v > 9.0e15) return static_cast<int64_t>(9.0e15);
    if (v < -9.0e15) return static_cast<int64_t>(-9.0e15);
    return std::llround(v);
}

uint32_t unsignedField(double raw, unsigned width) {
    return static_cast<uint32_t>(clampUnsigned(roundToInt(raw), width));
}
int32_t signedField(double raw, unsigned width) {
    return static_cast<int32_t>(clampSigned(roundToInt(raw), width));
}
}  // namespace

int64_t clampUnsigned(int64_t value, unsigned width) {
    const int64_t top = (int64_t{1} << width) - 1;
    return value < 0 ? 0 : (value > top ? top : value);
}

int64_t clampSigned(int64_t value, unsigned width) {
    const int64_t top = (int64_t{1} << (width - 1)) - 1;
    const int64_t bottom = -(int64_t{1} << (width - 1));
    return value < bottom ? bottom : (value > top ? top : value);
}

uint32_t encodeLapDistance(double metres) { return unsignedField(metres / LAP_POSITION_METRES, 26); }

int32_t encodePlayerLateral(double metres) {
    return signedField(std::atan(metres / LATERAL_SCALE) / PLAYER_LATERAL_K, 20);
}

int32_t encodeOtherLateral(double metres) {
    return signedField(std::atan(metres / LATERAL_SCALE) / OTHER_LATERAL_K, 16);
}

uint32_t encodeEngineSpeed(double rpm) { return unsignedField(std::atan(rpm / RPM_SCALE) / RPM_K, 10); }

uint32_t encodePlayerRideHeight(double metres) {
    return unsignedField(std::atan(metres / PLAYER_RIDE_SCALE) / PLAYER_RIDE_K, 12);
}

uint32_t encodeOtherRideHeight(double metres) {
    return unsignedField(std::atan(metres / OTHER_RIDE_SCALE) / OTHER_RIDE_K, 9);
}

uint32_t encodePlayerControlValue(double value) { return unsignedField(value * 255.0, 8); }

uint32_t encodeOtherControlValue(double value) {
    return unsignedField(std::atan(value / OTHER_CONTROL_SCALE) / OTHER_CONTROL_K, 5);
}

int32_t encodeHeading(double degrees) {
    int64_t units = roundToInt(-degrees / DEGREES_PER_UNIT) % 4096;
    if (units < -2048) units += 4096;
    if (units > 2047) units -= 4096;
    return static_cast<int32_t>(units);
}

int32_t encodeSteering(double degrees) { return signedField(degrees * 127.0 / 20.0, 7); }

uint32_t encodeGear(int gear) { return static_cast<uint32_t>(clampUnsigned(gear + 1, 3)); }

double decodeLapDistance(uint32_t raw) { return raw * LAP_POSITION_METRES; }
double decodePlayerLateral(int32_t raw) { return std::tan(raw * PLAYER_LATERAL_K) * LATERAL_SCALE; }
double decodeOtherLateral(int32_t raw) { return std::tan(raw * OTHER_LATERAL_K) * LATERAL_SCALE; }
double decodeEngineSpeed(uint32_t raw) { return std::tan(raw * RPM_K) * RPM_SCALE; }
double decodeHeading(int32_t orientation) { return -orientation * DEGREES_PER_UNIT; }

}  // namespace samplekit
