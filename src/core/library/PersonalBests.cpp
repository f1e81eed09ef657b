#include "core/library/PersonalBests.h"

#include <algorithm>

namespace movrane {

uint32_t CarBests::best() const {
    uint32_t best = MISSING_TIME;
    for (const SessionTime& s : sessions) best = std::min(best, s.ms);
    return best;
}

int EventBests::bestCar() const {
    int bestCar = 0;
    for (int car = 1; car < CAR_MAKE_COUNT; ++car) {
        if (cars[car].best() < cars[bestCar].best()) bestCar = car;
    }
    return bestCar;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<uint32_t> lapTimeValueToMs(std::string_view value) {
    const std::size_t blank = value.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    std::string_view time = value.substr(blank);
    while (!time.empty() && (time.front() == ' ' || time.front() == '\t')) time.remove_prefix(1);
    std::size_t pos = 0;
    uint64_t seconds = 0;
    while (pos < time.size() && isDigit(time[pos])) {
        seconds = seconds * 10 + static_cast<uint64_t>(time[pos++] - '0');
        if (seconds > 4000000) return std::nullopt;  // not a lap time; keeps the result in range
    }
    if (pos == 0) return std::nullopt;
    uint32_t decimals[3] = {0, 0, 0};
    if (pos < time.size() && time[pos] == '.') {
        ++pos;
        for (int i = 0; i < 3 && pos < time.size() && isDigit(time[pos]); ++i) decimals[i] = time[pos++] - '0';
    }
    const uint32_t hundredths = decimals[0] * 10 + decimals[1];
    const uint32_t rounding = decimals[2] >= 5 ? 10 : 0;
    return static_cast<uint32_t>(seconds) * 1000 + hundredths * 10 + rounding;
}

}  // namespace movrane
