#include <gtest/gtest.h>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/LapBar.h"
#include "core/app/MapDrawing.h"
#include "core/app/MapView.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "core/track/Track.h"
#include "support/SampleLaps.h"

using movrane::Colour;
using movrane::CZodEvadiDoc;
using movrane::LapBar;

namespace {

// Records what the map drawing asks of its sink.
class RecordingCanvas : public movrane::MapCanvas {
public:
    struct Line {
        Colour colour;
        int moves = 0;
        int segments = 0;
    };
    int surfaces = 0;
    int markers = 0;
    std::vector<Line> lines;

    void drawSurface(int, const movrane::Polyline&) override { ++surfaces; }
    void drawCentreLine(const movrane::Polyline&) override {}
    void drawHighlightedCentreLine(const movrane::Polyline&) override {}
    void moveTo(movrane::MetrePoint) override { ++lines.back().moves; }
    void lineTo(movrane::MetrePoint) override { ++lines.back().segments; }
    void drawDistanceMarker(const movrane::DistanceMarker&) override { ++markers; }
    void setLineColour(Colour colour) override { lines.push_back({colour}); }
};

using TwoLaps = testsupport::SampleLaps;

// The box, in units of a fit, around every point drawn into it.
class BoundsCanvas : public movrane::MapCanvas {
public:
    explicit BoundsCanvas(const movrane::MapFit& fit) : fit_(fit) {}
    long long minX = 1LL << 40, minY = 1LL << 40, maxX = -(1LL << 40), maxY = -(1LL << 40);

    void drawSurface(int, const movrane::Polyline& polygon) override { add(polygon); }
    void drawCentreLine(const movrane::Polyline& line) override { add(line); }
    void drawHighlightedCentreLine(const movrane::Polyline& line) override { add(line); }
    void moveTo(movrane::MetrePoint p) override { add({p}); }
    void lineTo(movrane::MetrePoint p) override { add({p}); }
    void drawDistanceMarker(const movrane::DistanceMarker& m) override { add({m.from, m.to}); }
    void setLineColour(Colour) override {}

private:
    void add(const movrane::Polyline& points) {
        for (const auto& p : points) {
            const movrane::UnitPoint u = fit_.toUnits(p);
            minX = std::min(minX, u.x), maxX = std::max(maxX, u.x);
            minY = std::min(minY, u.y), maxY = std::max(maxY, u.y);
        }
    }
    movrane::MapFit fit_;
};

// Samples 2 .. n-2 that have a place on the lap.
int drawableSamples(const movrane::GetRpyInfo& lap) {
    int count = 0;
    for (int i = 2; i <= lap.sampleCount() - 2; ++i)
        if (lap.sample(i).distance != 0.0 || lap.sample(i).lateral != 0.0) ++count;
    return count;
}

}  // namespace

TEST(LapBar, BoxesShowTheSlotsAndFollowTheEnableRule) {
    TwoLaps f;
    LapBar bar(f.doc);
    const auto first = bar.box(0);
    EXPECT_TRUE(first.enabled);
    EXPECT_TRUE(first.checked);
    EXPECT_EQ(first.colour, (Colour{255, 0, 0}));
    EXPECT_EQ(first.label, "Ada Marsh - Practice lap 2 (" + movrane::lapTimeText(f.doc.slot(0).lap->storedLapTime()) + ")");
    EXPECT_EQ(first.replayFileName, "sample_hotlap.rpy");
    EXPECT_EQ(bar.box(1).replayFileName, "sample_race.rpy");
    const auto empty = bar.box(2);
    EXPECT_TRUE(empty.replayFileName.empty());
    EXPECT_FALSE(empty.enabled);
    EXPECT_FALSE(empty.checked);
    EXPECT_EQ(empty.colour, (Colour{0, 127, 0}));
    EXPECT_FALSE(bar.box(7).enabled);
    EXPECT_EQ(LapBar::toggleCommandText(4), "Toggle lap 5");

    EXPECT_FALSE(bar.toggle(2));
    EXPECT_TRUE(bar.toggle(1));
    EXPECT_FALSE(f.doc.slot(1).shown);
    bar.setPlaying(true);
    EXPECT_FALSE(bar.box(1).enabled);
    EXPECT_FALSE(bar.toggle(1)) << "no toggling while playback runs or is paused";
    EXPECT_FALSE(f.doc.slot(1).shown);
    bar.setPlaying(false);
    EXPECT_TRUE(bar.toggle(1));
    EXPECT_TRUE(f.doc.slot(1).shown);
}

TEST(MapDrawing, SurfacesMarkersAndTheLineOfEveryShownLapInItsColour) {
    TwoLaps f;
    const movrane::MapFit fit = movrane::logicalMapFit(f.doc.track()->mapExtent());
    RecordingCanvas canvas;
    drawTrackMap(f.doc, fit, canvas, {});
    EXPECT_GT(canvas.surfaces, 0);
    EXPECT_EQ(canvas.markers, 4);
    ASSERT_EQ(canvas.lines.size(), 2u);
    EXPECT_EQ(canvas.lines[0].colour, (Colour{255, 0, 0}));
    EXPECT_EQ(canvas.lines[1].colour, (Colour{0, 0, 255}));
    for (int i = 0; i < 2; ++i) {
        const int drawable = drawableSamples(*f.doc.slot(i).lap);
        ASSERT_GT(drawable, 100);
        EXPECT_EQ(canvas.lines[i].moves, 1) << "only the first point sets the pen";
        EXPECT_EQ(canvas.lines[i].moves + canvas.lines[i].segments, drawable);
        EXPECT_FALSE(f.doc.slot(i).line.firstPoint);
    }
    // The line state ends on a point of the logical square.
    const auto& previous = f.doc.slot(1).line.previous;
    EXPECT_GE(previous.x, 0);
    EXPECT_LE(previous.x, movrane::MAP_LOGICAL_SIZE);

    f.doc.slot(0).shown = false;
    RecordingCanvas hidden;
    drawTrackMap(f.doc, fit, hidden, {false});
    EXPECT_EQ(hidden.markers, 0);
    ASSERT_EQ(hidden.lines.size(), 1u);
    EXPECT_EQ(hidden.lines[0].colour, (Colour{0, 0, 255}));
    EXPECT_TRUE(f.doc.slot(0).line.firstPoint) << "a hidden lap's line state is reset all the same";
}

// Strips, kerbs, markers and driven lines all lie inside the bitmap's margins, also a line
// driven wide of every strip; the map touches the margins on its larger side.
TEST(MapDrawing, FitsEverythingDrawnInsideTheMargins) {
    TwoLaps f;
    constexpr int SIZE = 768;
    constexpr long long MARGIN = 5;
    auto& lap = *f.doc.slot(1).lap;
    for (int i = 40; i < 60; ++i) lap.sample(i).lateral = 60.0;
    for (const bool markers : {true, false}) {
        const movrane::MapDrawOptions options{markers};
        const movrane::Extent drawn = movrane::drawnMapExtent(f.doc, options);
        EXPECT_GT(drawn.width(), f.doc.track()->mapExtent().width() - 1e-9);
        const movrane::MapFit fit = movrane::bitmapMapFit(drawn, SIZE);
        BoundsCanvas bounds(fit);
        drawTrackMap(f.doc, fit, bounds, options);
        EXPECT_GE(bounds.minX, MARGIN);
        EXPECT_GE(bounds.minY, MARGIN);
        EXPECT_LE(bounds.maxX, SIZE - MARGIN);
        EXPECT_LE(bounds.maxY, SIZE - MARGIN);
        EXPECT_TRUE(bounds.minX == MARGIN || bounds.minY == MARGIN) << bounds.minX << " " << bounds.minY;
    }
    const auto area = [](const movrane::Extent& e) { return e.width() * e.height(); };
    const double withWideLine = area(movrane::drawnMapExtent(f.doc, {}));
    f.doc.slot(1).shown = false;
    EXPECT_LT(area(movrane::drawnMapExtent(f.doc, {})), withWideLine) << "a hidden lap is not drawn";
}

TEST(MapDrawing, SamplesWithoutAPlaceAreLeftOutAndShortLapsDrawNothing) {
    TwoLaps f;
    movrane::GetRpyInfo& lap = *f.doc.slot(0).lap;
    const int drawable = drawableSamples(lap);
    lap.sample(10).distance = 0.0;
    lap.sample(10).lateral = 0.0;
    lap.sample(11).distance = 1e12;  // in no section
    const movrane::MapFit fit = movrane::logicalMapFit(f.doc.track()->mapExtent());
    RecordingCanvas canvas;
    movrane::MapLineState line{true, {}, Colour{1, 2, 3}};
    drawLapLine(*f.doc.track(), lap, fit, line, canvas);
    ASSERT_EQ(canvas.lines.size(), 1u);
    EXPECT_EQ(canvas.lines[0].colour, (Colour{1, 2, 3}));
    EXPECT_EQ(canvas.lines[0].moves + canvas.lines[0].segments, drawable - 2);

    std::vector<movrane::LapSample> samples(4);
    for (auto& s : samples) s.distance = 100.0;
    const auto tiny = movrane::GetRpyInfo::fromSamples(samples);
    RecordingCanvas none;
    movrane::MapLineState fresh;
    drawLapLine(*f.doc.track(), tiny, fit, fresh, none);
    EXPECT_EQ(none.lines[0].moves + none.lines[0].segments, 0);
}
