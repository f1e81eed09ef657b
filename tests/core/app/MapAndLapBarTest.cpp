#include <gtest/gtest.h>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/LapBar.h"
#include "core/app/MapDrawing.h"
#include "core/app/MapView.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "core/track/Track.h"
#include "support/DocumentFixture.h"

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

// The sample installation with a lap of the hot-lap replay in slot 1 and a race lap in slot 2.
struct TwoLaps : testsupport::DocumentFixture {
    TwoLaps() {
        writeSampleInstallation();
        load(replay("sample_hotlap.rpy"), movrane::PRACTICE, 0, 2);
        load(replay("sample_race.rpy"), movrane::RACE, 1, 4);
    }
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
    const auto empty = bar.box(2);
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
    const movrane::MapFit fit = movrane::logicalMapFit(*f.doc.track());
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

TEST(MapDrawing, SamplesWithoutAPlaceAreLeftOutAndShortLapsDrawNothing) {
    TwoLaps f;
    movrane::GetRpyInfo& lap = *f.doc.slot(0).lap;
    const int drawable = drawableSamples(lap);
    lap.sample(10).distance = 0.0;
    lap.sample(10).lateral = 0.0;
    lap.sample(11).distance = 1e12;  // in no section
    const movrane::MapFit fit = movrane::logicalMapFit(*f.doc.track());
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
