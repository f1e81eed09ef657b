#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "samplekit/SampleCircuit.h"
#include "samplekit/TrackWriter.h"

using samplekit::Circuit;
using samplekit::Leg;

namespace {

double headingOfPath(const Circuit& c, double d) {
    const samplekit::CircuitPoint a = c.pointAt(d - 0.05, 0.0);
    const samplekit::CircuitPoint b = c.pointAt(d + 0.05, 0.0);
    return std::atan2(b.y - a.y, b.x - a.x) * 180.0 / std::numbers::pi;
}

double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

}  // namespace

TEST(SampleCircuit, CourseFollowsTheCentreLine) {
    const Circuit circuit = samplekit::sampleCircuit();
    for (double d = 1.0; d < circuit.lapLength(); d += 11.0) {
        EXPECT_LT(angleBetween(circuit.headingAt(d), headingOfPath(circuit, d)), 0.2) << d;
        const samplekit::LateralLimits limits = circuit.limitsAt(d);
        EXPECT_DOUBLE_EQ(limits.right, -6.0);
        EXPECT_DOUBLE_EQ(limits.left, 6.0);
    }
    // Clockwise: a lap turns by -360 degrees; distances wrap around the lap.
    EXPECT_NEAR(circuit.headingAt(circuit.lapLength() - 1e-9), -360.0, 1e-3);
    EXPECT_NEAR(circuit.headingAt(circuit.lapLength() + 10.0), circuit.headingAt(10.0), 1e-9);
    EXPECT_DOUBLE_EQ(circuit.curvatureAt(10.0), 0.0);
    EXPECT_DOUBLE_EQ(circuit.curvatureAt(630.0), -1.0 / 70.0);
}

TEST(SampleCircuit, ClosesAsAPlaneFigure) {
    const Circuit circuit = samplekit::sampleCircuit();
    const samplekit::CircuitPoint end = circuit.pointAt(circuit.lapLength() - 1e-9, 0.0);
    EXPECT_NEAR(end.x, 0.0, 1e-6);
    EXPECT_NEAR(end.y, 0.0, 1e-6);
    EXPECT_NEAR(circuit.lapLength(), 3500.0, 100.0);
}

TEST(SampleCircuit, PlansThatCannotCloseAreRefused) {
    EXPECT_THROW(Circuit({Leg::straight(100), Leg::curve(30, 180), Leg::straight(100)}, 0.0, 0, 2),
                 std::invalid_argument);
    // Parallel closing straights cannot take up a sideways gap.
    EXPECT_THROW(Circuit({Leg::straight(100), Leg::curve(30, 180), Leg::straight(100), Leg::curve(40, 180)}, 0.0,
                         0, 2),
                 std::invalid_argument);
}

TEST(TrackWriter, ArchiveNamesHoldThirteenCharacters) {
    EXPECT_NO_THROW(samplekit::encodeArchive({{"abcdefghi.trk", {1}}}));
    EXPECT_THROW(samplekit::encodeArchive({{"abcdefghij.trk", {1}}}), std::invalid_argument);
}

TEST(TrackWriter, AngleWords) {
    EXPECT_EQ(samplekit::headingWord(0.0), 0u);
    EXPECT_EQ(samplekit::headingWord(std::numbers::pi), 0x80000000u);
    EXPECT_EQ(samplekit::headingWord(-std::numbers::pi / 2), 0xC0000000u);
    EXPECT_EQ(samplekit::turnWord(-std::numbers::pi / 2), -0x20000000);
    EXPECT_EQ(samplekit::trackUnits(1.0), 19685);
}
