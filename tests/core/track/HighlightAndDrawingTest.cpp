#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TrackTestSupport.h"
#include "core/track/CoreDisplay.h"
#include "core/track/MOVRNException.h"
#include "core/track/SurfaceColours.h"
#include "core/track/Track.h"
#include "support/TempDir.h"

using movrane::MOVRNException;
using movrane::Track;

namespace {

class HighlightTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::TempDir dir;
        track = Track::load(tracktest::writeBytes(dir.file("square.trk"), tracktest::roundedSquareBytes()).string());
        lap = track->lapLength();
    }

    // Per section: 'W' whole, 'S' starts inside, 'E' ends inside, 'B' both, '.' none.
    std::string flags() const {
        std::string text;
        for (std::size_t k = 0; k < track->numberOfSections(); ++k) {
            const movrane::Section& s = track->sectionAt(k);
            const bool starts = s.highlightStartsInside();
            const bool ends = s.highlightEndsInside();
            text += starts && ends ? 'B' : starts ? 'S' : ends ? 'E' : s.highlighted() ? 'W' : '.';
        }
        return text;
    }

    std::string failureOf(double from, double to) {
        try {
            track->setHighlight(from, to);
        } catch (const MOVRNException& e) {
            return e.message();
        }
        return "none";
    }

    std::unique_ptr<Track> track;
    double lap = 0.0;
};

// Records what a track hands to its drawing sink.
class RecordingDisplay : public movrane::CoreDisplay {
public:
    void drawSurface(int kind, const movrane::Polyline& polygon) override {
        surfaceKinds.push_back(kind);
        surfacePoints += polygon.size();
    }
    void drawCentreLine(const movrane::Polyline& line) override { normal.push_back(line); }
    void drawHighlightedCentreLine(const movrane::Polyline& line) override { highlighted.push_back(line); }
    void moveTo(movrane::MetrePoint) override { ++penMoves; }
    void lineTo(movrane::MetrePoint) override { ++penMoves; }
    void drawDistanceMarker(const movrane::DistanceMarker& marker) override { markers.push_back(marker.lapDistance); }

    std::vector<int> surfaceKinds;
    std::size_t surfacePoints = 0;
    std::vector<movrane::Polyline> normal;
    std::vector<movrane::Polyline> highlighted;
    std::vector<double> markers;
    int penMoves = 0;
};

}  // namespace

TEST_F(HighlightTest, RangeInsideTheLap) {
    const double from = track->sectionAt(1).lapStart() + 10.0;
    const double to = track->sectionAt(3).lapStart() + 5.0;
    track->setHighlight(from, to);
    EXPECT_EQ(flags(), ".SWE....");
    EXPECT_EQ(track->highlightFirst(), 1);
    EXPECT_EQ(track->highlightLast(), 3);
    EXPECT_DOUBLE_EQ(track->sectionAt(1).highlightFrom(), from);
    EXPECT_DOUBLE_EQ(track->sectionAt(3).highlightTo(), to);
}

TEST_F(HighlightTest, RangeInsideOneSection) {
    track->setHighlight(20.0, 30.0);
    EXPECT_EQ(flags(), "B.......");
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightFrom(), 20.0);
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightTo(), 30.0);
}

TEST_F(HighlightTest, RangeBeforeTheStartBeginsAtSectionZero) {
    track->setHighlight(-5.0, 10.0);
    EXPECT_EQ(flags(), "B.......");
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightFrom(), 0.0);
}

TEST_F(HighlightTest, RangePastTheFinishRunsToTheLastSection) {
    track->setHighlight(lap - 10.0, lap + 5.0);
    EXPECT_EQ(flags(), ".......B");
    EXPECT_DOUBLE_EQ(track->sectionAt(7).highlightTo(), lap);
}

TEST_F(HighlightTest, RangeOutsideTheLapOnlyClears) {
    track->setHighlight(10.0, 200.0);
    ASSERT_NE(flags(), "........");
    track->setHighlight(lap + 1.0, lap + 2.0);
    EXPECT_EQ(flags(), "........");
    track->setHighlight(10.0, 200.0);
    track->setHighlight(-20.0, -10.0);
    EXPECT_EQ(flags(), "........");
}

TEST_F(HighlightTest, ErrorsLeaveNothingHighlightedAndLaterCallsWork) {
    track->setHighlight(10.0, 200.0);
    EXPECT_EQ(failureOf(lap, lap + 5.0), "ERROR! first == -1 || last == -1");
    EXPECT_EQ(flags(), "........");
    EXPECT_EQ(failureOf(300.0, 100.0), "ERROR! last < first");
    EXPECT_EQ(flags(), "........");
    track->setHighlight(10.0, 20.0);
    EXPECT_EQ(flags(), "B.......");
}

TEST_F(HighlightTest, AroundADistance) {
    track->highlightAround(50.0, 1.0);
    EXPECT_EQ(flags(), "B.......");
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightFrom(), 50.0 - 0.01 * lap);
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightTo(), 50.0 + 0.01 * lap);
    track->clearHighlight();
    EXPECT_EQ(flags(), "........");
}

TEST_F(HighlightTest, DrawingFollowsTheHighlight) {
    track->setHighlight(track->sectionAt(1).lapStart() + 10.0, track->sectionAt(3).lapStart() + 5.0);
    RecordingDisplay display;
    movrane::drawTrack(*track, display);
    // Every section's centre line is drawn normally once; the highlighted stretch over it.
    EXPECT_EQ(display.normal.size(), 7u);
    ASSERT_EQ(display.highlighted.size(), 3u);
    const movrane::Polyline& partCurve = display.highlighted[0];
    // From 10 m into the 47 m curve to its end, on the centre line's 5.2 m spacing.
    EXPECT_EQ(partCurve.size(), 9u);
    const movrane::MetrePoint expectedStart = track->sectionAt(1).pointAt(10.0, 0.0);
    EXPECT_NEAR(partCurve.front().x, expectedStart.x, 1e-9);
    EXPECT_NEAR(partCurve.front().y, expectedStart.y, 1e-9);
    EXPECT_NEAR(partCurve.back().x, track->sectionAt(1).centreLine().back().x, 1e-6);
    EXPECT_NEAR(partCurve.back().y, track->sectionAt(1).centreLine().back().y, 1e-6);
    for (const movrane::MetrePoint& p : partCurve) EXPECT_NEAR(std::hypot(p.x - 100.0, p.y - 30.0), 30.0, 1e-3);
    EXPECT_EQ(display.highlighted[1].size(), track->sectionAt(2).centreLine().size());
    const movrane::Polyline& partStraight = display.highlighted[2];
    ASSERT_EQ(partStraight.size(), 2u);
    EXPECT_NEAR(partStraight.back().y, track->sectionAt(3).pointAt(5.0, 0.0).y, 1e-9);
    EXPECT_EQ(display.markers.size(), 4u);
    EXPECT_EQ(display.penMoves, 0);
}

TEST(TrackDrawing, SurfacesAndMarkersReachTheSink) {
    testsupport::TempDir dir;
    const auto track = Track::load(
        tracktest::writeBytes(dir.file("ring.trk"), samplekit::encodeTrack(samplekit::sampleCircuit().trackFile()))
            .string());
    RecordingDisplay display;
    movrane::drawTrack(*track, display);
    std::size_t strips = 0;
    for (std::size_t k = 0; k < track->numberOfSections(); ++k) strips += track->sectionAt(k).surfaceStrips().size();
    EXPECT_EQ(display.surfaceKinds.size(), strips);
    EXPECT_EQ(display.normal.size(), track->numberOfSections());
    EXPECT_TRUE(display.highlighted.empty());
    const std::vector<double> quarters{0.0, 0.25 * track->lapLength(), 0.5 * track->lapLength(),
                                       0.75 * track->lapLength()};
    EXPECT_EQ(display.markers, quarters);
}

TEST(SurfaceColours, TableOfTheMap) {
    const std::pair<int, int> numbers[] = {{1, 7}, {2, 8}, {3, 14}, {4, 9}, {5, 12}, {6, 10},
                                           {7, 6}, {2048, 13}, {9, 15}, {2049, 15}};
    for (const auto& [kind, number] : numbers) EXPECT_EQ(movrane::colourNumberOfSurface(kind), number) << kind;
    const movrane::Rgb grass = movrane::defaultColour(9);
    EXPECT_EQ((std::vector<int>{grass.red, grass.green, grass.blue}), (std::vector<int>{50, 128, 50}));
    const movrane::Rgb other = movrane::defaultColour(11);
    EXPECT_EQ((std::vector<int>{other.red, other.green, other.blue}), (std::vector<int>{255, 0, 255}));
    const movrane::Rgb outside = movrane::defaultColour(16);
    EXPECT_EQ((std::vector<int>{outside.red, outside.green, outside.blue}), (std::vector<int>{255, 0, 0}));
}
