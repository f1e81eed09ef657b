#pragma once

#include <cstdint>

namespace movrane {

// A colour of 8-bit red, green and blue.
struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const Colour&) const = default;
};

}  // namespace movrane
