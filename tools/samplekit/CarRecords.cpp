#include "samplekit/CarRecords.h"

#include "samplekit/Bytes.h"

namespace samplekit {

std::array<uint8_t, PLAYER_CAR_BYTES> encodePlayerCar(const PlayerCarFields& f) {
    std::array<uint8_t, PLAYER_CAR_BYTES> out{};
    BitWriter w(out.data(), out.size());
    w.write(f.lapPosition, 26);
    w.write(f.flag, 1);
    w.write(f.gearCode, 3);
    w.write(f.wheelState1, 2);
    w.writeSigned(f.lateral, 20);
    w.write(f.rideHeight, 12);
    w.write(f.engineSpeed, 10);
    w.writeSigned(f.orientation, 12);
    w.writeSigned(f.pitch, 10);
    w.writeSigned(f.roll, 10);
    w.write(f.tyreSqueal, 7);
    w.write(f.controlValue, 8);
    w.writeSigned(f.steering, 7);
    w.write(f.wheelState2, 2);
    w.write(f.wheelValue1, 10);
    w.writeSigned(f.suspension1, 10);
    w.write(f.wheelValue2, 10);
    w.write(f.wheelState3, 2);
    w.writeSigned(f.suspension2, 10);
    w.write(f.wheelValue3, 10);
    w.writeSigned(f.suspension3, 10);
    w.write(f.wheelState4, 2);
    w.write(f.wheelValue4, 10);
    w.writeSigned(f.suspension4, 10);
    w.write(f.oilPressure, 7);
    w.write(f.unused, 3);
    return out;
}

std::array<uint8_t, PLAYER_CONTROLS_BYTES> encodePlayerControls(const PlayerControlsFields& f) {
    std::array<uint8_t, PLAYER_CONTROLS_BYTES> out{};
    BitWriter w(out.data(), out.size());
    w.write(f.oilTemperature, 7);
    w.write(f.waterTemperature, 7);
    w.write(f.fuelPressure, 7);
    w.write(f.controlsWord, 11);
    return out;
}

std::array<uint8_t, OTHER_CAR_BYTES> encodeOtherCar(const OtherCarFields& f) {
    std::array<uint8_t, OTHER_CAR_BYTES> out{};
    BitWriter w(out.data(), out.size());
    w.write(f.unused1, 1);
    w.write(f.counter, 10);
    w.writeSigned(f.pitch, 10);
    w.write(f.engineSpeed, 10);
    w.write(f.unused5, 1);
    w.write(f.lapPosition, 26);
    w.write(f.slot, 6);
    w.writeSigned(f.lateral, 16);
    w.write(f.controlValue, 5);
    w.write(f.controlHigh, 2);
    w.write(f.rideHeight, 9);
    w.writeSigned(f.steering, 7);
    w.writeSigned(f.orientation, 12);
    w.writeSigned(f.roll, 10);
    w.write(f.gearCode, 3);
    return out;
}

std::array<uint8_t, 16> encodeCarCondition(uint32_t slot, const std::array<uint8_t, 14>& condition) {
    std::array<uint8_t, 16> out{};
    const uint32_t id = slot * 64 + 31;
    out[0] = static_cast<uint8_t>(id & 0xFF);
    out[1] = static_cast<uint8_t>((id >> 8) & 0x0F);
    for (std::size_t i = 0; i < condition.size(); ++i) out[2 + i] = condition[i];
    return out;
}

}  // namespace samplekit
