#include "core/track/TrackRecords.h"

namespace movrane {

int surfaceKindFromFlags(uint32_t flags) {
    if (flags & 0x800u) return SURFACE_WALL;
    const int low = static_cast<int>(flags & 0xFu);
    switch (low) {
        case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 9: case 10:
            return low;
        default:
            return SURFACE_OTHER;
    }
}

int stripKind(int borderKind) {
    return borderKind == 8 || borderKind == 10 ? SURFACE_OTHER : borderKind;
}

}  // namespace movrane
