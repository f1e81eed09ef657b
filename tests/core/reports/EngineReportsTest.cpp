// Engine detection: the bands at their edges, the verdict rules, and whole texts of the
// engine and mod-set reports of a scripted replay.
#include <gtest/gtest.h>

#include "ReportCases.h"
#include "ScriptedRace.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/EngineReports.h"
#include "core/reports/Report.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

namespace {

using namespace movrane;

struct BandCase {
    int (*classify)(double);
    double value;
    int code;
};

TEST(EngineBands, EdgesOfTheFourTests) {
    const BandCase cases[] = {
        {classifyMethodD, 9200, 2},     {classifyMethodD, 9199.9, 0}, {classifyMethodD, 7999, ENGINE_UNDETECTABLE},
        {classifyMethodD, 17500, ENGINE_UNDETECTABLE}, {classifyMethodD, 12000, ENGINE_F3}, {classifyMethodD, 9450, 4},
        {classifyMethodA, 900, 5},      {classifyMethodA, 899, 0},    {classifyMethodA, 814, ENGINE_F3},
        {classifyMethodA, 960, ENGINE_UNDETECTABLE}, {classifyMethodA, 0, ENGINE_UNDETECTABLE},
        {classifyMethodC, 892, 5},      {classifyMethodC, 891, 0},    {classifyMethodC, 959, 6},
        {classifyMethodB, 799, ENGINE_F3}, {classifyMethodB, 895.5, 5}, {classifyMethodB, 949, 6},
        {classifyMethodB, 950, ENGINE_UNDETECTABLE},
    };
    for (const BandCase& c : cases) EXPECT_EQ(c.classify(c.value), c.code) << c.value;
}

EngineMeasurements playerMeasuring(uint32_t peak, double highestRpm) {
    EngineMeasurements m;
    m.highestRaw = peak;
    m.highestPeak = peak;
    m.highestRpm = highestRpm;
    m.lowestRpm = 5000;
    m.rpmSeen = true;
    return m;
}

TEST(EngineVerdicts, FerrariAndHondaAreToldApartByTestC) {
    struct Case {
        uint32_t peak;
        const char* d;
    };
    // Test D says Ferrari (9450 rpm); C's band of the same car decides.
    for (const Case& c : {Case{940, "Ferrari  "}, Case{955, "Honda    "}, Case{700, "Honda or Ferrari"},
                          Case{880, "Honda    "}}) {
        EXPECT_EQ(engineVerdicts(playerMeasuring(c.peak, 9450), 4, true).d, c.d) << c.peak;
    }
}

TEST(EngineVerdicts, DataLimitsAndTheLotusRule) {
    EngineMeasurements m;
    EXPECT_EQ(engineVerdicts(m, 0, true).a, "No data to use in detection");
    EXPECT_EQ(engineVerdicts(m, 0, true).b, "No data to use in detection");
    EXPECT_EQ(engineVerdicts(m, 0, true).c, "No data to use in detection");
    EXPECT_EQ(engineVerdicts(m, 0, true).d, "Not enough data to use in detection");
    EXPECT_EQ(engineVerdicts(m, 0, false).d, "This test only for local driver");
    m.highestPeak = 649;
    EXPECT_EQ(engineVerdicts(m, 0, false).c, "Not enough data to use in detection");
    // A span below 2000 rpm is not enough for test D.
    EngineMeasurements narrow = playerMeasuring(900, 6999);
    EXPECT_EQ(engineVerdicts(narrow, 0, true).d, "Not enough data to use in detection");
    // Brabham from B or C is a Lotus when the listed car is a Lotus; A keeps its band.
    EngineMeasurements brabham;
    brabham.highestRaw = 880;
    brabham.highestPeak = 880;
    brabham.beforeShiftTo4 = {860, 865, 900};
    EXPECT_EQ(engineVerdicts(brabham, 5, false).a, "Brabham  ");
    EXPECT_EQ(engineVerdicts(brabham, 5, false).b, "Lotus    ");
    EXPECT_EQ(engineVerdicts(brabham, 5, false).c, "Lotus    ");
    EXPECT_EQ(engineVerdicts(brabham, 1, false).b, "Brabham  ");
    brabham.beforeShiftTo5 = {900};
    EXPECT_DOUBLE_EQ(brabham.methodBValue(), (865 + 900) / 2.0);
}

TEST(ModSetCars, NamesByYearAndMake) {
    EXPECT_EQ(modSetCar(255, 5), "Lotus 49 (1967)     ");
    EXPECT_EQ(modSetCar(1965, 3), "Brabham BT7 (1965)  ");
    EXPECT_EQ(modSetCar(1955, 6), "Mercedes W196 (1955)");
    EXPECT_EQ(modSetCar(1970, 0), "Unknown Car and Year");
    EXPECT_EQ(modSetCar(255, 9), "Unknown Car and Year");
}

// A frame in a cycle of 40: third gear revving up to `top3`, then fourth gear.
scripted::Car revving(uint32_t from3, uint32_t top3, uint32_t beforeShift, uint32_t top4) {
    scripted::Car car = scripted::standing(1000);
    car.gear = [](int f) { return f % 40 < 20 ? 3 : 4; };
    car.engine = [=](int f) {
        const int i = f % 40;
        if (i < 18) return from3 + (top3 - from3) * static_cast<uint32_t>(i) / 17;
        if (i < 20) return beforeShift;
        return from3 + (top4 - from3) * static_cast<uint32_t>(i - 20) / 19;
    };
    return car;
}

TEST(EngineReports, WholeTextsOfAScriptedReplay) {
    testsupport::TempDir dir;
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(4);
    race.drivers[0].carMake = 4;  // Ferrari, revving like a Honda
    race.drivers[1].carMake = 5;  // Lotus, revving in Brabham bands
    race.drivers[1].standardCar = false;
    race.drivers[1].year = 1965;
    race.drivers[1].formulaClass = 2;
    race.drivers[2].standardCar = false;
    race.drivers[2].year = 1955;
    race.drivers[2].carClass = 7;
    race.drivers[2].formulaClass = 3;
    race.drivers[3].standardCar = false;
    race.drivers[3].year = 1970;
    race.drivers[3].formulaClass = 0;
    race.sessionId = 0;
    race.frames = 36 * 10;
    race.cars = {revving(690, 900, 900, 890), revving(700, 880, 860, 850), scripted::standing(500),
                 revving(600, 800, 790, 640)};
    scripted::write(dir.file("engines.rpy"), race);
    Header header;
    Drivers drivers;
    ASSERT_EQ(header.load(dir.file("engines.rpy")), Header::OK);
    ASSERT_EQ(drivers.load(dir.file("engines.rpy")), Drivers::OK);
    Report report(header, drivers, dir.file("engines.rpy"));
    reportcases::expectGolden("engines/EngineDetection", report.generate(ReportKind::EngineDetection));
    reportcases::expectGolden("engines/ModSet", report.generate(ReportKind::ModSet));
}

// A gear change passes through neutral: method B takes the engine speed of the last record
// in the lower gear, of the player's car and of the others alike.
TEST(EngineReports, AnUpShiftThroughNeutralIsSampledInTheLowerGear) {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(2);
    race.sessionId = 0;
    race.frames = 36 * 10;
    scripted::Car car = scripted::standing(1000);
    car.gear = [](int f) { return f % 40 < 18 ? 3 : f % 40 < 20 ? 0 : 4; };
    car.engine = [](int f) { return f % 40 == 17 ? 900u : f % 40 < 17 ? 700u : 600u; };
    race.cars = {car, car};
    const std::string text = scripted::reportText(race, ReportKind::EngineDetection);
    const std::string cooper = "method B(for hotlaps, partly races): Cooper   \r\n";
    const std::size_t first = text.find(cooper);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(cooper, first + 1), std::string::npos) << text;
}

// Damage halfway through the stream stops the scan there; what was read still counts,
// the local driver's engine speed range (test D) too.
TEST(EngineReports, ADamagedStreamKeepsWhatWasReadOfTheLocalDriver) {
    scripted::Race race;
    race.drivers = testsupport::namedDrivers(2);
    race.drivers[0].carMake = 4;
    race.sessionId = 0;
    race.frames = 36 * 10;
    race.cars = {revving(690, 900, 900, 890), revving(700, 880, 860, 850)};
    race.extra = [](samplekit::Frame& frame, int f) {
        if (f == 200) frame.addRawItem(5, 8);
    };
    const std::string text = scripted::reportText(race, ReportKind::EngineDetection);
    EXPECT_NE(text.find("detection stopped there"), std::string::npos);
    EXPECT_NE(text.find("method D(*only* for local driver):   Honda    \r\n"), std::string::npos) << text;
}

}  // namespace
