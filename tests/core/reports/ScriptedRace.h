#pragma once

// Replays whose every car position and time stamp a test decides, for the scanning reports.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "core/reports/Report.h"
#include "samplekit/ReplayWriter.h"

namespace scripted {

// One car, frame by frame (frames count from 0). No position: the frame has no record of it.
struct Car {
    std::function<std::optional<uint32_t>(int frame)> position;
    std::function<int32_t(int frame)> lateral = [](int) { return 0; };
    std::function<int(int frame)> gear = [](int) { return 3; };
    std::function<uint32_t(int frame)> engine = [](int) { return 0u; };
};

// A car that stands at `at` raw units, and one driving at `speed` raw units a frame from `from`.
Car standing(uint32_t at);
Car driving(uint32_t from, uint32_t speed);
// The car leaves the stream from frame `frame` on.
Car vanishing(Car car, int frame);

struct Race {
    std::vector<samplekit::DriverEntry> drivers;  // slot = position in the list
    uint32_t player = 0;
    uint8_t sessionId = 1;
    uint32_t clockMs = 10000;
    int frames = 36 * 20;
    std::vector<Car> cars;  // by driver
    // The session time of the time stamp in a frame, if it has one; default: every 36
    // frames from frame 0, 1000 ms apart from clockMs.
    std::function<std::optional<uint32_t>(int frame)> stamp;
    std::optional<samplekit::LapTable> practiceTable;
    std::optional<samplekit::LapTable> raceTable;
    std::function<void(samplekit::Frame&, int frame)> extra;  // before the car items
};

// A lap entry with the base time and the lap end times given.
samplekit::LapEntry laps(uint32_t slot, uint32_t base, std::vector<uint32_t> ends);

void write(const std::filesystem::path& path, const Race& race);

// The text of one report of the race, written to a temporary replay and read back; `laps`
// are the loaded laps a kind works on. Throws when the replay cannot be read.
std::string reportText(const Race& race, movrane::ReportKind kind,
                       const std::optional<movrane::ReportLaps>& laps = std::nullopt);

}  // namespace scripted
