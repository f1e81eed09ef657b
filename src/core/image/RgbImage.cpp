#include "core/image/RgbImage.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "core/image/BitmapFont.h"
#include "core/platform/Files.h"

namespace movrane {

namespace {

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool endsWithPng(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".png";
}

void appendPngBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

}  // namespace

RgbImage::RgbImage(int width, int height, Colour background)
    : width_(std::max(0, width)), height_(std::max(0, height)) {
    bytes_.resize(static_cast<std::size_t>(width_) * height_ * 3);
    for (std::size_t i = 0; i < bytes_.size(); i += 3) {
        bytes_[i] = background.red;
        bytes_[i + 1] = background.green;
        bytes_[i + 2] = background.blue;
    }
}

Colour RgbImage::pixel(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {bytes_.at(i), bytes_.at(i + 1), bytes_.at(i + 2)};
}

void RgbImage::setPixel(int x, int y, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * 3;
    bytes_[i] = colour.red;
    bytes_[i + 1] = colour.green;
    bytes_[i + 2] = colour.blue;
}

// BITMAPFILEHEADER and BITMAPINFOHEADER, then the rows bottom-up in blue, green, red
// order, each padded to a multiple of four bytes.
std::string encodeBmp(const RgbImage& image) {
    const uint32_t rowSize = (static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u;
    const uint32_t pixelBytes = rowSize * static_cast<uint32_t>(image.height());
    std::string out = "BM";
    putLittleEndian(out, 54 + pixelBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 54, 4);
    putLittleEndian(out, 40, 4);
    putLittleEndian(out, static_cast<uint32_t>(image.width()), 4);
    putLittleEndian(out, static_cast<uint32_t>(image.height()), 4);
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 24, 2);
    putLittleEndian(out, 0, 4);  // no compression
    putLittleEndian(out, pixelBytes, 4);
    putLittleEndian(out, 2835, 4);  // 72 dots per inch
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, 0, 4);
    out.reserve(out.size() + pixelBytes);
    const auto& bytes = image.bytes();
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t row = static_cast<std::size_t>(y) * image.width() * 3;
        for (int x = 0; x < image.width(); ++x) {
            const std::size_t i = row + static_cast<std::size_t>(x) * 3;
            out.push_back(static_cast<char>(bytes[i + 2]));
            out.push_back(static_cast<char>(bytes[i + 1]));
            out.push_back(static_cast<char>(bytes[i]));
        }
        out.append(rowSize - static_cast<uint32_t>(image.width()) * 3, '\0');
    }
    return out;
}

std::string encodePng(const RgbImage& image) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return out;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        png_write_row(png, const_cast<png_bytep>(image.bytes().data() + static_cast<std::size_t>(y) * image.width() * 3));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::string encodeImageFor(const std::string& path, const RgbImage& image) {
    return endsWithPng(path) ? encodePng(image) : encodeBmp(image);
}

bool writeImageFile(const std::string& path, const RgbImage& image) {
    const std::string bytes = encodeImageFor(path, image);
    return !bytes.empty() && writeFileAtomically(path, bytes);
}

void ImagePainter::setPen(Colour colour, int width) {
    pen_ = colour;
    penWidth_ = std::max(1, width);
}

// A square of the pen's width centred on the point.
void ImagePainter::stamp(int x, int y) {
    const int from = -(penWidth_ - 1) / 2;
    for (int dy = from; dy < from + penWidth_; ++dy)
        for (int dx = from; dx < from + penWidth_; ++dx) image_.setPixel(x + dx, y + dy, pen_);
}

// Bresenham's line, every point stamped with the pen.
void ImagePainter::line(PaintPoint from, PaintPoint to) {
    const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    int x = from.x, y = from.y;
    for (;;) {
        stamp(x, y);
        if (x == to.x && y == to.y) return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void ImagePainter::fillRect(int x, int y, int width, int height, Colour colour) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(image_.width(), x + width), y1 = std::min(image_.height(), y + height);
    for (int py = y0; py < y1; ++py)
        for (int px = x0; px < x1; ++px) image_.setPixel(px, py, colour);
}

void ImagePainter::text(int x, int y, const std::string& text, Colour colour) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const uint8_t* rows = BitmapFont::glyph(text[i]);
        const int left = x + static_cast<int>(i) * BitmapFont::WIDTH;
        for (int row = 0; row < BitmapFont::HEIGHT; ++row)
            for (int column = 0; column < 8; ++column)
                if (rows[row] & (0x80 >> column)) image_.setPixel(left + column, y + row, colour);
    }
}

int ImagePainter::textWidth(const std::string& text) const {
    return static_cast<int>(text.size()) * BitmapFont::WIDTH;
}

int ImagePainter::textHeight() const { return BitmapFont::HEIGHT; }

}  // namespace movrane
