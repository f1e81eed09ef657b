#pragma once

#include <string>
#include <string_view>

namespace movrane {

// "&", "<" and ">" as HTML entities; every other byte as it is. Names and texts from
// replays and installations go through it before they stand in a page.
std::string htmlEscaped(std::string_view text);

}  // namespace movrane
