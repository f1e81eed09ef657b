#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "TrackTestSupport.h"
#include "core/track/Curve.h"
#include "core/track/MOVRNException.h"
#include "core/track/Track.h"
#include "support/TempDir.h"

using movrane::MetrePoint;
using movrane::MOVRNException;
using movrane::Track;
using samplekit::Circuit;
using samplekit::Leg;
using tracktest::loadCircuit;

namespace {

constexpr double MM = 0.001;

void expectNear(MetrePoint actual, samplekit::CircuitPoint expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectNear(MetrePoint actual, MetrePoint expected, double tolerance) {
    expectNear(actual, samplekit::CircuitPoint{expected.x, expected.y}, tolerance);
}

// Every section ends, by its own geometry, where the next one begins.
void expectClosedChain(const Track& track) {
    for (std::size_t k = 0; k < track.numberOfSections(); ++k) {
        const movrane::Section& s = track.sectionAt(k);
        const MetrePoint end = s.pointAt(s.geometricLength(), 0.0);
        const MetrePoint next = track.sectionAt((k + 1) % track.numberOfSections()).startPoint();
        SCOPED_TRACE("section " + std::to_string(k));
        expectNear(end, next, 5 * MM);
        expectNear(s.centreLine().back(), next, 5 * MM);
    }
}

}  // namespace

TEST(TrackGeometry, GeneratedCircuitsClose) {
    const Circuit sample = samplekit::sampleCircuit();
    const auto track = loadCircuit(sample);
    expectClosedChain(*track);
    EXPECT_NEAR(track->lapLength(), sample.lapLength(), 1 * MM);
    EXPECT_NEAR(track->lapLength(), 3500.0, 100.0);
    const auto square = loadCircuit(tracktest::roundedSquare());
    expectClosedChain(*square);
    EXPECT_NEAR(square->lapLength(), 2 * 100 + 2 * 80 + 2 * std::numbers::pi * 30, 1 * MM);
    // Lap distances follow the chain.
    double expectedStart = 0.0;
    for (std::size_t k = 0; k < track->numberOfSections(); ++k) {
        const movrane::Section& s = track->sectionAt(k);
        EXPECT_DOUBLE_EQ(s.lapStart(), expectedStart);
        EXPECT_DOUBLE_EQ(s.lapEnd(), s.lapStart() + s.geometricLength());
        EXPECT_NEAR(s.statedStart(), s.lapStart(), 1 * MM);
        expectedStart = s.lapEnd();
    }
    EXPECT_DOUBLE_EQ(expectedStart, track->lapLength());
    // Sample positions agree with the circuit.
    for (double d = 0.0; d < sample.lapLength(); d += 7.3) {
        for (double lateral : {-5.0, 0.0, 4.5}) {
            const auto point = track->samplePosition(d, lateral);
            ASSERT_TRUE(point.has_value()) << d;
            expectNear(*point, sample.pointAt(d, lateral), 5 * MM);
        }
    }
}

TEST(TrackGeometry, SectionsPositionsAndExtentsOfTheRoundedSquare) {
    const auto track = loadCircuit(tracktest::roundedSquare());
    const double lap = track->lapLength();
    for (const auto& [d, section] :
         {std::pair{0.0, 0}, {-1.0, 0}, {lap, -1}, {lap + 1.0, -1}, {std::nextafter(lap, 0.0), 7}})
        EXPECT_EQ(track->findSection(d), section) << d;
    for (int k = 0; k + 1 < 8; ++k) {
        const double end = track->sectionAt(static_cast<std::size_t>(k)).lapEnd();
        EXPECT_EQ(track->findSection(end), k + 1);
        EXPECT_EQ(track->findSection(std::nextafter(end, 0.0)), k);
    }
    // A sample position takes off one lap.
    const auto wrapped = track->samplePosition(lap + 3.0, 1.5);
    const auto direct = track->samplePosition(3.0, 1.5);
    ASSERT_TRUE(wrapped && direct);
    expectNear(*wrapped, *direct, 1e-9);
    // Straight 0 runs along +x from the origin; positive offsets lie to the left (+y).
    expectNear(*direct, MetrePoint{3.0, 1.5}, MM);
    EXPECT_FALSE(track->samplePosition(2 * lap + 1.0, 0.0).has_value());
    EXPECT_FALSE(track->samplePosition(std::nan(""), 0.0).has_value());
    // sectionAt rejects an index beyond the list.
    EXPECT_NO_THROW(track->sectionAt(7));
    try {
        track->sectionAt(8);
        FAIL();
    } catch (const MOVRNException& e) {
        EXPECT_EQ(e.message(), "sectionIndex >= _sectionList.size()");
    }
    // The extents cover the drawing.
    const movrane::Extent& centre = track->centreLineExtent();
    EXPECT_NEAR(centre.minX(), -30.0, MM);
    EXPECT_NEAR(centre.maxX(), 130.0, MM);
    EXPECT_NEAR(centre.minY(), 0.0, MM);
    EXPECT_NEAR(centre.maxY(), 140.0, MM);
    const movrane::Extent& strips = track->stripExtent();
    EXPECT_LT(strips.minX(), centre.minX() - 10.0);
    EXPECT_GT(strips.maxY(), centre.maxY() + 10.0);
    EXPECT_EQ(&track->mapExtent(), &strips);
}

TEST(TrackGeometry, ShortCurveGetsOneSegment) {
    // The last corner ends in a 1.7 m curve of 10 degrees.
    const Circuit circuit({Leg::straight(100), Leg::curve(30, 90), Leg::straight(80), Leg::curve(30, 90),
                           Leg::straight(100), Leg::curve(30, 90), Leg::straight(80), Leg::curve(30, 80),
                           Leg::curve(10, 10)},
                          0.0, 0, 2);
    const auto track = loadCircuit(circuit);
    const movrane::Section& shortCurve = track->sectionAt(8);
    ASSERT_LT(shortCurve.geometricLength(), 2.5);
    ASSERT_EQ(shortCurve.centreLine().size(), 2u);
    EXPECT_NEAR(shortCurve.centreLine().front().x, shortCurve.startPoint().x, 1e-9);
    EXPECT_NEAR(shortCurve.centreLine().back().x, track->sectionAt(0).startPoint().x, 5 * MM);
    for (const auto& strip : shortCurve.surfaceStrips()) EXPECT_EQ(strip.polygon.size(), 4u);
    // A 30 m quarter circle of 47 m gets about one segment every 5 m.
    EXPECT_EQ(track->sectionAt(1).centreLine().size(), 10u);
    expectClosedChain(*track);
}

TEST(TrackGeometry, CurvesBordersAndMarkersOfTheSampleCircuit) {
    const auto track = loadCircuit(samplekit::sampleCircuit());
    const auto& right = dynamic_cast<const movrane::Curve&>(track->sectionAt(1));
    EXPECT_NEAR(right.radius(), -70.0, MM);
    EXPECT_LT(right.turnAngle(), 0.0);
    const auto& left = dynamic_cast<const movrane::Curve&>(track->sectionAt(3));
    EXPECT_NEAR(left.radius(), 45.0, MM);
    EXPECT_NEAR(left.geometricLength(), 45.0 * 40.0 * std::numbers::pi / 180.0, MM);
    // Border points run over the stated length.
    const movrane::Section& curve = track->sectionAt(1);
    const movrane::Border& tarmacEdge = curve.borders()[2];
    expectNear(curve.borderPointAt(0.0, tarmacEdge), curve.pointAt(0.0, tarmacEdge.startOffset), MM);
    expectNear(curve.borderPointAt(curve.statedLength(), tarmacEdge),
               curve.pointAt(curve.geometricLength(), tarmacEdge.endOffset), 5 * MM);
    // Distance markers cross the track at each quarter.
    const auto& markers = track->distanceMarkers();
    for (std::size_t q = 0; q < 4; ++q) {
        const double d = 0.25 * static_cast<double>(q) * track->lapLength();
        EXPECT_DOUBLE_EQ(markers[q].lapDistance, d);
        const movrane::Section& s = track->sectionAt(static_cast<std::size_t>(track->findSection(d)));
        const double along = d - s.statedStart();
        const MetrePoint from = s.borderPointAt(along, s.borders().back());
        const MetrePoint to = s.borderPointAt(along, s.borders().front());
        EXPECT_NEAR(markers[q].from.x, from.x, 1e-9);
        EXPECT_NEAR(markers[q].to.y, to.y, 1e-9);
        const double width = std::hypot(from.x - to.x, from.y - to.y);
        EXPECT_GT(width, 25.0);
        EXPECT_LT(width, 45.0);
    }
}

TEST(TrackGeometry, TracesLeftOfTheCentreLinePlaceItCorrectly) {
    // Trace 0 at a positive offset, and a single trace: the centre line must not move.
    for (const std::vector<double>& offsets : {std::vector<double>{2.0, 5.0}, std::vector<double>{3.0}}) {
        Circuit circuit = tracktest::roundedSquare();
        circuit.setTraceOffsets(offsets);
        const auto track = loadCircuit(circuit);
        expectClosedChain(*track);
        EXPECT_NEAR(track->lapLength(), circuit.lapLength(), MM);
        expectNear(track->sectionAt(0).startPoint(), MetrePoint{0.0, 0.0}, MM);
        expectNear(track->sectionAt(2).startPoint(), circuit.pointAt(track->sectionAt(2).lapStart(), 0.0), MM);
    }
    // A track without borders is fitted by its centre line.
    samplekit::TrackFileContents borderless = tracktest::roundedSquare().trackFile();
    for (auto& section : borderless.sections) section.borders.clear();
    const auto bare = loadCircuit(borderless);
    EXPECT_TRUE(bare->stripExtent().empty());
    EXPECT_EQ(&bare->mapExtent(), &bare->centreLineExtent());
    // Markers then run across the outer traces.
    const auto& marker = bare->distanceMarkers()[0];
    EXPECT_NEAR(marker.from.y, 7.0, MM);
    EXPECT_NEAR(marker.to.y, -7.0, MM);
}

TEST(TrackGeometry, SurfacesAndStrips) {
    EXPECT_EQ(movrane::surfaceKindFromFlags(0x800), movrane::SURFACE_WALL);
    EXPECT_EQ(movrane::surfaceKindFromFlags(0x801), movrane::SURFACE_WALL);
    EXPECT_EQ(movrane::surfaceKindFromFlags(0x104), 4);
    EXPECT_EQ(movrane::surfaceKindFromFlags(10), 10);
    for (uint32_t none : {0u, 8u, 11u, 15u}) EXPECT_EQ(movrane::surfaceKindFromFlags(none), movrane::SURFACE_OTHER);
    EXPECT_EQ(movrane::stripKind(10), movrane::SURFACE_OTHER);
    EXPECT_EQ(movrane::stripKind(9), 9);

    const auto track = loadCircuit(samplekit::sampleCircuit());
    const movrane::Section& straight = track->sectionAt(2);
    ASSERT_EQ(straight.borders().size(), 6u);
    ASSERT_EQ(straight.surfaceStrips().size(), 5u);
    // Strips take the kind of their right-hand border: trees, grass, tarmac, grass, run-off.
    const int kinds[] = {7, 4, 1, 4, 2};
    for (std::size_t j = 0; j < 5; ++j) EXPECT_EQ(straight.surfaceStrips()[j].surfaceKind, kinds[j]);
    const movrane::Polyline& tarmac = straight.surfaceStrips()[2].polygon;
    ASSERT_EQ(tarmac.size(), 4u);
    const MetrePoint a = straight.startPoint();
    // Straight 2 heads along -y: its right-hand side is -x.
    EXPECT_NEAR(tarmac[0].x, a.x - 6.0, MM);
    EXPECT_NEAR(tarmac[3].x, a.x + 6.0, MM);
    EXPECT_EQ(track->sectionAt(1).surfaceStrips().back().surfaceKind, movrane::SURFACE_WALL);
}

