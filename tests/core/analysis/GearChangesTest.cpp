#include <gtest/gtest.h>

#include "core/analysis/GearChanges.h"
#include "core/replay/GetRpyInfo.h"

using movrane::GearChangeAnalysis;
using movrane::GetRpyInfo;
using movrane::LapSample;

namespace {

struct Shift {
    int from;
    int to;
    int neutralSamples = 3;
    bool speedshift = false;
};

// A lap that starts in neutral for two samples and then makes the given shifts, 10 samples
// in each gear. Revs climb by 100 a sample in gear; a speedshift keeps them climbing
// through the neutral run, other shifts drop 1000 at once. Speed is 100 km/h throughout,
// 20 km/h less after each shift.
GetRpyInfo lapOf(const std::vector<Shift>& shifts) {
    std::vector<LapSample> samples(1);
    auto add = [&](int gear, double rpm, double speed) {
        LapSample s;
        s.gear = static_cast<int16_t>(gear);
        s.engineSpeed = rpm;
        s.speed = speed;
        s.lapPosition = static_cast<uint32_t>(samples.size() * 20000);  // 10 m a sample
        samples.push_back(s);
    };
    add(0, 0, 0);
    add(0, 0, 0);
    double rpm = 5000;
    for (const Shift& s : shifts) {
        for (int k = 0; k < 10; ++k) add(s.from, rpm += 100, 120);
        for (int k = 0; k < s.neutralSamples; ++k) add(0, s.speedshift ? rpm += 100 : rpm - 1000, 110);
        rpm = s.speedshift ? rpm : rpm - 1500;
        add(s.to, rpm, 100);
    }
    for (int k = 0; k < 10; ++k) add(shifts.empty() ? 1 : shifts.back().to, rpm += 100, 100);
    return GetRpyInfo::fromSamples(samples);
}

TEST(GearChanges, ListRowsAndNeutralTimes) {
    const auto analysis = GearChangeAnalysis::of(lapOf({{1, 2, 2}, {2, 1, 39}}));
    ASSERT_EQ(analysis.rows.size(), 2u);
    // Two samples in neutral are three intervals; the last sample in first gear is
    // sample 12 at 120 m with 6000 rpm.
    EXPECT_EQ(analysis.rows[0], (GearChangeAnalysis::ListRow{"1: 1->2", "120", "6000", "1500", "20", ".083"}));
    EXPECT_EQ(analysis.rows[1][0], "2: 2->1");
    EXPECT_EQ(analysis.rows[1][5], "1.111");
    EXPECT_EQ(analysis.changes, 2);
    EXPECT_EQ(analysis.upshiftNeutralTime, "0m 00.083s");
    EXPECT_EQ(analysis.downshiftNeutralTime, "0m 01.111s");
    // Neutral at the end of the lap is no change.
    std::vector<LapSample> samples(6);
    for (int k = 1; k <= 3; ++k) samples[k].gear = 3;
    EXPECT_TRUE(movrane::findGearChanges(GetRpyInfo::fromSamples(samples)).empty());
    EXPECT_EQ(movrane::shiftTimeText(83), ".083");
    EXPECT_EQ(movrane::shiftTimeText(1111), "1.111");
    // Statistics rows by target gear; the same gear is an upshift.
    const auto stats = GearChangeAnalysis::of(lapOf({{1, 2}, {2, 3}, {3, 3}, {3, 4}, {4, 6}}));
    EXPECT_EQ(stats.statistics[0], (GearChangeAnalysis::StatisticsRow{"6000", "1500", "20"}));
    EXPECT_EQ(stats.statistics[1][0], "5250");  // into third twice: 5500 and 5000
    EXPECT_EQ(stats.statistics[3], (GearChangeAnalysis::StatisticsRow{}));  // no shift into fifth
    EXPECT_EQ(stats.verdict, "Out of 5 upshifts, 0 was a speedshift.");

    std::vector<Shift> shifts(20, Shift{2, 3});
    shifts[4].speedshift = true;
    EXPECT_EQ(GearChangeAnalysis::of(lapOf(shifts)).verdict, "Out of 20 upshifts, 1 was a speedshift.");
    shifts[9].speedshift = true;
    EXPECT_EQ(GearChangeAnalysis::of(lapOf(shifts)).verdict, "Out of 20 upshifts, 2 were speedshifts.");
}

}  // namespace
