// Mechanical scan on damaged streams and the detection step on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ReportCases.h"
#include "core/reports/MechanicalScan.h"
#include "samplekit/CarRecords.h"
#include "samplekit/ReplayWriter.h"

namespace {

using movrane::ReportKind;
using reportcases::expectGolden;
using reportcases::LoadedReplay;

// The lines every mechanical report starts with.
const std::string OPENING =
    "\r\nRACE - MECHANICAL PROBLEMS REPORT\r\n\r\nStarting scan of replay file(this might take a while)...\r\n"
    "\r\nSearching for race data...\r\n\r\n";

// Offset of the time stamp item that carries the given race time.
std::size_t timeStampOffset(const std::vector<unsigned char>& bytes, uint32_t ms) {
    const uint32_t word = ((ms / 10) << 8) | 1;
    const unsigned char item[8] = {13, 0, 8, 0, static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
                                   static_cast<unsigned char>(word >> 16), static_cast<unsigned char>(word >> 24)};
    const auto it = std::search(bytes.begin(), bytes.end(), std::begin(item), std::end(item));
    if (it == bytes.end()) throw std::runtime_error("time stamp not found");
    return static_cast<std::size_t>(it - bytes.begin());
}

TEST(MechanicalScan, AnItemOfAnUnknownTypeEndsTheScanWithTheDamageSaid) {
    const LoadedReplay replay(reportcases::standardRace());
    auto bytes = testsupport::readFileBytes(replay.path());
    bytes[timeStampOffset(bytes, 65000)] = 5;
    testsupport::writeFileBytes(replay.path(), bytes);
    expectGolden("damaged/BadItemType", replay.generate(ReportKind::Mechanical));
}

TEST(MechanicalScan, AFileCutInTheMiddleOfAFrameEndsTheScanWithTheDamageSaid) {
    const LoadedReplay replay(reportcases::standardRace());
    const auto bytes = testsupport::readFileBytes(replay.path());
    std::filesystem::resize_file(replay.path(), timeStampOffset(bytes, 75000) + 2);
    expectGolden("damaged/CutMidFrame", replay.generate(ReportKind::Mechanical));
}

TEST(MechanicalScan, AMissingFileSaysSoAfterTheOpeningLines) {
    const LoadedReplay replay(reportcases::standardRace());
    std::filesystem::remove(replay.path());
    EXPECT_EQ(replay.generate(ReportKind::Mechanical),
              OPENING +
              "Error opening file!\r\n");
}

class Detection : public ::testing::Test {
protected:
    Detection() : replay_(reportcases::standardRace()), report_(replay_.report()) {}
    std::string change(int byte, uint8_t value, uint32_t slot) {
        text_.clear();
        scan_.reportChange(byte, value, slot);
        return text_;
    }
    LoadedReplay replay_;
    movrane::Report report_;
    movrane::CarStateTable cars_{};
    std::string text_;
    movrane::MechanicalScan scan_{report_.data(), cars_, [this](const std::string& s) { text_ += s; }};
};

TEST_F(Detection, AnUnknownSlotNamesNobodyButKeepsTheState) {
    scan_.setCurrentTime(5000);
    EXPECT_EQ(change(12, 10, 9), "") << "no driver has slot 9";
    EXPECT_EQ(cars_[9][12], 10);
    EXPECT_EQ(change(12, 10, 25), "") << "slot 25 lies outside the table";
}

TEST_F(Detection, HeadingsTimeLinesAndDetails) {
    scan_.setCurrentTime(5000);
    EXPECT_EQ(change(12, 10, 0), "\r\n05.000s\r\nAnn Alpha - spotters reporting:\r\nthe car has an engine problem.\r\n");
    EXPECT_EQ(change(12, 20, 0), "the engine problem is getting worse.\r\n") << "same car, same second";
    EXPECT_EQ(change(12, 70, 0), "") << "values above 63 have no detail and the heading is not repeated";
    EXPECT_EQ(change(12, 63, 1), "Bob Bravo - spotters reporting:\r\nthe engine has exploded.\r\n");
    EXPECT_EQ(change(13, 60, 1), "Bob Bravo retires!\r\nOfficial retirement reason is: Fuel Injection\r\n");
    scan_.setCurrentTime(6000);
    EXPECT_EQ(change(14, 16, 1), "\r\n06.000s\r\nBob Bravo - spotters reporting:\r\nthe car slows down and stops.\r\n");
    EXPECT_EQ(change(14, 17, 1), "") << "no fire to put out";
    EXPECT_EQ(change(11, 0xC3, 1),
              "severe problems with left front suspension.\r\nsevere problems with right rear suspension.\r\n");
    EXPECT_EQ(change(11, 0xC2, 1), "medium problems with left front suspension.\r\n") << "only changed wheels";
}

TEST_F(Detection, AResetPrintsItsTimeEvenWhenJustPrinted) {
    scan_.setCurrentTime(7000);
    change(9, 1, 2);
    change(4, 1, 2);
    EXPECT_EQ(change(9, 0, 2), "") << "byte 4 is still set";
    EXPECT_EQ(change(4, 0, 2),
              "\r\n07.000s\r\nCid Charlie makes a Shift-R? (detection method A - mech problems fixed)\r\n");
}

// A race table but no race time stamp in the stream: the race's session id is unknown (0),
// and the practice stamps (session 0) must not pass for the race.
TEST(MechanicalScan, PracticeStampsNeverPassForTheRace) {
    testsupport::FixtureRace r = reportcases::standardRace();
    r.raceSeconds = 0;
    r.conditions = {{100000, 0, false, testsupport::conditionBytes({{9, 1}})}};
    const LoadedReplay replay(r);
    EXPECT_EQ(replay.generate(ReportKind::Mechanical),
              OPENING +
              "Replay file starts 1m40.028s into the practice session.\r\n"
              "\r\nEnd of replay file found - stopping detection.\r\n"
              "\r\nGenerated with Movrane\r\n");
}

// A car condition item too short for its 16 bytes is skipped; the scan reads on behind it.
TEST(MechanicalScan, AShortConditionItemIsSkipped) {
    testsupport::TempDir dir;
    samplekit::ReplayDescription description;
    description.drivers.resize(1);
    description.drivers[0].name1 = "Ann";
    description.drivers[0].name2 = "Alpha";
    description.practiceTable = samplekit::LapTable{"QTPL", {}};
    description.raceTable = samplekit::LapTable{"BTPL", {{0, 20000, {110000}}}};
    const std::string path = dir.file("short.rpy");
    {
        samplekit::ReplayWriter writer(path, description);
        samplekit::Frame stamp;
        stamp.addU32Item(13, ((30000 / 10) << 8) | 1);
        writer.writeFrame(stamp);
        samplekit::Frame conditions;
        const auto full = samplekit::encodeCarCondition(0, testsupport::conditionBytes({{12, 63}}));
        conditions.addRawItem(10, 12, std::vector<uint8_t>(full.begin(), full.end()));
        conditions.addItem(10, samplekit::encodeCarCondition(0, testsupport::conditionBytes({{9, 2}})));
        writer.writeFrame(conditions);
        writer.finish();
    }
    movrane::Header header;
    movrane::Drivers drivers;
    ASSERT_EQ(header.load(path), 0);
    ASSERT_EQ(drivers.load(path), 0) << drivers.failureText();
    movrane::Report report(header, drivers, path);
    EXPECT_EQ(report.generate(ReportKind::Mechanical),
              OPENING +
              "Replay file starts 30.028s into the race.\r\n"
              "\r\nRace data found - beginning detection.\r\n\r\n"
              "\r\nLeader of the race starts lap 1\r\n"
              "\r\n30.000s\r\nAnn Alpha - spotters reporting:\r\nmedium problems with left front tire.\r\n"
              "\r\nEnd of replay file found - stopping detection.\r\n"
              "\r\nGenerated with Movrane\r\n");
}

}  // namespace
