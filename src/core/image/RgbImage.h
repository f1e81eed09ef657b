#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/image/Colour.h"
#include "core/image/Painter.h"

namespace movrane {

// A picture as plain 8-bit red, green and blue pixels, rows from the top.
class RgbImage {
public:
    RgbImage(int width, int height, Colour background = {255, 255, 255});

    int width() const { return width_; }
    int height() const { return height_; }
    Colour pixel(int x, int y) const;
    // Pixels outside the picture are ignored.
    void setPixel(int x, int y, Colour colour);
    // Three bytes (red, green, blue) per pixel, row after row from the top.
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    int width_;
    int height_;
    std::vector<uint8_t> bytes_;
};

// The picture as an uncompressed 24-bit bitmap file.
std::string encodeBmp(const RgbImage& image);
// The picture as a PNG file (8-bit RGB, no interlace).
std::string encodePng(const RgbImage& image);
// The file bytes for a path: PNG when it ends in ".png" (any case), else a bitmap.
std::string encodeImageFor(const std::string& path, const RgbImage& image);
// Writes the picture as encodeImageFor chooses; false when the file could not be written.
bool writeImageFile(const std::string& path, const RgbImage& image);

// Paints into an RgbImage: lines of any width as square brushes, texts in the bitmap font.
class ImagePainter : public Painter {
public:
    explicit ImagePainter(RgbImage& image) : image_(image) {}

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    void setPen(Colour colour, int width = 1) override;
    void line(PaintPoint from, PaintPoint to) override;
    void fillRect(int x, int y, int width, int height, Colour colour) override;
    void text(int x, int y, const std::string& text, Colour colour) override;
    int textWidth(const std::string& text) const override;
    int textHeight() const override;

private:
    void stamp(int x, int y);

    RgbImage& image_;
    Colour pen_{};
    int penWidth_ = 1;
};

}  // namespace movrane
