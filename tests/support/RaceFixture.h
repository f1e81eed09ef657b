#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// A replay whose lap tables are written exactly as given, so a test knows every result:
// the practice order, the classification, every overtake and retirement. The record
// stream holds one time stamp per second (36 frames) of a practice stretch and of the
// race, and the car condition items the test asks for.
struct FixtureDriver {
    std::string first;
    std::string last;
    uint32_t carMake = 0;
    uint32_t carNumber = 0;
    uint8_t nationality = 12;
    std::optional<uint32_t> slot;  // default: position in the list
};

// Lap words of one driver: word 0 is the base time, then lap times with their flags.
struct FixtureLaps {
    uint32_t base = 0;
    std::vector<uint32_t> laps;
};

// A car condition item sent in the second frame of the stream second at `timeMs`.
struct FixtureCondition {
    uint32_t timeMs = 0;
    uint32_t slot = 0;
    bool race = true;
    std::array<uint8_t, 14> bytes{};  // condition bytes 2..15
};

struct FixtureRace {
    std::string track = "monza";
    std::vector<FixtureDriver> drivers;
    // Per driver; a driver without laps (nullopt) has no entry in the table.
    std::optional<std::vector<std::optional<FixtureLaps>>> practice{};
    std::optional<std::vector<std::optional<FixtureLaps>>> race{};
    uint32_t practiceClockMs = 100000;  // session time of the practice stretch
    uint32_t practiceSeconds = 3;
    uint32_t raceClockMs = 15000;
    uint32_t raceSeconds = 0;  // 0: no race time stamps
    uint8_t raceSessionId = 1;
    std::vector<FixtureCondition> conditions{};
    std::time_t modified = 1039269802;  // Sat Dec 07 14:03:22 2002 UTC
};

// Writes the replay and sets its modification time.
void writeFixtureRace(const std::filesystem::path& path, const FixtureRace& race);

// Condition bytes with the given bytes (by their index 2..15 in the item) set.
std::array<uint8_t, 14> conditionBytes(std::initializer_list<std::pair<int, uint8_t>> set);

}  // namespace testsupport
