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
        track = tracktest::loadCircuit(tracktest::roundedSquare());
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

// Ranges by section ends of the rounded square (sections 0..7) and what each marks.
TEST_F(HighlightTest, RangesMarkTheSectionsTheyTouch) {
    const double s1 = track->sectionAt(1).lapStart(), s3 = track->sectionAt(3).lapStart();
    struct Case {
        double from, to;
        const char* flags;
        std::size_t firstSection;
        double highlightFrom;
        std::size_t lastSection;
        double highlightTo;
    };
    const Case cases[] = {
        {s1 + 10.0, s3 + 5.0, ".SWE....", 1, s1 + 10.0, 3, s3 + 5.0},
        {20.0, 30.0, "B.......", 0, 20.0, 0, 30.0},
        {-5.0, 10.0, "B.......", 0, 0.0, 0, 10.0},          // before the start: from section 0's start
        {lap - 10.0, lap + 5.0, ".......B", 7, lap - 10.0, 7, lap},  // past the finish: to the lap's end
    };
    for (const Case& c : cases) {
        track->setHighlight(c.from, c.to);
        EXPECT_EQ(flags(), c.flags) << c.from;
        EXPECT_EQ(track->highlightFirst(), static_cast<int>(c.firstSection)) << c.from;
        EXPECT_EQ(track->highlightLast(), static_cast<int>(c.lastSection)) << c.from;
        EXPECT_DOUBLE_EQ(track->sectionAt(c.firstSection).highlightFrom(), c.highlightFrom) << c.from;
        EXPECT_DOUBLE_EQ(track->sectionAt(c.lastSection).highlightTo(), c.highlightTo) << c.from;
    }
    track->highlightAround(50.0, 1.0);
    EXPECT_EQ(flags(), "B.......");
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightFrom(), 50.0 - 0.01 * lap);
    EXPECT_DOUBLE_EQ(track->sectionAt(0).highlightTo(), 50.0 + 0.01 * lap);
    track->clearHighlight();
    EXPECT_EQ(flags(), "........");
    // A range outside the lap only clears.
    for (const auto& [from, to] : {std::pair{lap + 1.0, lap + 2.0}, std::pair{-20.0, -10.0}}) {
        track->setHighlight(10.0, 200.0);
        ASSERT_NE(flags(), "........");
        track->setHighlight(from, to);
        EXPECT_EQ(flags(), "........") << from;
    }
    // Errors leave nothing highlighted, and later calls work.
    track->setHighlight(10.0, 200.0);
    EXPECT_EQ(failureOf(lap, lap + 5.0), "ERROR! first == -1 || last == -1");
    EXPECT_EQ(flags(), "........");
    EXPECT_EQ(failureOf(300.0, 100.0), "ERROR! last < first");
    EXPECT_EQ(flags(), "........");
    track->setHighlight(10.0, 20.0);
    EXPECT_EQ(flags(), "B.......");
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
    const auto distance = [](movrane::MetrePoint a, movrane::MetrePoint b) { return std::hypot(a.x - b.x, a.y - b.y); };
    EXPECT_LT(distance(partCurve.front(), track->sectionAt(1).pointAt(10.0, 0.0)), 1e-9);
    EXPECT_LT(distance(partCurve.back(), track->sectionAt(1).centreLine().back()), 1e-6);
    for (const movrane::MetrePoint& p : partCurve) EXPECT_NEAR(std::hypot(p.x - 100.0, p.y - 30.0), 30.0, 1e-3);
    EXPECT_EQ(display.highlighted[1].size(), track->sectionAt(2).centreLine().size());
    const movrane::Polyline& partStraight = display.highlighted[2];
    ASSERT_EQ(partStraight.size(), 2u);
    EXPECT_NEAR(partStraight.back().y, track->sectionAt(3).pointAt(5.0, 0.0).y, 1e-9);
    EXPECT_EQ(display.markers.size(), 4u);
    EXPECT_EQ(display.penMoves, 0);
    // Surfaces and markers of the sample circuit reach the sink.
    const auto sample = tracktest::loadCircuit(samplekit::sampleCircuit());
    RecordingDisplay sampleDisplay;
    movrane::drawTrack(*sample, sampleDisplay);
    std::size_t sampleStrips = 0;
    for (std::size_t k = 0; k < sample->numberOfSections(); ++k) sampleStrips += sample->sectionAt(k).surfaceStrips().size();
    EXPECT_EQ(sampleDisplay.surfaceKinds.size(), sampleStrips);
    EXPECT_EQ(sampleDisplay.normal.size(), sample->numberOfSections());
    EXPECT_TRUE(sampleDisplay.highlighted.empty());
    const std::vector<double> sampleQuarters{0.0, 0.25 * sample->lapLength(), 0.5 * sample->lapLength(),
                                       0.75 * sample->lapLength()};
    EXPECT_EQ(sampleDisplay.markers, sampleQuarters);
    // The surface colours of the map.
    const std::pair<int, int> numbers[] = {{1, 7}, {2, 8}, {3, 14}, {4, 9}, {5, 12}, {6, 10},
                                           {7, 6}, {2048, 13}, {9, 15}, {2049, 15}};
    for (const auto& [kind, number] : numbers) EXPECT_EQ(movrane::colourNumberOfSurface(kind), number) << kind;
    const std::pair<int, std::vector<int>> colours[] = {{9, {50, 128, 50}}, {11, {255, 0, 255}}, {16, {255, 0, 0}}};
    for (const auto& [number, rgb] : colours) {
        const movrane::Rgb c = movrane::defaultColour(number);
        EXPECT_EQ((std::vector<int>{c.red, c.green, c.blue}), rgb) << number;
    }
}

