#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <set>
#include <tuple>
#include <vector>

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapDerivation.h"
#include "samplekit/CarRecords.h"
#include "support/SmallReplay.h"
#include "support/CircleTrack.h"
#include "support/TempDir.h"

using movrane::Drivers;
using movrane::GetRpyInfo;
using movrane::PRACTICE;
using testsupport::TempDir;

namespace {

// Two cars at constant speed on a 1000 m lap: the player (slot 0) and an other car (slot 7).
// The practice runs from 1 s for `seconds` seconds; both cars start 100 m before the line.
struct Scenario {
    double lapLength = 1000;
    double speed = 50;  // m/s: 20 s laps
    int seconds = 70;
    std::set<int> otherMissingFrames;                // frames without the other car's record
    std::vector<uint32_t> otherSlotsBefore;          // records of other slots ahead of slot 7
    std::function<void(samplekit::PlayerControlsFields&, int)> controls;

    double position(int frame) const {
        const double d = (frame - 1) * speed / 36.0 - 100;
        return std::fmod(d + lapLength, lapLength);
    }
    uint32_t firstCrossing() const { return 1000 + static_cast<uint32_t>(100 / speed * 1000); }
    uint32_t lapMs() const { return static_cast<uint32_t>(lapLength / speed * 1000); }
};

uint32_t raw(double metres) { return static_cast<uint32_t>(std::lround(metres / 0.0005)); }

std::string writeScenario(const TempDir& dir, const Scenario& sc) {
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(2);
    d.drivers[1].slot = 7;
    d.practiceTable = samplekit::LapTable{
        "LBTP", {testsupport::evenLaps(0, sc.firstCrossing(), sc.lapMs(), 3),
                 testsupport::evenLaps(7, sc.firstCrossing(), sc.lapMs(), 3)}};
    auto items = [&sc](samplekit::Frame& f, int n) {
        samplekit::PlayerCarFields player;
        player.lapPosition = raw(sc.position(n));
        player.gearCode = 4;
        player.engineSpeed = 500;
        f.addItem(1, samplekit::encodePlayerCar(player));
        samplekit::PlayerControlsFields c{100, 90, 60, 0};
        if (sc.controls) sc.controls(c, n);
        f.addItem(2, samplekit::encodePlayerControls(c));
        std::vector<uint8_t> records;
        auto add = [&records](const samplekit::OtherCarFields& o) {
            const auto r = samplekit::encodeOtherCar(o);
            records.insert(records.end(), r.begin(), r.end());
        };
        for (uint32_t slot : sc.otherSlotsBefore) {
            samplekit::OtherCarFields o;
            o.slot = slot;
            o.lapPosition = raw(500);
            add(o);
        }
        if (!sc.otherMissingFrames.count(n)) {
            samplekit::OtherCarFields o;
            o.slot = 7;
            o.lapPosition = raw(sc.position(n));
            o.gearCode = 5;
            add(o);
        }
        if (!records.empty()) f.addItem(3, records.data(), records.size());
    };
    const std::string path = dir.file("lap.rpy");
    testsupport::writeStampedReplay(path, d, {{0, 1000, sc.seconds}}, items);
    return path;
}

struct Loaded {
    Drivers drivers;
    GetRpyInfo lap;
};

void loadLap(Loaded& l, const std::string& path, uint32_t driver, int lapNumber) {
    ASSERT_EQ(l.drivers.load(path), 0);
    ASSERT_EQ(l.lap.load(l.drivers, driver, lapNumber, PRACTICE), GetRpyInfo::OK);
}

// The frame at which the lap's window starts in the scenario as it stands.
int windowStart(const TempDir& dir, const Scenario& sc, uint32_t driver, int lapNumber) {
    Loaded probe;
    loadLap(probe, writeScenario(dir, sc), driver, lapNumber);
    return static_cast<int>(probe.lap.startFrame());
}

// The lap trimmed at the line, with the quantities derived on a 1000 m circle.
void loadDerived(Loaded& l, const TempDir& dir, const Scenario& sc, uint32_t driver, int lapNumber) {
    loadLap(l, writeScenario(dir, sc), driver, lapNumber);
    l.lap.trim(1);
    movrane::deriveLapQuantities(l.lap, testsupport::CircleTrack(1000));
}

}  // namespace

TEST(GetRpyInfoLoad, CutsThePlayersLapAtTheLine) {
    TempDir dir;
    Scenario sc;
    Loaded l;
    loadLap(l, writeScenario(dir, sc), 0, 2);
    GetRpyInfo& lap = l.lap;
    EXPECT_EQ(std::tuple(lap.isPlayer(), lap.storedLapTime(), lap.missingFrames(), lap.samplesWithData()),
              std::tuple(true, 20000u, 0, lap.framesInWindow()));

    lap.trim(1);
    // Sample 1 is the last before the line, sample 2 the first after it, n - 1 the first
    // after the next crossing.
    const int n = lap.sampleCount();
    EXPECT_EQ(n, 20 * 36 + 3);
    EXPECT_GT(lap.sample(1).distance, 990);
    EXPECT_LT(lap.sample(2).distance, 2);
    EXPECT_GT(lap.sample(n - 2).distance, 990);
    EXPECT_LT(lap.sample(n - 1).distance, 2);
    const int64_t step = raw(50.0 / 36);
    EXPECT_EQ(std::tuple(lap.lapStartStep(), lap.lapEndStep()), std::tuple(step, step));
    EXPECT_NEAR(static_cast<double>(lap.frameLapTime()), 20000, 60);
    EXPECT_EQ(lap.sample(5).gear, 3);
    EXPECT_NEAR(lap.sample(5).engineSpeed, std::tan(500 * 0.001288481) * 4131.182, 1e-9);
    // Laps without data are refused.
    for (const auto& [driver, number] : {std::pair{0u, 0}, {0u, 4}, {5u, 1}})
        EXPECT_EQ(l.lap.load(l.drivers, driver, number, PRACTICE), GetRpyInfo::LAP_NOT_VALID) << driver << " " << number;
}

TEST(GetRpyInfoLoad, OtherCarFoundByItsSlotBits) {
    TempDir dir;
    Scenario sc;
    sc.otherSlotsBefore = {4};
    Loaded l;
    loadLap(l, writeScenario(dir, sc), 1, 1);
    EXPECT_FALSE(l.lap.isPlayer());
    EXPECT_EQ(l.lap.missingFrames(), 0);
    EXPECT_EQ(l.lap.sample(3).gear, 4) << "the record of slot 7, not the one of slot 4";
    EXPECT_EQ(l.lap.sample(3).oilTemperature, 0) << "other cars carry no controls values";
    // Missing frames and the longest gap are counted (the other cars item stands in every frame).
    const int first = static_cast<int>(l.lap.startFrame());
    sc.otherMissingFrames = {first + 4, first + 5};  // window frames 5 and 6
    Loaded two;
    loadLap(two, writeScenario(dir, sc), 1, 1);
    EXPECT_EQ(std::tuple(two.lap.missingFrames(), two.lap.longestGap()), std::tuple(2, 2));
    EXPECT_EQ(two.lap.sample(5).lapPosition, 0u);

    sc.otherMissingFrames = {first};  // window frame 1 only
    Loaded one;
    loadLap(one, writeScenario(dir, sc), 1, 1);
    EXPECT_EQ(std::tuple(one.lap.missingFrames(), one.lap.longestGap()), std::tuple(1, 2));
}

TEST(GetRpyInfoTrim, ControlsValuesCarryAndTemperaturesWrap) {
    TempDir dir;
    Scenario sc;
    const int first = windowStart(dir, sc, 0, 2);
    sc.controls = [first](samplekit::PlayerControlsFields& c, int frame) {
        const int w = frame - first + 1;  // sample of the window
        if (w >= 40 && w < 43) c.oilTemperature = std::vector<uint32_t>{126, 127, 0}[w - 40];
        if (w == 50) c.oilTemperature = c.waterTemperature = 0;
    };
    Loaded l;
    loadLap(l, writeScenario(dir, sc), 0, 2);
    l.lap.trim(1);
    std::vector<double> oil;
    for (int k = 1; k <= l.lap.sampleCount(); ++k) oil.push_back(l.lap.sample(k).oilTemperature);
    const std::vector<double> wrapped = {126, 127, 128};
    EXPECT_NE(std::search(oil.begin(), oil.end(), wrapped.begin(), wrapped.end()), oil.end())
        << "126, 127, 0 become 126, 127, 128";
    EXPECT_EQ(std::count(oil.begin(), oil.end(), 0.0), 0) << "a sample without values takes its predecessor's";
}

TEST(LapDerivation, CleanLapHasSteadySpeedAndNoAccelerationSpikes) {
    TempDir dir;
    Loaded l;
    loadDerived(l, dir, Scenario{}, 0, 2);
    const int n = l.lap.sampleCount();
    for (int k = 3; k <= n - 2; ++k) {
        const auto& s = l.lap.sample(k);
        EXPECT_NEAR(s.speed, 180, 1.0) << k;  // 50 m/s
        EXPECT_LT(std::fabs(s.accX), 3) << k;
        EXPECT_LT(std::fabs(s.totalAcc), 3) << k;
    }
    EXPECT_EQ(l.lap.sample(2).accX, 0) << "sample 2 has no third point";
    EXPECT_EQ(l.lap.sample(6).accXMean, 0) << "the 7-sample mean starts at sample 7";
    EXPECT_NEAR(static_cast<double>(l.lap.splitTimes[1]), 10000, 40);
    // The speed glitch filter: a sample lying 50 % further on than the rest.
    for (int k = 1; k <= l.lap.sampleCount(); ++k) l.lap.sample(k).distance = 100 + k * (50.0 / 36);
    l.lap.sample(9).distance += 50.0 / 36 / 2;  // speeds 180, 270, 90 around sample 9..10
    movrane::deriveLapQuantities(l.lap, testsupport::CircleTrack(1000));
    for (int k = 3; k <= 20; ++k) EXPECT_NEAR(l.lap.sample(k).speed, 180, 1.0) << k;
}

TEST(LapDerivation, MissingRecordsNeverLookLikeAJumpToTheLine) {
    TempDir dir;
    Scenario sc;
    sc.otherSlotsBefore = {4};
    const int first = windowStart(dir, sc, 1, 1);
    for (int w = 200; w < 260; w += 7) sc.otherMissingFrames.insert(first + w);
    sc.otherMissingFrames.insert(first + 300);
    sc.otherMissingFrames.insert(first + 301);
    Loaded l;
    loadDerived(l, dir, sc, 1, 1);
    EXPECT_EQ(l.lap.missingFrames(), 11);
    EXPECT_GT(l.lap.sampleCount(), 700) << "a missing record is no crossing of the line";
    for (int k = 3; k <= l.lap.sampleCount() - 2; ++k) {
        EXPECT_LT(l.lap.sample(k).speed, 200) << k;
        EXPECT_LT(std::fabs(l.lap.sample(k).totalAcc), 3) << k;
    }
}

TEST(GetRpyInfoLoad, LapEndingAfterTheLastUsableStampIsCodeFive) {
    // Stamps run from 10 s to 59 s; a lap ending 10 ms before the last stamp lies inside
    // the window, but no stamp comes after its end.
    TempDir dir;
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(1);
    d.practiceTable = samplekit::LapTable{"LBTP", {{0, 20000, {40000, 58990}}}};
    testsupport::writeStampedReplay(dir.file("r.rpy"), d, {{0, 10000, 50}});
    Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), 0);
    ASSERT_TRUE(drivers.lapValid(0, PRACTICE, 2));
    GetRpyInfo lap;
    EXPECT_EQ(lap.load(drivers, 0, 2, PRACTICE), GetRpyInfo::END_BEFORE_START);
    EXPECT_EQ(lap.load(drivers, 0, 1, PRACTICE), GetRpyInfo::OK);
    // Three samples get nothing beyond sample 2.
    std::vector<movrane::LapSample> threeSamples(4);
    for (int k = 1; k <= 3; ++k) {
        threeSamples[k].hasData = true;
        threeSamples[k].distance = 10.0 * k;
    }
    GetRpyInfo three = GetRpyInfo::fromSamples(threeSamples);
    const testsupport::CircleTrack track(1000);
    movrane::deriveLapQuantities(three, track);
    EXPECT_GT(three.sample(2).speed, 0);
    EXPECT_EQ(std::tuple(three.sample(3).speed, three.sample(3).worldX, three.sample(2).accX), std::tuple(0.0, 0, 0.0));
}

