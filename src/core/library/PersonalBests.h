#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/replay/Cars.h"

namespace movrane {

// A missing time: larger than every real time, so it loses where the smaller wins.
inline constexpr uint32_t MISSING_TIME = 0xFFFFFFFF;

// Personal-best keys in player.ini are a car prefix and a session letter.
inline constexpr std::array<const char*, CAR_MAKE_COUNT> CAR_PREFIXES = {"bra", "brm", "cov", "eag",
                                                                         "fer", "lot", "mur"};
// The three sessions a personal best is kept for.
enum BestSession { BEST_TRAINING = 0, BEST_PRACTICE = 1, BEST_RACE = 2 };
inline constexpr int BEST_SESSION_COUNT = 3;
inline constexpr std::array<char, BEST_SESSION_COUNT> BEST_SESSION_LETTERS = {'T', 'P', 'R'};

struct SessionTime {
    uint32_t ms = MISSING_TIME;
    int32_t flag = -1;  // 0 when player.ini holds a time, -1 when not
};

struct CarBests {
    std::array<SessionTime, BEST_SESSION_COUNT> sessions;
    // The smallest of the three session times.
    uint32_t best() const;
};

struct EventBests {
    std::string trackDirectory;  // lower case; empty when the season names none
    bool inPlayerIni = false;    // player.ini has a section for the track
    std::array<CarBests, CAR_MAKE_COUNT> cars;
    // The car with the smallest best time, the first in table order on a tie.
    int bestCar() const;
};

// One entry per season event, in event order.
using PersonalBestTable = std::vector<EventBests>;

// A lap time value "<field> <seconds>.<decimals>" in milliseconds, rounded to
// hundredths by the third decimal: "418207356 83.456" gives 83460, "... 83.454"
// gives 83450. Nothing when there is no blank or no whole seconds after it.
std::optional<uint32_t> lapTimeValueToMs(std::string_view value);

}  // namespace movrane
