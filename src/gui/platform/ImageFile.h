#pragma once

#include <QImage>
#include <string>

namespace movrane::gui {

// Encodes an image in `format` ("BMP", "PNG") and writes it through the program's one file
// writer, so a failed save leaves the old file as it was and no partial image behind.
bool writeImageFile(const QImage& image, const std::string& path, const char* format);

}  // namespace movrane::gui
