#pragma once

#include "core/track/MapFitting.h"

namespace movrane {

// The track map is laid out in a logical square of MAP_LOGICAL_SIZE units; the view
// scales and scrolls that square into its window.
constexpr double MAP_LOGICAL_SIZE = 10000.0;
constexpr double MAP_LOGICAL_MARGIN = 50.0;
// The map saved as a bitmap keeps this many pixels free on each side.
constexpr double MAP_BITMAP_MARGIN = 5.0;

// How the drawn map's extent (drawnMapExtent) sits in the logical square.
MapFit logicalMapFit(const Extent& drawn);
// How the drawn map's extent sits in a square bitmap of `size` pixels.
MapFit bitmapMapFit(const Extent& drawn, int size);

// A point of the window in pixels.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};

// Zoom and scroll of the map view: which part of the logical square the window shows,
// and whether the panning tool is on. Zoom 1 shows the whole square.
class MapView {
public:
    static constexpr double ZOOM_STEP = 1.5;
    static constexpr double MIN_ZOOM = 1.0;
    static constexpr double MAX_ZOOM = 64.0;

    void setWindowSize(double width, double height);
    double zoom() const { return zoom_; }
    double centreX() const { return centreX_; }
    double centreY() const { return centreY_; }

    // Pixels per logical unit, and the window point of a logical point and back.
    double pixelsPerUnit() const;
    PixelPoint toPixels(double logicalX, double logicalY) const;
    PixelPoint toLogical(PixelPoint pixel) const;

    void zoomIn();
    void zoomOut();
    // Zooms in (steps > 0) or out around a window point, which keeps its place.
    void zoomAt(PixelPoint pixel, int steps);
    // "Fit To Track": the whole square again.
    void fitToTrack();

    bool panning() const { return panning_; }
    void togglePanning() { panning_ = !panning_; }
    // Moves the map with the mouse by a number of pixels.
    void panBy(double dx, double dy);

    // Playback: centres the window on a logical point, or recentres on it once it has left
    // the middle half of the window (a quarter of the window free on each side), so a
    // followed car stays in view without the map moving on every tick. True when it scrolled.
    void centreOn(double logicalX, double logicalY);
    bool keepInView(double logicalX, double logicalY);

private:
    void setZoom(double zoom);
    void keepCentreInSquare();

    double width_ = 1.0;
    double height_ = 1.0;
    double zoom_ = 1.0;
    double centreX_ = MAP_LOGICAL_SIZE / 2;
    double centreY_ = MAP_LOGICAL_SIZE / 2;
    bool panning_ = false;
};

}  // namespace movrane
