#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "TrackTestSupport.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapDerivation.h"
#include "core/track/Track.h"
#include "core/track/TrackProjection.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

namespace {

// The direction of the track's centre line at a lap distance, in degrees.
double centreLineHeading(const movrane::Track& track, double d) {
    const auto a = track.samplePosition(d - 0.5, 0.0);
    const auto b = track.samplePosition(d + 0.5, 0.0);
    return std::atan2(b->y - a->y, b->x - a->x) * 180.0 / 3.141592653589793;
}

double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

}  // namespace

// A car simulated on the sample circuit, read back and placed on the track read from
// the circuit's own track file: the two views of the geometry must agree.
TEST(LapOnTrack, SimulatedLapStaysOnTheTarmacAndKeepsItsSpeed) {
    testsupport::TempDir dir;
    const auto circuit = std::make_shared<const samplekit::Circuit>(samplekit::sampleCircuit());
    const auto track = tracktest::loadCircuit(*circuit);

    samplekit::SimulationSpec simulation;
    simulation.seed = 3;
    simulation.course = circuit;
    simulation.lapLength = circuit->lapLength();
    simulation.drivers = samplekit::sampleDrivers(1, 0);
    samplekit::SessionSpec session;
    session.laps = 2;
    simulation.sessions.push_back(session);
    const std::string replay = dir.file("lap.rpy");
    samplekit::writeSimulatedReplay(replay, simulation, samplekit::sampleHeader(true));

    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(replay), 0);
    movrane::GetRpyInfo lap;
    ASSERT_EQ(lap.load(drivers, 0, 2, movrane::PRACTICE), movrane::GetRpyInfo::OK);
    lap.trim(1);
    movrane::deriveLapQuantities(lap, movrane::TrackProjection(*track));

    std::vector<double> speedRatios;
    int headingsOff = 0;
    for (int k = 10; k < lap.sampleCount() - 2; ++k) {
        const movrane::LapSample& s = lap.sample(k);
        ASSERT_TRUE(track->samplePosition(s.distance, s.lateral).has_value()) << k;
        EXPECT_LE(std::fabs(s.lateral), 6.5) << k;
        // The speed along the lap distance against the speed over the map.
        const double alongLap = (s.distance - lap.sample(k - 1).distance) * 36 * 3.6;
        if (alongLap > 30.0) speedRatios.push_back(s.speed / alongLap);
        // The car points along the track, give or take its line and slip.
        if (angleBetween(s.heading, centreLineHeading(*track, s.distance)) > 10.0) ++headingsOff;
    }
    EXPECT_LT(headingsOff, lap.sampleCount() / 50);
    ASSERT_GT(speedRatios.size(), 1000u);
    std::sort(speedRatios.begin(), speedRatios.end());
    EXPECT_NEAR(speedRatios[speedRatios.size() / 2], 1.0, 0.03);
    EXPECT_GT(speedRatios[speedRatios.size() / 20], 0.85);
    EXPECT_LT(speedRatios[speedRatios.size() * 19 / 20], 1.15);
}
