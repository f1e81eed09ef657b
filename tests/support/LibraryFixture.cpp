#include "support/LibraryFixture.h"

namespace testsupport {

LibraryFixture::LibraryFixture(std::vector<samplekit::PersonalBest> bests) {
    samplekit::InstallationContent content;
    content.players = {{"ann", "Ann", "Example", std::move(bests)}};
    content.events = {{"Harbour Grand Prix", "Harbour", "harbour"}, {"Ridgeway Trophy", "Ridgeway", "ridgeway"}};
    content.tracks = {{"harbour", "Harbour", "Harbour Park"}, {"ridgeway", "Ridgeway", "Ridgeway Circuit"}};
    samplekit::writeInstallation(orv(), content);
    std::filesystem::create_directories(dir.file("orv/replay"));
}

void LibraryFixture::addReplay(const std::string& name, const FixtureRace& race) const {
    writeFixtureRace(replayPath(name), race);
}

FixtureRace playerRace(const std::string& track, std::vector<uint32_t> practiceLaps, std::vector<uint32_t> raceLaps,
                       bool alone, uint32_t make) {
    FixtureRace race;
    race.track = track;
    race.drivers = {{"Ann", "Example", make, 1, 12, {}}};
    if (!alone) race.drivers.push_back({"Bob", "Other", 1, 2, 12, {}});
    race.practiceClockMs = 1000;
    race.practiceSeconds = 400;
    std::vector<std::optional<FixtureLaps>> practice{FixtureLaps{2000, std::move(practiceLaps)}};
    if (!alone) practice.push_back(FixtureLaps{2100, {95000}});
    race.practice = practice;
    if (!raceLaps.empty()) {
        race.raceClockMs = 1000;
        race.raceSeconds = 700;
        std::vector<std::optional<FixtureLaps>> laps{FixtureLaps{2000, std::move(raceLaps)}};
        if (!alone) laps.push_back(FixtureLaps{2100, {96000}});
        race.race = laps;
    }
    return race;
}

}  // namespace testsupport
