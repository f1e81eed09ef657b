#pragma once

#include <string>
#include <vector>

#include "core/image/Colour.h"

namespace movrane {

struct PaintPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PaintPoint&) const = default;
};

// The small set of drawing calls the analysis pictures are made of. The desktop paints
// them on the screen, `ImagePainter` into a pixel buffer; both give the same layout.
// Coordinates are pixels, y grows downwards.
class Painter {
public:
    virtual ~Painter() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Colour and width in pixels of the lines that follow.
    virtual void setPen(Colour colour, int width = 1) = 0;
    virtual void line(PaintPoint from, PaintPoint to) = 0;
    virtual void fillRect(int x, int y, int width, int height, Colour colour) = 0;
    // Text whose top left corner is (x, y).
    virtual void text(int x, int y, const std::string& text, Colour colour) = 0;
    virtual int textWidth(const std::string& text) const = 0;
    virtual int textHeight() const = 0;

    // Joined lines through the points, in the pen.
    virtual void polyline(const std::vector<PaintPoint>& points);
    // The outline of a rectangle, in the pen.
    void frameRect(int x, int y, int width, int height);
};

}  // namespace movrane
