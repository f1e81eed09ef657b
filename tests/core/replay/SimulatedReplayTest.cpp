// Simulated sessions read back through the replay readers: what the driving produced must
// be what the driver table and the lap extraction find.
#include <gtest/gtest.h>

#include <cmath>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

using namespace movrane;
namespace sk = samplekit;

namespace {

const std::vector<uint32_t> SLOTS = {7, 2, 0, 11, 4, 9};

sk::SimulationSpec raceWeekend(int practiceLaps, int raceLaps) {
    sk::SimulationSpec plan = sk::sampleRaceSpec(6, practiceLaps, raceLaps, 5);
    plan.lapLength = 1800;
    plan.player = 2;
    plan.drivers = sk::sampleDrivers(6, 2);
    for (std::size_t i = 0; i < SLOTS.size(); ++i) plan.drivers[i].slot = SLOTS[i];
    return plan;
}

const sk::CarResult& carOf(const sk::SessionResult& s, int driver) {
    for (const auto& c : s.cars)
        if (c.driver == driver) return c;
    throw std::logic_error("driver not in session");
}

}  // namespace

TEST(SimulatedReplay, PracticeAndRaceRoundTripThroughTheDriverTable) {
    sk::SimulationSpec plan = raceWeekend(2, 4);
    plan.sessions[0].marks = {{1, 2, sk::FLAG_INVALID}, {3, 1, sk::FLAG_OFF_TRACK}};
    plan.sessions[1].retirements = {{4, 3, 0.5, 16}};
    testsupport::TempDir dir;
    const auto path = dir.file("weekend.rpy");
    const sk::SimulationResult result = sk::writeSimulatedReplay(path, plan, sk::sampleHeader(false));

    Header header;
    ASSERT_EQ(header.load(path), Header::OK);
    EXPECT_EQ(header.trackName(), "harbour");
    EXPECT_EQ(header.scheduledLaps(), 4);
    EXPECT_EQ(header.recordedFrames(), result.frames);
    EXPECT_EQ(header.playerName2(), plan.drivers[2].name2);

    Drivers d;
    ASSERT_EQ(d.load(path), Drivers::OK) << d.failureText();
    ASSERT_EQ(d.count(), 6u);
    EXPECT_EQ(d.playerIndex(), 2u);
    EXPECT_FALSE(d.playerMismatch());
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d.driver(i).name1, plan.drivers[i].name1);
        EXPECT_EQ(d.driver(i).name2, plan.drivers[i].name2);
        EXPECT_EQ(d.driver(i).slot, SLOTS[i]);
        EXPECT_EQ(d.driver(i).ai, plan.drivers[i].ai);
    }
    EXPECT_TRUE(d.practicePresent());
    EXPECT_TRUE(d.racePresent());
    EXPECT_EQ(d.practiceStart(), 30000u);
    EXPECT_EQ(d.practiceEnd(), 0xFFFFFFFFu);  // the file ends in the race
    EXPECT_EQ(d.raceStart(), 0u);  // the first time stamp of the file is the practice's
    EXPECT_EQ(d.raceSessionId(), 1);
    const auto& race = result.sessions[1];
    EXPECT_EQ(d.raceEnd(), 1000u + (race.frameCount - 1) / 36 * 1000);
    EXPECT_EQ(d.lastFrameCounter(), result.lastFrameCounter);

    for (int s = 0; s < 2; ++s) {
        const Session session = s == 0 ? PRACTICE : RACE;
        for (uint32_t i = 0; i < 6; ++i) {
            const sk::CarResult& car = carOf(result.sessions[static_cast<std::size_t>(s)], static_cast<int>(i));
            const int laps = static_cast<int>(car.crossings.size()) - 1;
            ASSERT_EQ(d.lapCount(i, session), laps) << "driver " << i << " session " << s;
            EXPECT_EQ(d.lapTime(i, session, 0), static_cast<uint32_t>(std::llround(car.crossings[0])));
            for (int lap = 1; lap <= laps; ++lap) {
                const double ms = car.crossings[static_cast<std::size_t>(lap)] - car.crossings[static_cast<std::size_t>(lap - 1)];
                EXPECT_NEAR(d.lapTime(i, session, lap), ms, 1.0);
                const bool invalid = (car.flags[static_cast<std::size_t>(lap - 1)] & sk::FLAG_INVALID) != 0;
                EXPECT_EQ(d.lapValid(i, session, lap), !invalid) << "driver " << i << " lap " << lap;
            }
        }
    }
    EXPECT_EQ(d.lapCount(4, RACE), 2);  // retired during lap 3
    EXPECT_FALSE(d.lapValid(1, PRACTICE, 2));
    EXPECT_NE(d.lapWord(3, PRACTICE, 1) & LAP_FLAG_OFF_TRACK, 0u);
}
