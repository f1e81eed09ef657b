// Start-up arguments: ordinary start, -loadrpy and -expreports.
#include <gtest/gtest.h>

#include <tuple>

#include "core/app/CommandLine.h"

namespace {

using movrane::parseCommandLine;
using movrane::StartRequest;
using Mode = StartRequest::Mode;

std::tuple<std::string, int, int, int> fieldsOf(const movrane::CommandLineLap& lap) {
    return {lap.replayPath, lap.session, lap.driver, lap.lap};
}

TEST(CommandLine, LoadLapsWithFreeTags) {
    const StartRequest r =
        parseCommandLine({"program", "-loadrpy", "-c2", "-fa.rpy", "-s1", "-d3", "-l5", "xxb.rpy", "ab0", "??0", "-l2"});
    ASSERT_EQ(r.mode, Mode::LoadLaps);
    EXPECT_EQ(r.announcedLaps, 2);
    ASSERT_EQ(r.laps.size(), 2u);
    EXPECT_EQ(fieldsOf(r.laps[0]), std::make_tuple("a.rpy", 1, 3, 5));
    EXPECT_EQ(fieldsOf(r.laps[1]), std::make_tuple("b.rpy", 0, 0, 2));
    // The lap count takes the leading digits.
    EXPECT_EQ(parseCommandLine({"p", "-loadrpy", "-c02x"}).announcedLaps, 2);
    EXPECT_EQ(parseCommandLine({"p", "-loadrpy", "-cx2"}).announcedLaps, 0);
    EXPECT_EQ(parseCommandLine({"p", "-loadrpy", "-c"}).announcedLaps, 0) << "an argument shorter than its tag";
    EXPECT_EQ(parseCommandLine({"p", "-loadrpy", "-c99999999999999999999"}).announcedLaps, INT32_MAX);
    // Laps announced without their arguments are left out.
    const StartRequest announced = parseCommandLine({"p", "-loadrpy", "-c3", "-fa.rpy", "-s1", "-d3", "-l5", "-fb.rpy", "-s0"});
    EXPECT_EQ(announced.announcedLaps, 3);
    ASSERT_EQ(announced.laps.size(), 1u);
    EXPECT_EQ(announced.laps[0].replayPath, "a.rpy");
    EXPECT_EQ(movrane::missingLapsMessage(announced),
              "The command line announces 3 laps but gives the arguments of 1; 2 laps are not loaded.");
    EXPECT_FALSE(movrane::missingLapsMessage(parseCommandLine({"p", "-loadrpy", "-c1", "a", "b", "c", "d"})));
    // Sessions 0 and 1 name the lap tables; any other number names none.
    using movrane::lapTableOf;
    EXPECT_EQ(lapTableOf({"a.rpy", 0, 3, 5}), movrane::PRACTICE);
    EXPECT_EQ(lapTableOf({"a.rpy", 1, 3, 5}), movrane::RACE);
    EXPECT_FALSE(lapTableOf({"a.rpy", 2, 3, 5}));
    EXPECT_EQ(movrane::unknownSessionMessage({"a.rpy", 2, 3, 5}),
              "The command line names session 2 for lap 5 of driver 3 in a.rpy; only 0 (practice) and 1 (race) exist, "
              "so that lap is not loaded.");
    // An ordinary start and a shell open.
    EXPECT_EQ(parseCommandLine({"p"}).mode, Mode::Ordinary);
    const StartRequest open = parseCommandLine({"p", "a.rpy"});
    EXPECT_EQ(open.mode, Mode::OpenReplay);
    EXPECT_EQ(open.replayPath, "a.rpy");
    EXPECT_EQ(parseCommandLine({"p", "-expreports"}).mode, Mode::Ordinary) << "two arguments are an ordinary start";
    EXPECT_EQ(parseCommandLine({"p", "-other", "x", "y"}).mode, Mode::Ordinary);
    // -expreports and the five-argument -mech rule.
    const StartRequest five = parseCommandLine({"p", "-expreports", "-fa.rpy", "-oC:\\out\\a", "-mech"});
    EXPECT_EQ(five.mode, Mode::ExportReports);
    EXPECT_EQ(five.replayPath, "a.rpy");
    EXPECT_EQ(five.prefix, "C:\\out\\a");
    EXPECT_TRUE(five.withMechanical);
    EXPECT_FALSE(parseCommandLine({"p", "-expreports", "-fa.rpy", "-oout", "-mech", "extra"}).withMechanical);
    EXPECT_FALSE(parseCommandLine({"p", "-expreports", "-fa.rpy", "-oout", "-MECH"}).withMechanical);
    const StartRequest tags = parseCommandLine({"p", "-expreports", "zza.rpy", "99/tmp/"});
    EXPECT_EQ(tags.replayPath, "a.rpy");
    EXPECT_EQ(tags.prefix, "/tmp/");
    EXPECT_FALSE(tags.withMechanical);
    const StartRequest noPrefix = parseCommandLine({"p", "-expreports", "-fa.rpy"});
    EXPECT_EQ(noPrefix.mode, Mode::ExportReports);
    EXPECT_EQ(noPrefix.prefix, "");
}

}  // namespace
