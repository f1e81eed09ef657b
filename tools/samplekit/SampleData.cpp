#include "samplekit/SampleData.h"

#include "samplekit/SampleCircuit.h"

#include <stdexcept>

namespace samplekit {

namespace {
struct Name {
    const char* first;
    const char* last;
    uint8_t nationality;
};
const Name NAMES[20] = {
    {"Ada", "Marsh", 12},     {"Tomas", "Velin", 24},   {"Rafe", "Dunmore", 1},  {"Iker", "Salvat", 23},
    {"Lionel", "Brecq", 10},  {"Pia", "Kestner", 11},   {"Osvald", "Rimm", 8},   {"Carlo", "Ferri", 14},
    {"Hugh", "Tallow", 12},   {"Bram", "Odekerk", 19},  {"Nils", "Aarvik", 24},  {"Joao", "Pinhal", 4},
    {"Matt", "Corrie", 20},   {"Emil", "Hasko", 9},     {"Dirk", "Vandeler", 3}, {"Wes", "Calloway", 26},
    {"Remy", "Sauvage", 25},  {"Alvaro", "Cruz", 16},   {"Kenji", "Oda", 15},    {"Fergus", "Lyle", 13},
};
}  // namespace

std::vector<DriverEntry> sampleDrivers(std::size_t count, uint32_t player) {
    if (count == 0 || count > 20) throw std::invalid_argument("1 to 20 sample drivers");
    std::vector<DriverEntry> out;
    for (std::size_t i = 0; i < count; ++i) {
        DriverEntry d;
        d.name1 = NAMES[i].first;
        d.name2 = NAMES[i].last;
        d.nationality = NAMES[i].nationality;
        d.ai = !(i == player || (i > player && (i - player) % 4 == 0));
        d.carMake = static_cast<uint32_t>(i % 7);
        d.formulaClass = 1;
        d.slot = static_cast<uint32_t>(i);
        d.carNumber = static_cast<uint32_t>(i + 1);
        d.keptValue = static_cast<uint32_t>(100 + i);
        if (i == 5) {  // one modified car
            d.standardCar = false;
            d.carClass = 1;
            d.year = 1965;
            d.modA = 3;
            d.modB = 7;
            d.modC = {1, 2, 3, 4, 5, 6, 7};
        }
        out.push_back(d);
    }
    return out;
}

std::shared_ptr<const Course> sampleCourse() {
    static const std::shared_ptr<const Course> course = std::make_shared<Circuit>(sampleCircuit());
    return course;
}

double sampleLapLength() { return sampleCourse()->lapLength(); }

SimulationSpec sampleRaceSpec(std::size_t drivers, int practiceLaps, int raceLaps, uint64_t seed) {
    SimulationSpec plan;
    plan.seed = seed;
    plan.course = sampleCourse();
    plan.lapLength = sampleLapLength();
    plan.player = 0;
    plan.drivers = sampleDrivers(drivers, plan.player);
    if (practiceLaps > 0) {
        SessionSpec p;
        p.kind = SessionSpec::Practice;
        p.sessionId = 0;
        p.clockStartMs = 30000;
        p.laps = practiceLaps;
        plan.sessions.push_back(p);
    }
    if (raceLaps > 0) {
        SessionSpec r;
        r.kind = SessionSpec::Race;
        r.sessionId = 1;
        r.clockStartMs = 1000;
        r.laps = raceLaps;
        plan.sessions.push_back(r);
    }
    return plan;
}

ReplayDescription sampleHeader(bool training) {
    ReplayDescription d;
    d.version = 2;
    d.trackName = SAMPLE_TRACK;
    d.carSet = "cars67";
    d.sessionType = training ? 0 : 5;
    d.sessionKind = training ? 1 : 0;
    d.difficulty = training ? 1 : 3;
    d.count156 = 20;
    return d;
}

}  // namespace samplekit
