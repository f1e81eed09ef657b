#include "core/app/MapView.h"

#include <algorithm>
#include <cmath>


namespace movrane {

MapFit logicalMapFit(const Extent& drawn) {
    return fitMap(drawn, MAP_LOGICAL_SIZE, MAP_LOGICAL_SIZE, MAP_LOGICAL_MARGIN, MAP_LOGICAL_MARGIN);
}

MapFit bitmapMapFit(const Extent& drawn, int size) {
    return fitMap(drawn, size, size, MAP_BITMAP_MARGIN, MAP_BITMAP_MARGIN);
}

void MapView::setWindowSize(double width, double height) {
    width_ = std::max(1.0, width);
    height_ = std::max(1.0, height);
}

double MapView::pixelsPerUnit() const { return std::min(width_, height_) / MAP_LOGICAL_SIZE * zoom_; }

PixelPoint MapView::toPixels(double logicalX, double logicalY) const {
    const double s = pixelsPerUnit();
    return {(logicalX - centreX_) * s + width_ / 2, (logicalY - centreY_) * s + height_ / 2};
}

PixelPoint MapView::toLogical(PixelPoint pixel) const {
    const double s = pixelsPerUnit();
    return {(pixel.x - width_ / 2) / s + centreX_, (pixel.y - height_ / 2) / s + centreY_};
}

void MapView::zoomIn() { setZoom(zoom_ * ZOOM_STEP); }

void MapView::zoomOut() { setZoom(zoom_ / ZOOM_STEP); }

void MapView::zoomAt(PixelPoint pixel, int steps) {
    const PixelPoint fixed = toLogical(pixel);
    setZoom(zoom_ * std::pow(ZOOM_STEP, steps));
    const PixelPoint moved = toPixels(fixed.x, fixed.y);
    panBy(pixel.x - moved.x, pixel.y - moved.y);
}

void MapView::fitToTrack() {
    zoom_ = 1.0;
    centreX_ = centreY_ = MAP_LOGICAL_SIZE / 2;
}

void MapView::panBy(double dx, double dy) {
    const double s = pixelsPerUnit();
    centreX_ -= dx / s;
    centreY_ -= dy / s;
    keepCentreInSquare();
}

void MapView::centreOn(double logicalX, double logicalY) {
    centreX_ = logicalX;
    centreY_ = logicalY;
    keepCentreInSquare();
}

bool MapView::keepInView(double logicalX, double logicalY) {
    const PixelPoint p = toPixels(logicalX, logicalY);
    const bool inside = p.x >= width_ / 4 && p.x <= width_ * 3 / 4 && p.y >= height_ / 4 && p.y <= height_ * 3 / 4;
    if (inside) return false;
    centreOn(logicalX, logicalY);
    return true;
}

void MapView::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, MIN_ZOOM, MAX_ZOOM);
    keepCentreInSquare();
}

// The window's centre never leaves the logical square, so the map cannot be lost.
void MapView::keepCentreInSquare() {
    centreX_ = std::clamp(centreX_, 0.0, MAP_LOGICAL_SIZE);
    centreY_ = std::clamp(centreY_, 0.0, MAP_LOGICAL_SIZE);
}

}  // namespace movrane
