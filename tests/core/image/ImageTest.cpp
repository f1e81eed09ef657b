#include <gtest/gtest.h>

#include <tuple>

#include "core/image/RgbImage.h"
#include "core/platform/Files.h"
#include "support/TempDir.h"

using movrane::Colour;
using movrane::RgbImage;

namespace {

uint32_t word(const std::string& bytes, std::size_t at, int size = 4) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes.at(at + i));
    return value;
}

TEST(Bitmap, UncompressedBottomUpRowsPaddedToFourBytes) {
    RgbImage image(2, 2, {0, 0, 0});
    image.setPixel(0, 0, {10, 20, 30});  // top left
    image.setPixel(1, 1, {40, 50, 60});  // bottom right
    image.setPixel(5, 5, {1, 1, 1});     // outside: ignored
    const std::string bmp = movrane::encodeBmp(image);
    ASSERT_EQ(bmp.size(), 54u + 2 * 8);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    // File size, pixel offset, width, height, bits per pixel, no compression.
    EXPECT_EQ(std::tuple(word(bmp, 2), word(bmp, 10), word(bmp, 18), word(bmp, 22), word(bmp, 28, 2), word(bmp, 30)),
              std::tuple(static_cast<uint32_t>(bmp.size()), 54u, 2u, 2u, 24u, 0u));
    // The first stored row is the bottom one, blue green red, then two bytes of padding.
    EXPECT_EQ(bmp.substr(54, 8), std::string("\0\0\0\x3c\x32\x28\0\0", 8));
    EXPECT_EQ(bmp.substr(62, 8), std::string("\x1e\x14\x0a\0\0\0\0\0", 8));
}

TEST(Bitmap, WritesBmpOrPngByTheName) {
    testsupport::TempDir dir;
    RgbImage image(3, 3);
    EXPECT_TRUE(movrane::writeImageFile(dir.file("a.bmp"), image));
    EXPECT_TRUE(movrane::writeImageFile(dir.file("a.PNG"), image));
    std::string png;
    ASSERT_TRUE(movrane::readWholeFile(dir.file("a.PNG"), png));
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_FALSE(movrane::writeImageFile(dir.file("missing/a.bmp"), image));
}

TEST(ImagePainter, WideLinesRectanglesAndText) {
    RgbImage image(20, 20);
    movrane::ImagePainter painter(image);
    painter.setPen({255, 0, 0}, 3);
    painter.line({2, 10}, {17, 10});
    EXPECT_EQ(image.pixel(10, 9), (Colour{255, 0, 0}));
    EXPECT_EQ(image.pixel(10, 11), (Colour{255, 0, 0}));
    EXPECT_EQ(image.pixel(10, 12), (Colour{255, 255, 255}));
    painter.fillRect(-5, -5, 8, 8, {0, 0, 255});
    EXPECT_EQ(image.pixel(2, 2), (Colour{0, 0, 255}));
    EXPECT_EQ(image.pixel(3, 3), (Colour{255, 255, 255}));
    EXPECT_EQ(painter.textWidth("abc"), 21);
    RgbImage letter(7, 14);
    movrane::ImagePainter letterPainter(letter);
    letterPainter.text(0, 0, "H", {0, 0, 0});
    int dark = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 7; ++x) dark += letter.pixel(x, y) == Colour{0, 0, 0};
    EXPECT_GT(dark, 10);
}

}  // namespace
