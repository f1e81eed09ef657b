#pragma once

#include <cstdint>
#include <string>

namespace movrane {

// A lap time as the lap chooser, the lap finder, messages and file names write it:
// 83456 ms -> "1m 23.456s".
std::string lapTimeText(uint32_t milliseconds);

}  // namespace movrane
