#pragma once

#include <cstdint>

namespace movrane {

// The fixed-width font the headless pictures write their texts in.
struct BitmapFont {
    static constexpr int WIDTH = 7;
    static constexpr int HEIGHT = 14;
    // HEIGHT rows of a character; characters outside printable ASCII show as '?'.
    static const uint8_t* glyph(char c);
};

}  // namespace movrane
