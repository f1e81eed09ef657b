#include <gtest/gtest.h>

#include <sstream>

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/TelemetryExport.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

using testsupport::TempDir;

TEST(TelemetryExport, NameAndFileLayout) {
    TempDir dir;
    auto plan = samplekit::sampleRaceSpec(2, 2, 0);
    plan.drivers[1].name1 = "Al";
    plan.drivers[1].carMake = 4;
    samplekit::writeSimulatedReplay(dir.file("r.rpy"), plan, samplekit::sampleHeader(true));
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), 0);
    movrane::GetRpyInfo lap;
    ASSERT_EQ(lap.load(drivers, 1, 1, movrane::PRACTICE), 0);
    lap.trim(1);

    const std::string name = movrane::telemetryFileName(drivers, lap, "harbour");
    const std::string name2 = drivers.driver(1).name2.substr(0, 3);
    EXPECT_EQ(name.rfind("Al_" + name2 + "_harbour_Ferrari_", 0), 0u) << name;
    EXPECT_EQ(name.substr(name.size() - 5), "s.txt");

    ASSERT_TRUE(movrane::writeTelemetryFile(dir.file("t.txt"), lap));
    std::istringstream text(testsupport::readFileText(dir.file("t.txt")));
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, std::to_string(lap.sampleCount() - 1) + ", " + std::to_string(lap.storedLapTime()));
    std::getline(text, line);
    EXPECT_EQ(line, "Longitude, Latitude, Gear, Rpm, Orientation, Roll, Pitch, Steering, Speed, Long Acc, Lat Acc, "
                    "SlipAngle");
    int rows = 0;
    while (std::getline(text, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 11) << line;
    }
    EXPECT_EQ(rows, lap.sampleCount() - 1);
    EXPECT_FALSE(movrane::writeTelemetryFile(dir.file("missing/t.txt"), lap));
}
