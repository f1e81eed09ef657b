#include <gtest/gtest.h>

#include <tuple>

#include "core/app/Chooselap.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/TempDir.h"

using movrane::Chooselap;
using movrane::PRACTICE;
using movrane::RACE;
using testsupport::TempDir;

namespace {

// Three drivers (the third named as an alien is), a practice of three timed laps (the
// player's third lap invalid, driver 1's second off track) and a race of two laps; written
// once for all cases.
class ChooselapReplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        auto plan = samplekit::sampleRaceSpec(3, 3, 2);
        plan.drivers[2].name1 = "Tavoniak";
        plan.sessions[0].marks = {{0, 3, samplekit::FLAG_INVALID}, {1, 2, samplekit::FLAG_OFF_TRACK}};
        samplekit::writeSimulatedReplay(dir_->file("r.rpy"), plan, samplekit::sampleHeader(false));
    }
    static void TearDownTestSuite() { delete dir_; }
    void SetUp() override {
        ASSERT_EQ(header.load(dir_->file("r.rpy")), 0);
        ASSERT_EQ(drivers.load(dir_->file("r.rpy")), 0);
    }
    static inline TempDir* dir_ = nullptr;
    movrane::Header header;
    movrane::Drivers drivers;
};

}  // namespace

TEST_F(ChooselapReplay, InformationAndTree) {
    Chooselap chooser(header, drivers);
    const auto& info = chooser.information();
    EXPECT_EQ(std::tuple(info.trackName, info.practiceLaps, info.raceLaps, info.drivers, info.release),
              std::tuple("harbour", "Yes", "Yes", "3", ">=1.2"));

    const auto& tree = chooser.tree();
    ASSERT_EQ(tree.size(), 3u);
    ASSERT_EQ(tree[0].sessions.size(), 2u);
    EXPECT_EQ(tree[0].sessions[0].text, "Practice Laps");
    EXPECT_EQ(tree[0].sessions[1].text, "Race Laps");
    const auto& laps = tree[0].sessions[0].laps;
    ASSERT_EQ(static_cast<int>(laps.size()), drivers.lapCount(0, PRACTICE) + 1);
    EXPECT_EQ(laps[0].text.rfind("Time before start/finish: ", 0), 0u);
    EXPECT_FALSE(laps[0].bold);
    EXPECT_EQ(laps[3].text.substr(laps[3].text.size() - 5), " [16]") << laps[3].text;
    EXPECT_FALSE(laps[3].bold) << "flagged invalid";
    EXPECT_TRUE(laps[2].bold);
    // Node texts.
    EXPECT_EQ(Chooselap::lapNodeText(3, 83456), "Lap 3: 1m 23.456s");
    EXPECT_EQ(Chooselap::lapNodeText(1, (64u << 24) | 61000), "Lap 1: 1m 01.000s [64]");
    EXPECT_EQ(Chooselap::lapNodeText(0, 0xCDCDCDCD), "Time before start/finish: No time");
    EXPECT_EQ(Chooselap::flagByteOfNodeText("Lap 1: 1m 01.000s [80]"), 80u);
    EXPECT_EQ(Chooselap::flagByteOfNodeText("Lap 1: 1m 01.000s"), 0u);
    // Selection labels and flags.
    Chooselap selecting(header, drivers);
    EXPECT_EQ(selecting.flagTexts(), std::vector<std::string>{"None selected"});
    EXPECT_EQ(selecting.driverKindLabel(), "");

    selecting.selectLap(1, PRACTICE, 2);
    EXPECT_EQ(selecting.driverKindLabel(), "AI-car");
    EXPECT_EQ(selecting.sessionLabel(), "Practice Laps");
    EXPECT_EQ(selecting.flagTexts(), std::vector<std::string>{"Off track"});
    EXPECT_FALSE(selecting.alienSelected());

    selecting.selectLap(0, RACE, 1);
    EXPECT_EQ(selecting.driverKindLabel(), "Human");
    EXPECT_EQ(selecting.sessionLabel(), "Race Laps");
    EXPECT_EQ(selecting.flagTexts(), std::vector<std::string>{"None reported"});

    selecting.selectDriver(2);
    EXPECT_TRUE(selecting.alienSelected());
    // OK needs a valid lap.
    Chooselap checked(header, drivers);
    const auto verdictOf = [](const Chooselap::Verdict& v) { return std::tuple(v.accepted, v.message, v.caption); };
    EXPECT_EQ(verdictOf(checked.ok()), std::tuple(false, "Choose a lap to view!", "No lap choosen!"));
    checked.selectLap(0, PRACTICE, 3);
    EXPECT_EQ(verdictOf(checked.ok()),
              std::tuple(false, "Data for this lap is not stored in the replay file\nor lap isn't complete.",
                         "Not a valid lap!"));

    checked.selectLap(0, PRACTICE, 2);
    EXPECT_TRUE(checked.ok().accepted);
    checked.selectLap(0, PRACTICE, 99);
    EXPECT_FALSE(checked.selectedLap().has_value()) << "no such lap node";
}

