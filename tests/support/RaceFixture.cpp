#include "support/RaceFixture.h"

#include <utime.h>

#include <stdexcept>

#include "samplekit/CarRecords.h"
#include "samplekit/ReplayWriter.h"

namespace testsupport {

namespace {

constexpr uint16_t TIME_STAMP = 13;
constexpr uint16_t CAR_CONDITION = 10;

samplekit::LapTable lapTable(const std::string& tag, const std::vector<FixtureDriver>& drivers,
                             const std::vector<std::optional<FixtureLaps>>& laps) {
    samplekit::LapTable table;
    table.tag = tag;
    for (std::size_t d = 0; d < laps.size() && d < drivers.size(); ++d) {
        if (!laps[d]) continue;
        samplekit::LapEntry entry;
        entry.slot = drivers[d].slot.value_or(static_cast<uint32_t>(d));
        entry.baseTime = laps[d]->base;
        uint32_t clock = laps[d]->base & 0xFFFFFF;
        for (uint32_t word : laps[d]->laps) {
            clock += word & 0xFFFFFF;
            entry.stamps.push_back((clock & 0xFFFFFF) | (word & 0xFF000000));
        }
        table.entries.push_back(entry);
    }
    return table;
}

void writeSeconds(samplekit::ReplayWriter& writer, const FixtureRace& race, bool isRace) {
    const uint32_t clock = isRace ? race.raceClockMs : race.practiceClockMs;
    const uint32_t seconds = isRace ? race.raceSeconds : race.practiceSeconds;
    const uint8_t session = isRace ? race.raceSessionId : 0;
    for (uint32_t s = 0; s < seconds; ++s) {
        const uint32_t now = clock + 1000 * s;
        for (int f = 0; f < 36; ++f) {
            samplekit::Frame frame;
            if (f == 0) frame.addU32Item(TIME_STAMP, ((now / 10) << 8) | session);
            if (f == 1) {
                for (const FixtureCondition& c : race.conditions) {
                    if (c.race == isRace && c.timeMs == now) {
                        frame.addItem(CAR_CONDITION, samplekit::encodeCarCondition(c.slot, c.bytes));
                    }
                }
            }
            writer.writeFrame(frame);
        }
    }
}

}  // namespace

void writeFixtureRace(const std::filesystem::path& path, const FixtureRace& race) {
    samplekit::ReplayDescription description;
    description.trackName = race.track;
    for (std::size_t d = 0; d < race.drivers.size(); ++d) {
        const FixtureDriver& driver = race.drivers[d];
        description.drivers.push_back({.name1 = driver.first, .name2 = driver.last, .nationality = driver.nationality,
                                       .ai = d > 0, .kindText = "", .carMake = driver.carMake,
                                       .slot = driver.slot.value_or(static_cast<uint32_t>(d)),
                                       .carNumber = driver.carNumber});
    }
    // Without practice laps an empty table stands before the race table, as the simulator
    // writes it; a lone race table would be read as the practice table.
    if (race.practice || race.race) description.practiceTable = lapTable("QTPL", race.drivers, race.practice.value_or(std::vector<std::optional<FixtureLaps>>{}));
    if (race.race) description.raceTable = lapTable("BTPL", race.drivers, *race.race);
    {
        samplekit::ReplayWriter writer(path, description);
        writeSeconds(writer, race, false);
        writeSeconds(writer, race, true);
        writer.finish();
    }
    const utimbuf times{race.modified, race.modified};
    if (::utime(path.c_str(), &times) != 0) throw std::runtime_error("cannot set the time of " + path.string());
}

std::array<uint8_t, 14> conditionBytes(std::initializer_list<std::pair<int, uint8_t>> set) {
    std::array<uint8_t, 14> bytes{};
    for (const auto& [index, value] : set) bytes.at(static_cast<std::size_t>(index - 2)) = value;
    return bytes;
}

}  // namespace testsupport
