#pragma once

#include "core/app/MapDrawing.h"
#include "core/image/RgbImage.h"

namespace movrane {

class Track;

// The map of the document as a square picture of `size` pixels on white, fitted to all
// that is drawn with the bitmap's margins: the picture "Save Trackmap as BMP-file" saves.
RgbImage documentMapImage(CZodEvadiDoc& doc, int size, const MapDrawOptions& options = {});
// The track alone, without driven lines, drawn the same way.
RgbImage trackMapImage(const Track& track, int size, const MapDrawOptions& options = {});

}  // namespace movrane
