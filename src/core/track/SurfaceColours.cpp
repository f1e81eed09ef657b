#include "core/track/SurfaceColours.h"

#include <array>

#include "core/track/TrackRecords.h"

namespace movrane {

int colourNumberOfSurface(int surfaceKind) {
    switch (surfaceKind) {
        case 1: return 7;
        case 2: return 8;
        case 3: return 14;
        case 4: return 9;
        case 5: return 12;
        case 6: return 10;
        case 7: return 6;
        case SURFACE_WALL: return 13;
        default: return 15;
    }
}

Rgb defaultColour(int colourNumber) {
    static constexpr std::array<Rgb, NUMBER_OF_COLOURS> TABLE{{
        {255, 0, 0}, {0, 0, 255}, {0, 251, 56}, {240, 240, 0}, {38, 232, 226}, {32, 32, 47},
        {40, 91, 45}, {128, 128, 128}, {190, 190, 190}, {50, 128, 50}, {185, 92, 0}, {255, 0, 255},
        {160, 80, 0}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0},
    }};
    if (colourNumber < 0 || colourNumber >= NUMBER_OF_COLOURS) return {255, 0, 0};
    return TABLE[static_cast<std::size_t>(colourNumber)];
}

}  // namespace movrane
