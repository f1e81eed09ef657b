#include <gtest/gtest.h>

#include "core/platform/Files.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplayWriters.h"
#include "support/TempDir.h"

using movrane::GetRpyInfo;
using movrane::LapSample;
using movrane::PRACTICE;

namespace {

// A lap of `count` samples with data, the line between samples 1 and 2.
GetRpyInfo shortLap(int count) {
    std::vector<LapSample> samples(static_cast<std::size_t>(count) + 1);
    for (int k = 1; k <= count; ++k) {
        samples[k].hasData = true;
        samples[k].distance = k == 1 ? 999.0 : k - 1.5;
    }
    return GetRpyInfo::fromSamples(samples, false, 2000, 2000);
}

}  // namespace

TEST(MergedReplay, ShortLapsAndLongTrackNamesMakeASoundFile) {
    testsupport::TempDir dir;
    movrane::DriverRecord driver;
    driver.name1 = "Jo";
    driver.name2 = "Short";
    const GetRpyInfo a = shortLap(3);
    const GetRpyInfo b = shortLap(4);
    const std::string bytes = movrane::mergedReplay("longtrackname12", {{&driver, &a, 100, 0}, {&driver, &b, 140, 1}});
    ASSERT_TRUE(movrane::writeFileAtomically(dir.file("m.rpy"), bytes));

    movrane::Header header;
    ASSERT_EQ(header.load(dir.file("m.rpy")), 0);
    EXPECT_EQ(header.trackName(), "longtrackname12") << "the track name is kept whole";
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("m.rpy")), 0);
    EXPECT_EQ(drivers.count(), 3u);
    EXPECT_EQ(drivers.driver(1).name1, "J merged");
    EXPECT_EQ(drivers.streamLength(), header.streamLengthField());
    for (uint32_t j : {1u, 2u}) {
        ASSERT_TRUE(drivers.lapValid(j, PRACTICE, 1)) << j;
        GetRpyInfo lap;
        ASSERT_EQ(lap.load(drivers, j, 1, PRACTICE), GetRpyInfo::OK) << j;
        EXPECT_EQ(lap.samplesWithData(), j == 1 ? 3 : 4);
    }
}

TEST(MergedReplay, StoredLapTimesUpToTheClockLimitGiveABoundedReadableStream) {
    testsupport::TempDir dir;
    movrane::DriverRecord driver;
    const GetRpyInfo a = shortLap(3);
    // A stored time that wraps the 24-bit stamp clock past the base time (a damaged table).
    for (uint32_t lapWord : {250u, 0xFFEC78u}) {
        const std::string bytes = movrane::mergedReplay("t", {{&driver, &a, lapWord, 0}, {&driver, &a, lapWord, 0}});
        EXPECT_LT(bytes.size(), 16u << 20) << lapWord;
        ASSERT_TRUE(movrane::writeFileAtomically(dir.file("m.rpy"), bytes));
        movrane::Drivers drivers;
        ASSERT_EQ(drivers.load(dir.file("m.rpy")), 0) << lapWord;
        EXPECT_EQ(drivers.lapTime(1, PRACTICE, 1), lapWord);
        EXPECT_TRUE(drivers.lapValid(1, PRACTICE, 1)) << lapWord;
    }
}
