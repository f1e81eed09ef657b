#include "core/replay/ParseCarStructs.h"

namespace movrane {

uint32_t readBits(const uint8_t* buffer, uint32_t& bitPosition, unsigned width) {
    uint32_t value = 0;
    for (unsigned j = 0; j < width; ++j, ++bitPosition) {
        if (buffer[bitPosition / 8] & (1u << (bitPosition % 8))) value |= (1u << j);
    }
    return value;
}

void writeBits(uint8_t* buffer, uint32_t& bitPosition, uint32_t value, unsigned width) {
    for (unsigned j = 0; j < width; ++j, ++bitPosition) {
        const auto bit = static_cast<uint8_t>(1u << (bitPosition % 8));
        if (value & (1u << j)) {
            buffer[bitPosition / 8] |= bit;
        } else {
            buffer[bitPosition / 8] &= static_cast<uint8_t>(~bit);
        }
    }
}

int32_t signExtend(uint32_t raw, unsigned width) {
    if (width == 0 || width >= 32) return static_cast<int32_t>(raw);
    const uint32_t mask = (1u << width) - 1;
    raw &= mask;
    const uint32_t signBit = 1u << (width - 1);
    return static_cast<int32_t>(raw ^ signBit) - static_cast<int32_t>(signBit);
}

namespace {
// Reads the fields of one record in order.
class FieldReader {
public:
    explicit FieldReader(const uint8_t* raw) : raw_(raw) {}
    uint32_t u(unsigned width) { return readBits(raw_, position_, width); }
    int32_t s(unsigned width) { return signExtend(readBits(raw_, position_, width), width); }

private:
    const uint8_t* raw_;
    uint32_t position_ = 0;
};
}  // namespace

const PlayerCarRecord& ParseCarStructs::decodePlayerCar(const uint8_t* raw) {
    FieldReader f(raw);
    PlayerCarRecord& r = playerCar_;
    r.lapPosition = f.u(26);
    r.flag = f.u(1);
    r.gearCode = f.u(3);
    r.wheelState[0] = f.u(2);
    r.lateral = f.s(20);
    r.rideHeight = f.u(12);
    r.engineSpeed = f.u(10);
    r.orientation = f.s(12);
    r.pitch = f.s(10);
    r.roll = f.s(10);
    r.tyreSqueal = f.u(7);
    r.controlValue = f.u(8);
    r.steering = f.s(7);
    r.wheelState[1] = f.u(2);
    r.wheelValue[0] = f.u(10);
    r.suspension[0] = f.s(10);
    r.wheelValue[1] = f.u(10);
    r.wheelState[2] = f.u(2);
    r.suspension[1] = f.s(10);
    r.wheelValue[2] = f.u(10);
    r.suspension[2] = f.s(10);
    r.wheelState[3] = f.u(2);
    r.wheelValue[3] = f.u(10);
    r.suspension[3] = f.s(10);
    r.oilPressure = f.u(7);
    r.unused = f.u(3);
    return r;
}

const PlayerControlsRecord& ParseCarStructs::decodePlayerControls(const uint8_t* raw) {
    FieldReader f(raw);
    PlayerControlsRecord& r = controls_;
    r.oilTemperature = f.u(7);
    r.waterTemperature = f.u(7);
    r.fuelPressure = f.u(7);
    r.controlsWord = f.u(11);
    return r;
}

const OtherCarRecord& ParseCarStructs::decodeOtherCar(const uint8_t* raw) {
    FieldReader f(raw);
    OtherCarRecord& r = otherCar_;
    r.unused1 = f.u(1);
    r.unused2 = f.u(10);
    r.pitch = f.s(10);
    r.engineSpeed = f.u(10);
    r.unused5 = f.u(1);
    r.lapPosition = f.u(26);
    r.slot = f.u(6);
    r.lateral = f.s(16);
    r.controlValue = f.u(5);
    r.controlHigh = f.u(2);
    r.rideHeight = f.u(9);
    r.steering = f.s(7);
    r.orientation = f.s(12);
    r.roll = f.s(10);
    r.gearCode = f.u(3);
    return r;
}

std::array<uint8_t, OTHER_CAR_BYTES> encodeOtherCar(const OtherCarRecord& r) {
    std::array<uint8_t, OTHER_CAR_BYTES> raw{};
    uint32_t at = 0;
    const auto put = [&](uint32_t value, unsigned width) { writeBits(raw.data(), at, value, width); };
    put(r.unused1, 1);
    put(r.unused2, 10);
    put(static_cast<uint32_t>(r.pitch), 10);
    put(r.engineSpeed, 10);
    put(r.unused5, 1);
    put(r.lapPosition, 26);
    put(r.slot, 6);
    put(static_cast<uint32_t>(r.lateral), 16);
    put(r.controlValue, 5);
    put(r.controlHigh, 2);
    put(r.rideHeight, 9);
    put(static_cast<uint32_t>(r.steering), 7);
    put(static_cast<uint32_t>(r.orientation), 12);
    put(static_cast<uint32_t>(r.roll), 10);
    put(r.gearCode, 3);
    return raw;
}

}  // namespace movrane
