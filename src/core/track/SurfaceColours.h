#pragma once

#include <cstdint>

namespace movrane {

struct Rgb {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

constexpr int NUMBER_OF_COLOURS = 16;

// The document's colour table entry a surface kind is drawn with.
int colourNumberOfSurface(int surfaceKind);
// The default colour of a colour number; colour numbers outside the table give red.
Rgb defaultColour(int colourNumber);

constexpr Rgb DISTANCE_MARKER_COLOUR{255, 0, 0};
constexpr int DISTANCE_MARKER_WIDTH = 5;

}  // namespace movrane
