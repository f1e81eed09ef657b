// Corrupted variants of a valid replay must give the readers' error codes or success,
// never a crash, a hang or a read outside the file (the sanitizers watch the reads).
#include <gtest/gtest.h>

#include <string>

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/LapDerivation.h"
#include "core/replay/TelemetryExport.h"
#include "core/track/GrooveExport.h"
#include "support/DamagedReplays.h"
#include "support/CircleTrack.h"
#include "support/TempDir.h"

using testsupport::TempDir;

namespace {

// What is made from a loaded lap: trim and derivation, and with `texts` the telemetry text
// and CSV and the groove text.
void completeLap(movrane::GetRpyInfo& lap, bool texts) {
    lap.trim(1);
    movrane::deriveLapQuantities(lap, testsupport::CircleTrack(2000));
    if (!texts) return;
    EXPECT_FALSE(movrane::telemetryText(lap).empty());
    EXPECT_FALSE(movrane::telemetryCsv(lap).empty());
    EXPECT_FALSE(movrane::grooveText(lap, 2000, movrane::GrooveSettings{}).empty());
}

// Loads a variant with every reader; only the codes may be observed.
void readVariant(const std::string& path, bool texts = true) {
    movrane::Header header;
    const int headerCode = header.load(path);
    EXPECT_GE(headerCode, 0);
    EXPECT_LE(headerCode, 3);
    movrane::Drivers drivers;
    const int code = drivers.load(path);
    ASSERT_TRUE(code == 0 || code == 3);
    if (code != 0) return;
    // One lap of the player and one of another car in each session.
    for (uint32_t driver = 0; driver < drivers.count() && driver < 2; ++driver) {
        for (movrane::Session s : {movrane::PRACTICE, movrane::RACE}) {
            if (drivers.lapCount(driver, s) < 2) continue;
            movrane::GetRpyInfo info;
            const int lapCode = info.load(drivers, driver, 2, s);
            ASSERT_GE(lapCode, 0);
            ASSERT_LE(lapCode, 5);
            if (lapCode == 0) completeLap(info, texts);
        }
    }
}

}  // namespace

TEST(ReplayRobustness, ValidReplayReadsWhole) {
    TempDir dir;
    testsupport::validDamageBase(dir);
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("valid.rpy")), 0);
    EXPECT_TRUE(drivers.practicePresent());
    EXPECT_TRUE(drivers.racePresent());
    EXPECT_TRUE(drivers.lapValid(1, movrane::RACE, 2));
    movrane::GetRpyInfo lap;
    EXPECT_EQ(lap.load(drivers, 1, 2, movrane::RACE), 0);
    EXPECT_GT(lap.samplesWithData(), 100);
    // Truncations at every length.
    testsupport::forEachTruncation(dir, 1, [](const std::string& path, const std::string& what) {
        readVariant(path);
        if (testing::Test::HasFatalFailure()) FAIL() << what;
    });
}

TEST(ReplayRobustness, RandomByteFlips) {
    TempDir dir;
    testsupport::forEachByteFlip(dir, 1200, [](const std::string& path, const std::string& what) {
        readVariant(path, false);
        if (testing::Test::HasFatalFailure()) FAIL() << what;
    });
}

TEST(ReplayRobustness, HugeSizesAndCounts) {
    TempDir dir;
    testsupport::forEachWildField(dir, [](const std::string& path, const std::string& what) {
        readVariant(path);
        if (testing::Test::HasFatalFailure()) FAIL() << what;
    });
}
