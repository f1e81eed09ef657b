#include "ScriptedRace.h"

#include <stdexcept>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "samplekit/CarRecords.h"
#include "support/TempDir.h"

namespace scripted {

Car standing(uint32_t at) {
    Car car;
    car.position = [at](int) { return std::optional<uint32_t>(at); };
    return car;
}

Car driving(uint32_t from, uint32_t speed) {
    Car car;
    car.position = [from, speed](int f) { return std::optional<uint32_t>(from + speed * static_cast<uint32_t>(f)); };
    return car;
}

Car vanishing(Car car, int frame) {
    auto before = car.position;
    car.position = [before, frame](int f) { return f < frame ? before(f) : std::nullopt; };
    return car;
}

samplekit::LapEntry laps(uint32_t slot, uint32_t base, std::vector<uint32_t> ends) {
    samplekit::LapEntry e;
    e.slot = slot;
    e.baseTime = base;
    e.stamps = std::move(ends);
    return e;
}

void write(const std::filesystem::path& path, const Race& race) {
    samplekit::ReplayDescription d;
    d.drivers = race.drivers;
    d.playerIndex = race.player;
    d.practiceTable = race.practiceTable;
    // The race table stands behind a practice table, which may be empty.
    if (race.raceTable && !d.practiceTable) d.practiceTable = samplekit::LapTable{"QTPL", {}};
    d.raceTable = race.raceTable;
    samplekit::ReplayWriter writer(path, d);
    for (int f = 0; f < race.frames; ++f) {
        samplekit::Frame frame(static_cast<uint32_t>(f + 1));
        if (race.extra) race.extra(frame, f);
        std::vector<uint8_t> others;
        for (std::size_t i = 0; i < race.cars.size(); ++i) {
            const Car& car = race.cars[i];
            const std::optional<uint32_t> position = car.position(f);
            if (!position) continue;
            if (i == race.player) {
                samplekit::PlayerCarFields p;
                p.lapPosition = *position;
                p.gearCode = static_cast<uint32_t>(car.gear(f) + 1);
                p.lateral = car.lateral(f);
                p.engineSpeed = car.engine(f);
                frame.addItem(1, samplekit::encodePlayerCar(p));
            } else {
                samplekit::OtherCarFields o;
                o.lapPosition = *position;
                o.slot = race.drivers[i].slot;
                o.gearCode = static_cast<uint32_t>(car.gear(f) + 1);
                o.lateral = car.lateral(f);
                o.engineSpeed = car.engine(f);
                const auto bytes = samplekit::encodeOtherCar(o);
                others.insert(others.end(), bytes.begin(), bytes.end());
            }
        }
        if (!others.empty()) frame.addItem(3, others.data(), others.size());
        const std::optional<uint32_t> time =
            race.stamp ? race.stamp(f) : (f % 36 == 0 ? std::optional<uint32_t>(race.clockMs + 1000u * (f / 36)) : std::nullopt);
        if (time) frame.addU32Item(13, ((*time / 10) << 8) | race.sessionId);
        writer.writeFrame(frame);
    }
    writer.finish();
}

std::string reportText(const Race& race, movrane::ReportKind kind, const std::optional<movrane::ReportLaps>& laps) {
    testsupport::TempDir dir;
    const std::string path = dir.file("race.rpy");
    write(path, race);
    movrane::Header header;
    movrane::Drivers drivers;
    if (header.load(path) != movrane::Header::OK || drivers.load(path) != movrane::Drivers::OK)
        throw std::runtime_error("scripted race unreadable");
    movrane::Report report(header, drivers, path);
    if (laps) report.setLaps(*laps);
    return report.generate(kind);
}

}  // namespace scripted
