// The lap-time verifier on scripted streams, and the sector times and speed reports.
#include <gtest/gtest.h>

#include "ScriptedRace.h"
#include "core/replay/Drivers.h"
#include "core/reports/LapTimeReports.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

namespace {

using movrane::LapVerification;

constexpr double LAP_METRES = 1000;
constexpr uint32_t LAP_RAW = 2000000;
constexpr uint32_t STATED = 22222;  // 800 frames of 2500 raw units

// A car crossing the line between frames 200 and 201 and again between 1000 and 1001.
std::optional<uint32_t> lapCar(int f) { return (2500u * static_cast<uint32_t>(f) + 1498750u) % LAP_RAW; }

struct VerifyCase {
    const char* name;
    uint32_t verified;  // driver; 0 is the player
    std::function<std::optional<uint32_t>(int)> stamp;
    uint32_t methodB;
    int corrections;
    int smashes;
};

std::optional<uint32_t> regular(int f) {
    return f % 36 == 0 ? std::optional<uint32_t>(10000 + 1000 * (f / 36)) : std::nullopt;
}

class LapVerifier : public ::testing::TestWithParam<VerifyCase> {};

TEST_P(LapVerifier, TimesTheLapFromTheCarsMovementAndTheClock) {
    const VerifyCase& c = GetParam();
    testsupport::TempDir dir;
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(2);
    race.sessionId = 0;
    race.frames = 1100;
    race.cars = {scripted::standing(5), scripted::standing(7)};
    race.cars[c.verified].position = lapCar;
    race.stamp = c.stamp;
    race.practiceTable = samplekit::LapTable{"QTPL", {scripted::laps(c.verified, 15569, {15569 + STATED})}};
    scripted::write(dir.file("v.rpy"), race);
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("v.rpy")), movrane::Drivers::OK);
    const LapVerification v = movrane::verifyLap(drivers, c.verified, 1, movrane::PRACTICE, LAP_METRES);
    EXPECT_EQ(v.methodA, STATED);
    EXPECT_EQ(v.methodB(STATED), c.methodB);
    EXPECT_EQ(v.clockCorrections, c.corrections);
    EXPECT_EQ(v.clockSmashes, c.smashes);
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, LapVerifier,
    ::testing::Values(
        VerifyCase{"Regular", 0, regular, STATED, 0, 0},
        VerifyCase{"OtherCar", 1, regular, STATED, 0, 0},
        // From the stamp of frame 577 on, every stamp comes one frame late: one smash.
        VerifyCase{"SmashAt37Frames", 0,
                   [](int f) {
                       const int shifted = f >= 576 ? f - 1 : f;
                       return shifted % 36 == 0 ? std::optional<uint32_t>(10000 + 1000 * (shifted / 36)) : std::nullopt;
                   },
                   STATED + 27, 0, 1},
        // The stamp of second 16 says 980 ms after the one before (and later ones keep the step).
        VerifyCase{"StampAfter980ms", 0,
                   [](int f) {
                       if (f % 36 != 0) return std::optional<uint32_t>();
                       return std::optional<uint32_t>(10000 + 1000 * (f / 36) - (f / 36 >= 16 ? 20 : 0));
                   },
                   STATED + 20, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LapVerifierWindow, ALapThatIsNotInTheStreamGivesZeros) {
    testsupport::TempDir dir;
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(1);
    race.sessionId = 0;
    race.frames = 400;  // the stream ends before the lap does
    race.cars = {{lapCar}};
    race.practiceTable = samplekit::LapTable{"QTPL", {scripted::laps(0, 15569, {15569 + STATED})}};
    scripted::write(dir.file("short.rpy"), race);
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("short.rpy")), movrane::Drivers::OK);
    const LapVerification v = movrane::verifyLap(drivers, 0, 1, movrane::PRACTICE, LAP_METRES);
    EXPECT_EQ(v.methodA, 0u);
    EXPECT_EQ(v.methodB(STATED), STATED);
    EXPECT_EQ(v.clockCorrections + v.clockSmashes, 0);
}

// One lap of the scripted replay with given split times and samples.
class LoadedLapReports : public ::testing::Test {
protected:
    void SetUp() override {
        scripted::Race race;
        race.drivers = testsupport::namedDrivers(2);
        race.drivers[0].name1 = "Ada";
        race.drivers[0].name2 = "Marsh";
        race.sessionId = 0;
        race.frames = 72;
        race.cars = {scripted::standing(5), scripted::standing(7)};
        race.practiceTable = samplekit::LapTable{
            "QTPL", {scripted::laps(0, 11000, {11000 + STATED}), scripted::laps(1, 11000, {11000 + 23000})}};
        scripted::write(dir_.file("l.rpy"), race);
        if (drivers_.load(dir_.file("l.rpy")) != movrane::Drivers::OK) throw std::runtime_error("unreadable");
    }

    movrane::ReportLap lap(uint32_t driver, std::vector<movrane::LapSample> samples, std::array<int64_t, 3> splits) {
        laps_.push_back(std::make_unique<movrane::GetRpyInfo>(movrane::GetRpyInfo::fromSamples(std::move(samples))));
        laps_.back()->splitTimes = splits;
        return {&drivers_, driver, 1, movrane::PRACTICE, laps_.back().get()};
    }

    std::string run(void (*report)(const movrane::ReportLaps&, const movrane::ReportAppend&), movrane::ReportLaps laps) {
        std::string text;
        report(laps, [&](const std::string& piece) { text += piece; });
        return text;
    }

    testsupport::TempDir dir_;
    movrane::Drivers drivers_;
    std::vector<std::unique_ptr<movrane::GetRpyInfo>> laps_;
};

std::vector<movrane::LapSample> samplesAt(std::vector<std::pair<double, double>> distanceAndSpeed) {
    std::vector<movrane::LapSample> samples(1);
    for (const auto& [distance, speed] : distanceAndSpeed) {
        movrane::LapSample s;
        s.hasData = true;
        s.distance = distance;
        s.speed = speed;
        samples.push_back(s);
    }
    return samples;
}

TEST_F(LoadedLapReports, SectorTimesOfOneLapGiveItsOwnTimeAsTheTheoreticalBest) {
    const std::string text = run(movrane::sectorTimesReport, {{lap(0, samplesAt({}), {5000, 11000, 16500})}});
    EXPECT_NE(text.find("A. Marsh               05.000s   06.000s   05.500s   05.722s   22.222s\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("combined: 22.222s\r\n"), std::string::npos) << text;
}

TEST_F(LoadedLapReports, ALapThatNeverReachedAQuarterGivesNoBestSector) {
    const std::string text =
        run(movrane::sectorTimesReport, {{lap(0, samplesAt({}), {5000, 11000, 16500}), lap(1, samplesAt({}), {4000, 0, 0})}});
    // Lap 2's first sector is the best; its sectors 2 and 3 are negative, which as unsigned
    // numbers never win.
    EXPECT_NE(text.find("combined: 21.222s\r\n"), std::string::npos) << text;
}

TEST_F(LoadedLapReports, SpeedReportSectorsAndMilesPerHour) {
    // Speeds by quarter: 100, 150 / 200 / 120 / 90, 60; the first and last samples stay outside.
    const auto samples = samplesAt({{990, 5}, {10, 100}, {200, 150}, {300, 200}, {600, 120}, {800, 90}, {950, 60}, {1, 3}});
    movrane::ReportLaps laps{{lap(0, samples, {})}, 160.934 * STATED / 3600.0, false};
    const std::string kmh = run(movrane::speedReport, laps);
    EXPECT_NE(kmh.find("A. Marsh(Bra)          150.0 200.0 120.0  90.0  200.00  60.00 160.934   22.222s\r\n"),
              std::string::npos)
        << kmh;
    laps.mph = true;
    const std::string mph = run(movrane::speedReport, laps);
    EXPECT_NE(mph.find("  93.2 124.3  74.6  55.9  124.27  37.28 100.000   22.222s\r\n"), std::string::npos) << mph;
}

}  // namespace
