#pragma once

#include <cstdint>

namespace samplekit {

// Encoders from physical values to the raw fields of the car-state records: the inverses
// of the readers' conversions, rounded to the nearest raw value and clamped to the
// field's range (unsigned fields to 0 .. 2^w - 1, signed ones to -2^(w-1) .. 2^(w-1) - 1).

int64_t clampUnsigned(int64_t value, unsigned width);
int64_t clampSigned(int64_t value, unsigned width);

// Lap distance in metres -> 26-bit lap position (0.5 mm units).
uint32_t encodeLapDistance(double metres);
// Lateral offset in metres (positive to the left) -> 20-bit player / 16-bit other-car field.
int32_t encodePlayerLateral(double metres);
int32_t encodeOtherLateral(double metres);
// Engine speed in revolutions per minute -> 10-bit field (both records).
uint32_t encodeEngineSpeed(double rpm);
// Ride height in metres -> 12-bit player / 9-bit other-car field.
uint32_t encodePlayerRideHeight(double metres);
uint32_t encodeOtherRideHeight(double metres);
// Control value 0..1 -> 8-bit player field (x 255) / 5-bit other-car field.
uint32_t encodePlayerControlValue(double value);
uint32_t encodeOtherControlValue(double value);
// Car heading in degrees -> 12-bit orientation (4096 per turn), with
// heading = -orientation x 0.087890625; wrapped into -2048 .. 2047.
int32_t encodeHeading(double degrees);
// Steering angle in degrees -> 7-bit steering field (127 per 20 degrees; the 7-bit field
// only holds -64 .. 63, so larger angles are clamped).
int32_t encodeSteering(double degrees);
// Gear -1 .. 6 -> 3-bit gear code (gear + 1).
uint32_t encodeGear(int gear);

// The readers' conversions, for tests and for checking encoders against them.
double decodeLapDistance(uint32_t raw);
double decodePlayerLateral(int32_t raw);
double decodeOtherLateral(int32_t raw);
double decodeEngineSpeed(uint32_t raw);
double decodeHeading(int32_t orientation);

}  // namespace samplekit
