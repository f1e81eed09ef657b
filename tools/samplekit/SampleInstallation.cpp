#include "samplekit/SampleInstallation.h"

#include "samplekit/InstallationWriter.h"
#include "samplekit/SampleCircuit.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"

namespace samplekit {

namespace {
void writeHotlap(const std::filesystem::path& file) {
    SimulationSpec plan;
    plan.seed = 3;
    plan.course = sampleCourse();
    plan.lapLength = sampleLapLength();
    plan.player = 0;
    plan.drivers = sampleDrivers(1, 0);
    SessionSpec s;
    s.kind = SessionSpec::Practice;
    s.clockStartMs = 20000;
    s.laps = 6;
    s.marks = {{0, 3, FLAG_INVALID}, {0, 5, FLAG_OFF_TRACK}};
    plan.sessions.push_back(s);
    writeSimulatedReplay(file, plan, sampleHeader(true));
}

void writeRace(const std::filesystem::path& file) {
    SimulationSpec plan = sampleRaceSpec(20, 2, 9, 7);
    SessionSpec& practice = plan.sessions[0];
    practice.marks = {{4, 2, FLAG_INVALID}, {9, 1, FLAG_OFF_TRACK}};
    SessionSpec& race = plan.sessions[1];
    race.retirements = {{13, 5, 0.3, 16}, {17, 7, 0.8, 92}};
    race.absences = {{6, 2000, 40}};
    writeSimulatedReplay(file, plan, sampleHeader(false));
}
}  // namespace

void writeSampleInstallation(const std::filesystem::path& directory) {
    writeInstallation(directory, sampleInstallationContent());
    writeSampleTrack(directory, SAMPLE_TRACK);
    const std::filesystem::path replays = directory / "replay";
    std::filesystem::create_directories(replays);
    writeHotlap(replays / "sample_hotlap.rpy");
    writeRace(replays / "sample_race.rpy");
}

}  // namespace samplekit
