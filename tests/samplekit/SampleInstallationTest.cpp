#include <gtest/gtest.h>

#include "RawReplay.h"
#include "samplekit/SampleInstallation.h"
#include "support/TempDir.h"

using rawreplay::u32;

TEST(SampleInstallation, WritesAHotlapAndARaceReplay) {
    testsupport::TempDir dir;
    samplekit::writeSampleInstallation(dir.path());

    const auto hot = rawreplay::Replay::load(dir.path() / "replay" / "sample_hotlap.rpy");
    EXPECT_EQ(hot.driverCount, 1u);
    EXPECT_EQ(rawreplay::text(hot.bytes, 112, 16), "harbour");
    EXPECT_EQ(hot.bytes[225], 1);  // a training session
    ASSERT_EQ(hot.chunks.size(), 2u);  // practice table, stream
    const auto laps = hot.lapEntries(hot.chunks[0]).at(0).stamps;
    EXPECT_GE(laps.size(), 4u);
    EXPECT_EQ(std::count_if(laps.begin(), laps.end(), [](uint32_t s) { return s >> 24 == 0x10; }), 1);
    EXPECT_EQ(std::count_if(laps.begin(), laps.end(), [](uint32_t s) { return s >> 24 == 0x40; }), 1);

    const auto race = rawreplay::Replay::load(dir.path() / "replay" / "sample_race.rpy");
    EXPECT_EQ(race.driverCount, 20u);
    int ai = 0;
    for (uint32_t i = 0; i < race.driverCount; ++i) ai += rawreplay::text(race.bytes, 308 + 152 * i + 84, 16) == "AI";
    EXPECT_GT(ai, 5);
    EXPECT_LT(ai, 20);
    ASSERT_NE(race.chunk("BTPL"), nullptr);
    const auto raceLaps = race.lapEntries(*race.chunk("BTPL"));
    EXPECT_EQ(raceLaps.size(), 20u);
    const uint16_t scheduled = static_cast<uint16_t>(race.bytes[239] | (race.bytes[240] << 8));
    EXPECT_GE(scheduled, 8);
    EXPECT_LE(scheduled, 10);
    EXPECT_EQ(raceLaps.at(0).stamps.size(), scheduled);
}

TEST(SampleInstallation, ToolWritesIntoTheGivenFolder) {
    testsupport::TempDir dir;
    const auto target = dir.path() / "inst";
    const auto run = testsupport::runCommand(std::string("'") + MOVRANE_SAMPLE_PATH + "' '" + target.string() + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(target / "replay" / "sample_race.rpy"));
    EXPECT_NE(testsupport::runCommand(std::string("'") + MOVRANE_SAMPLE_PATH + "'").exitCode, 0);
}
