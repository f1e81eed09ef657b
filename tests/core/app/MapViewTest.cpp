#include <gtest/gtest.h>

#include <cmath>

#include "core/app/MapView.h"

using movrane::MAP_LOGICAL_SIZE;
using movrane::MapView;
using movrane::PixelPoint;

namespace {

MapView viewOf(double width, double height) {
    MapView view;
    view.setWindowSize(width, height);
    return view;
}

void expectNear(PixelPoint a, PixelPoint b) {
    EXPECT_NEAR(a.x, b.x, 1e-6);
    EXPECT_NEAR(a.y, b.y, 1e-6);
}

}  // namespace

TEST(MapView, WholeSquareFitsTheShorterSideCentred) {
    const MapView view = viewOf(800, 400);
    expectNear(view.toPixels(0, 0), {200, 0});
    expectNear(view.toPixels(MAP_LOGICAL_SIZE, MAP_LOGICAL_SIZE), {600, 400});
    expectNear(view.toLogical(view.toPixels(1234, 5678)), {1234, 5678});

    MapView degenerate = viewOf(0, -5);
    EXPECT_GT(degenerate.pixelsPerUnit(), 0.0) << "degenerate window sizes stay usable";
    degenerate.zoomAt({0, 0}, 3);
    EXPECT_TRUE(std::isfinite(degenerate.centreX()));
    // Wheel zoom keeps the point under the mouse.
    MapView wheel = viewOf(600, 400);
    const PixelPoint mouse{450, 120};
    const PixelPoint before = wheel.toLogical(mouse);
    wheel.zoomAt(mouse, 2);
    EXPECT_DOUBLE_EQ(wheel.zoom(), MapView::ZOOM_STEP * MapView::ZOOM_STEP);
    expectNear(wheel.toLogical(mouse), before);
    wheel.zoomAt(mouse, -1);
    expectNear(wheel.toLogical(mouse), before);
    // Zoom steps stay within their limits.
    MapView zooming = viewOf(500, 500);
    zooming.zoomOut();
    EXPECT_DOUBLE_EQ(zooming.zoom(), MapView::MIN_ZOOM);
    zooming.zoomIn();
    EXPECT_DOUBLE_EQ(zooming.zoom(), MapView::ZOOM_STEP);
    for (int i = 0; i < 40; ++i) zooming.zoomIn();
    EXPECT_DOUBLE_EQ(zooming.zoom(), MapView::MAX_ZOOM);
    zooming.fitToTrack();
    EXPECT_DOUBLE_EQ(zooming.zoom(), 1.0);
    EXPECT_DOUBLE_EQ(zooming.centreX(), MAP_LOGICAL_SIZE / 2);
    // Panning moves the map with the mouse but never loses it.
    zooming.zoomIn();
    const PixelPoint unpanned = zooming.toPixels(3000, 3000);
    zooming.panBy(40, -25);
    expectNear(zooming.toPixels(3000, 3000), {unpanned.x + 40, unpanned.y - 25});
    zooming.panBy(1e9, -1e9);
    EXPECT_DOUBLE_EQ(zooming.centreX(), 0.0);
    EXPECT_DOUBLE_EQ(zooming.centreY(), MAP_LOGICAL_SIZE);
    EXPECT_FALSE(zooming.panning());
    zooming.togglePanning();
    EXPECT_TRUE(zooming.panning());
}

