// Replays written by samplekit, read with the program's own readers: what the simulated
// driving produced must follow the rules the readers rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/replay/BufferedFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "samplekit/SampleData.h"
#include "samplekit/SampleInstallation.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

using namespace movrane;
namespace sk = samplekit;

namespace {

sk::SimulationSpec fourDrivers(int practiceLaps, int raceLaps) {
    sk::SimulationSpec plan = sk::sampleRaceSpec(4, practiceLaps, raceLaps, 11);
    plan.lapLength = 1500;
    plan.player = 2;
    plan.drivers = sk::sampleDrivers(4, 2);
    return plan;
}

struct Stamp {
    int frame = 0;
    uint32_t session = 0;
    uint32_t ms = 0;
};

// Walks the whole stream; returns its time stamps and the walk's final status.
WalkStatus walkStamps(const Drivers& drivers, std::vector<Stamp>& stamps, int& frames) {
    BufferedFile file;
    EXPECT_TRUE(file.open(drivers.fileName()));
    FrameWalker walker(file, drivers.streamOffset());
    frames = 0;
    while (walker.nextFrame()) {
        while (walker.nextItem()) {
            uint32_t word = 0;
            if (walker.item().type == ITEM_TIME_STAMP && walker.readPayloadU32(0, word))
                stamps.push_back({frames, word & 0xFF, (word >> 8) * 10});
        }
        if (walker.failed()) break;
        ++frames;
    }
    return walker.status();
}

}  // namespace

TEST(GeneratedReplays, StreamWalksToItsEndWithAStampEverySecondOfEachSession) {
    testsupport::TempDir dir;
    const auto result = sk::writeSimulatedReplay(dir.file("r.rpy"), fourDrivers(2, 3), sk::sampleHeader(false));
    Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), Drivers::OK) << drivers.failureText();
    std::vector<Stamp> stamps;
    int frames = 0;
    EXPECT_EQ(walkStamps(drivers, stamps, frames), WalkStatus::End);
    EXPECT_EQ(static_cast<uint32_t>(frames), result.frames);
    ASSERT_GT(stamps.size(), 10u);
    EXPECT_EQ(stamps.front().frame, 0);
    EXPECT_EQ(stamps.front().ms, 30000u);
    int sessionChanges = 0;
    for (std::size_t i = 1; i < stamps.size(); ++i) {
        if (stamps[i].session != stamps[i - 1].session) {
            ++sessionChanges;
            EXPECT_EQ(stamps[i].session, 1u);
            EXPECT_EQ(stamps[i].ms, 1000u);
            EXPECT_EQ(static_cast<uint32_t>(stamps[i].frame), result.sessions[1].firstFrame);
            continue;
        }
        EXPECT_EQ(stamps[i].frame - stamps[i - 1].frame, 36);
        EXPECT_EQ(stamps[i].ms - stamps[i - 1].ms, 1000u);
    }
    EXPECT_EQ(sessionChanges, 1);
}

TEST(GeneratedReplays, MarkedLapsCarryTheirFlagsAndAnOffTrackLapLeavesTheTrack) {
    sk::SimulationSpec plan = fourDrivers(3, 0);
    plan.sessions[0].marks = {{2, 1, sk::FLAG_OFF_TRACK}, {0, 2, sk::FLAG_INVALID},
                              {1, 3, sk::FLAG_INVALID | sk::FLAG_OFF_TRACK}};
    testsupport::TempDir dir;
    sk::writeSimulatedReplay(dir.file("r.rpy"), plan, sk::sampleHeader(true));
    Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), Drivers::OK);
    const std::vector<std::vector<uint32_t>> flags = {
        {0, sk::FLAG_INVALID, 0}, {0, 0, sk::FLAG_INVALID | sk::FLAG_OFF_TRACK}, {sk::FLAG_OFF_TRACK, 0, 0}, {0, 0, 0}};
    for (uint32_t d = 0; d < 4; ++d)
        for (int lap = 1; lap <= 3; ++lap)
            EXPECT_EQ(drivers.lapWord(d, PRACTICE, lap) & 0xFF000000u, flags[d][lap - 1]) << d << " lap " << lap;

    // The player leaves the 6 m half width in the off-track lap only.
    auto widest = [&drivers](int lap) {
        GetRpyInfo info;
        EXPECT_EQ(info.load(drivers, 2, lap, PRACTICE), GetRpyInfo::OK);
        info.trim(1);
        double w = 0;
        for (int k = 2; k <= info.sampleCount() - 2; ++k) w = std::max(w, std::fabs(info.sample(k).lateral));
        return w;
    };
    EXPECT_GT(widest(1), 7.0);
    EXPECT_LT(widest(2), 6.0);
}

TEST(GeneratedReplays, DrivingIsDeterministicFromTheSeed) {
    testsupport::TempDir dir;
    sk::SimulationSpec other = fourDrivers(1, 1);
    other.seed = 12;
    sk::writeSimulatedReplay(dir.file("a.rpy"), fourDrivers(1, 1), sk::sampleHeader(false));
    sk::writeSimulatedReplay(dir.file("b.rpy"), fourDrivers(1, 1), sk::sampleHeader(false));
    sk::writeSimulatedReplay(dir.file("c.rpy"), other, sk::sampleHeader(false));
    const auto a = testsupport::readFileBytes(dir.file("a.rpy"));
    EXPECT_EQ(a, testsupport::readFileBytes(dir.file("b.rpy")));
    EXPECT_NE(a, testsupport::readFileBytes(dir.file("c.rpy")));
}

TEST(SampleInstallation, HoldsAHotlapWithMarkedLapsAndAFullRace) {
    testsupport::TempDir dir;
    sk::writeSampleInstallation(dir.path());
    Header header;
    ASSERT_EQ(header.load(dir.file("replay/sample_hotlap.rpy")), Header::OK);
    EXPECT_EQ(header.trackName(), "harbour");
    Drivers hot;
    ASSERT_EQ(hot.load(dir.file("replay/sample_hotlap.rpy")), Drivers::OK);
    EXPECT_EQ(hot.count(), 1u);
    ASSERT_GE(hot.lapCount(0, PRACTICE), 4);
    int invalid = 0, offTrack = 0;
    for (int lap = 1; lap <= hot.lapCount(0, PRACTICE); ++lap) {
        invalid += (hot.lapWord(0, PRACTICE, lap) & LAP_FLAG_INVALID) != 0;
        offTrack += (hot.lapWord(0, PRACTICE, lap) & LAP_FLAG_OFF_TRACK) != 0;
    }
    EXPECT_EQ(invalid, 1);
    EXPECT_EQ(offTrack, 1);

    ASSERT_EQ(header.load(dir.file("replay/sample_race.rpy")), Header::OK);
    Drivers race;
    ASSERT_EQ(race.load(dir.file("replay/sample_race.rpy")), Drivers::OK);
    ASSERT_EQ(race.count(), 20u);
    int ai = 0, mostLaps = 0;
    for (uint32_t i = 0; i < race.count(); ++i) {
        ai += race.driver(i).ai;
        mostLaps = std::max(mostLaps, race.lapCount(i, RACE));
    }
    EXPECT_GT(ai, 5);
    EXPECT_LT(ai, 20);
    EXPECT_GE(header.scheduledLaps(), 8);
    EXPECT_LE(header.scheduledLaps(), 10);
    EXPECT_EQ(mostLaps, header.scheduledLaps());
    // The tool writes into the given folder.
    const auto target = dir.path() / "inst";
    const auto run = testsupport::runCommand(std::string("'") + MOVRANE_SAMPLE_PATH + "' '" + target.string() + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(target / "replay" / "sample_race.rpy"));
    EXPECT_NE(testsupport::runCommand(std::string("'") + MOVRANE_SAMPLE_PATH + "'").exitCode, 0);
}

