#include <gtest/gtest.h>

#include <algorithm>

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
    const auto lines = testsupport::splitLines(testsupport::readFileText(dir.file("t.txt")));
    ASSERT_EQ(static_cast<int>(lines.size()), 2 + lap.sampleCount() - 1);
    EXPECT_EQ(lines[0], std::to_string(lap.sampleCount() - 1) + ", " + std::to_string(lap.storedLapTime()));
    EXPECT_EQ(lines[1], "Longitude, Latitude, Gear, Rpm, Orientation, Roll, Pitch, Steering, Speed, Long Acc, Lat Acc, "
                        "SlipAngle");
    for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ','), 11);
    EXPECT_FALSE(movrane::writeTelemetryFile(dir.file("missing/t.txt"), lap));
}
