#pragma once

#include <QPainter>

#include "core/image/Painter.h"

namespace movrane::gui {

// The analysis pictures' painting calls on a QPainter, in an area of width x height pixels.
class QtPainter : public Painter {
public:
    QtPainter(QPainter& painter, int width, int height);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setPen(Colour colour, int width = 1) override;
    void line(PaintPoint from, PaintPoint to) override;
    void polyline(const std::vector<PaintPoint>& points) override;
    void fillRect(int x, int y, int width, int height, Colour colour) override;
    void text(int x, int y, const std::string& text, Colour colour) override;
    int textWidth(const std::string& text) const override;
    int textHeight() const override;

private:
    QPainter& painter_;
    int width_;
    int height_;
};

QColor toQColor(Colour colour);

}  // namespace movrane::gui
