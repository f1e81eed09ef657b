#include <gtest/gtest.h>

#include "core/replay/GetRpyInfo.h"
#include "core/track/GrooveExport.h"
#include "support/TempDir.h"

using movrane::GetRpyInfo;
using movrane::GrooveSettings;
using movrane::LapSample;

namespace {

// A lap of n samples, one every `spacing` metres from `first` on, with the given
// lateral offset and total acceleration.
GetRpyInfo lapOf(int n, double first, double spacing, const std::function<double(int)>& lateral,
                 const std::function<double(int)>& totalAcc) {
    std::vector<LapSample> samples(static_cast<std::size_t>(n) + 1);
    for (int k = 1; k <= n; ++k) {
        LapSample& s = samples[k];
        s.hasData = true;
        s.distance = first + (k - 2) * spacing;
        s.lateral = lateral(k);
        s.totalAcc = totalAcc(k);
    }
    return GetRpyInfo::fromSamples(std::move(samples));
}

}  // namespace

TEST(GrooveExport, LineCountFollowsTheResolution) {
    const GetRpyInfo lap = lapOf(2000, 1, 2, [](int) { return 0.5; }, [](int k) { return k % 7 * 0.1; });
    // 0.3 m (index 2) does not drift from adding up steps.
    for (const auto& [index, entries] : {std::pair{4, 8000}, {0, 40000}, {2, 13334}}) {
        GrooveSettings settings;
        settings.resolutionIndex = index;
        const auto lines = testsupport::splitLines(movrane::grooveText(lap, 4000, settings));
        EXPECT_EQ(lines.front(), "60sections," + std::to_string(entries) + "entries");
        EXPECT_EQ(lines.size(), entries + 1u);
    }
    // The lateral offset is interpolated and the numbers formatted.
    // Samples every 10 m: 100 m at 1.0 m, 110 m at 2.0 m.
    const GetRpyInfo tenMetreLap = lapOf(60, 0, 10, [](int k) { return k == 12 ? 1.0 : k == 13 ? 2.0 : -0.25; },
                                 [](int k) { return k; });
    GrooveSettings defaults;
    const auto tenMetreLines = testsupport::splitLines(movrane::grooveText(tenMetreLap, 500, defaults));
    ASSERT_GT(tenMetreLines.size(), 211u);
    EXPECT_EQ(tenMetreLines[1 + 210], "0 1.50000000 " + tenMetreLines[1 + 210].substr(13, 10) + " 105.00000000 3.0");
    EXPECT_EQ(tenMetreLines[1].substr(0, 14), "0 -0.25000000 ");
    // The new way's darkness is normalised.
    const GetRpyInfo spiked = lapOf(200, 1, 5, [](int) { return 0; }, [](int k) { return k == 100 ? 4.0 : 1.0; });
    const auto darkness = movrane::grooveDarkness(spiked, GrooveSettings{});
    EXPECT_DOUBLE_EQ(darkness[100], 1.0);
    EXPECT_DOUBLE_EQ(darkness[50], 0.25);
    EXPECT_DOUBLE_EQ(darkness[3], darkness[15]);
    const std::string spikedText = movrane::grooveText(spiked, 900, GrooveSettings{});
    EXPECT_NE(spikedText.find(" 1.00000000 "), std::string::npos);
    EXPECT_EQ(spikedText.find(" 1.00000001"), std::string::npos);
    // Stationary or short laps are dark nowhere.
    const GetRpyInfo stationary = lapOf(300, 5, 0, [](int) { return 1; }, [](int) { return 0; });
    for (double v : movrane::grooveDarkness(stationary, GrooveSettings{})) EXPECT_EQ(v, 0.0);
    const GetRpyInfo shortLap = lapOf(10, 5, 1, [](int) { return 1; }, [](int) { return 2; });
    const auto none = movrane::grooveDarkness(shortLap, GrooveSettings{});
    EXPECT_EQ(none.size(), 12u);
    for (double v : none) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(movrane::grooveText(stationary, 10, GrooveSettings{}).substr(0, 21), "60sections,20entries\n");
    // The old way combines speed steps and roll.
    std::vector<LapSample> oldSamples(8);
    for (int k = 1; k <= 7; ++k) oldSamples[k].hasData = true;
    oldSamples[2].speed = 100;
    oldSamples[3].speed = 101;  // a = 0.4348
    oldSamples[3].roll = 10;    // r = 0.2
    oldSamples[4].speed = 101;
    oldSamples[4].roll = 40;    // r = 0.8, a = 0
    const GetRpyInfo oldLap = GetRpyInfo::fromSamples(oldSamples);
    GrooveSettings oldWay;
    oldWay.newWay = false;
    auto oldDarkness = movrane::grooveDarkness(oldLap, oldWay);
    EXPECT_NEAR(oldDarkness[2], 0.4347826, 1e-6);
    EXPECT_NEAR(oldDarkness[3], 0.2, 1e-9) << "no speed change: the roll wins";
    oldWay.accelerationFactor = 300;  // v above 1 gives the roll value
    oldDarkness = movrane::grooveDarkness(oldLap, oldWay);
    EXPECT_NEAR(oldDarkness[2], 0.0, 1e-9);
    // Settings and files.
    const auto texts = GrooveSettings::resolutionTexts();
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(texts.front(), "0.1");
    EXPECT_EQ(texts[4], "0.5");
    EXPECT_EQ(texts.back(), "2.0");
    int factor = 0;
    EXPECT_TRUE(GrooveSettings::parseFactor("999", factor));
    EXPECT_EQ(factor, 999);
    EXPECT_FALSE(GrooveSettings::parseFactor("1000", factor));
    EXPECT_FALSE(GrooveSettings::parseFactor("-1", factor));
    EXPECT_EQ(movrane::grooveFileName("monza"), "monza.grv");
    EXPECT_EQ(movrane::grooveFileName("monza.grv"), "monza.grv");
    testsupport::TempDir dir;
    EXPECT_TRUE(movrane::writeGrooveFile(dir.file("a.grv"), "x\n"));
    EXPECT_FALSE(movrane::writeGrooveFile(dir.file("no/a.grv"), "x\n"));
}

