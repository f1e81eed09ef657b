#include "core/replay/LapTimeText.h"

#include <cstdio>

namespace movrane {

std::string lapTimeText(uint32_t t) {
    const uint32_t minutes = t / 60000;
    const uint32_t seconds = t / 1000 - 60 * minutes;
    const uint32_t thousandths = t - 1000 * (60 * minutes + seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%um %02u.%03us", minutes, seconds, thousandths);
    return text;
}

}  // namespace movrane
