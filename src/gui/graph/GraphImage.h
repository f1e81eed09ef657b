#pragma once

#include <optional>
#include <string>

#include "core/analysis/TelemetryGraph.h"

namespace movrane::gui {

enum class ImageFormat { Png, Pdf, Svg };

// The format a file name asks for by its extension (".png", ".pdf", ".svg", any case).
std::optional<ImageFormat> imageFormatOf(const std::string& path);

// Draws the graph that `shown` shows (its channel, lap and wheel boxes and time
// difference) on the desktop's graph engine without a screen and returns the image file's
// bytes; empty when it could not be drawn. Starts the toolkit on its off-screen platform
// when the process has not started it.
std::string renderGraphImage(const CZodEvadiDoc& doc, const TelemetryGraph& shown, ImageFormat format);

}  // namespace movrane::gui
