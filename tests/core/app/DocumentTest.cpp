#include <gtest/gtest.h>

#include <tuple>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/LoadedLapsArranger.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/Track.h"
#include "support/DocumentFixture.h"

using movrane::CZodEvadiDoc;
using movrane::PRACTICE;
using movrane::RACE;

namespace {

constexpr char QUALITY_PREFIX[] = "Online quality of lapdata: ";
using Result = CZodEvadiDoc::LoadResult;

// The sample track and a practice replay of three drivers.
struct Fixture : testsupport::DocumentFixture {
    std::string practice;
    explicit Fixture(bool withTrack = true) {
        if (withTrack) writeSampleTrack();
        practice = writePractice("practice.rpy", 3);
    }
};

// The trimmed lap starts and ends at the line, and its derived speed is the driven speed:
// the lap length over the lap time on average.
void expectLapAsDriven(const movrane::GetRpyInfo& lap, double lapLength) {
    const int n = lap.sampleCount();
    EXPECT_GT(lap.sample(1).distance, lapLength - 100) << "sample 1 is the last before the line";
    EXPECT_LT(lap.sample(2).distance, 100) << "sample 2 is the first after it";
    EXPECT_GT(lap.sample(n - 2).distance, lapLength - 100);
    EXPECT_LT(lap.sample(n - 1).distance, 100);
    double sum = 0;
    int counted = 0;
    for (int k = 3; k <= n - 2; ++k, ++counted) sum += lap.sample(k).speed;
    const double driven = lapLength / (lap.storedLapTime() / 1000.0) * 3.6;
    EXPECT_NEAR(sum / counted, driven, driven * 0.01);
}

}  // namespace

TEST(DocumentLoad, MenuLoadAsksForFileAndLapThenDerivesAgainstTheTrack) {
    Fixture f;
    f.setSettings(true);
    f.ui.queueFile(f.practice);
    f.chooser.answers = {movrane::Chooselap::Selection{1, PRACTICE, 2}};
    int changes = 0;
    f.doc.onChanged = [&] { ++changes; };
    ASSERT_EQ(f.doc.loadLap(), Result::Loaded);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(f.ui.openRequests.size(), 1u);
    const auto& request = f.ui.openRequests[0];
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(std::tuple(request.title, request.filters[0].description, request.filters[1].description),
              std::tuple("Select Replay File", "Replay files (*.rpy)", "All Files(*.*)"));
    EXPECT_EQ(std::tuple(f.chooser.lastTreeSize, f.ui.waitWindowDepth), std::tuple(3u, 0));

    ASSERT_TRUE(f.doc.trackFound());
    EXPECT_EQ(std::tuple(f.doc.trackName(), f.doc.loadedLaps()), std::tuple("harbour", 1));
    const auto& slot = f.doc.slot(0);
    EXPECT_EQ(std::tuple(slot.inUse, slot.driver, slot.lapNumber, slot.line.firstPoint), std::tuple(true, 1u, 2, true));
    EXPECT_EQ(slot.colour, (movrane::Colour{255, 0, 0}));

    // Only the quality report: the stored lap time agrees with the samples.
    ASSERT_EQ(f.ui.messages.size(), 1u) << f.ui.messages.back().text;
    EXPECT_EQ(f.ui.messages[0].text.rfind(QUALITY_PREFIX, 0), 0u);

    const movrane::GetRpyInfo& lap = *slot.lap;
    EXPECT_FALSE(lap.isPlayer());
    expectLapAsDriven(lap, f.doc.track()->lapLength());
    EXPECT_GT(lap.splitTimes[2], lap.splitTimes[1]);
    EXPECT_GT(lap.splitTimes[1], lap.splitTimes[0]);
}

TEST(DocumentLoad, CommandLineLoadsWithoutDialogsAndFillsSlotsInOrder) {
    Fixture f;
    for (uint32_t driver = 0; driver < 3; ++driver) f.load(f.practice, PRACTICE, driver, 2);
    EXPECT_TRUE(f.ui.messages.empty()) << "no quality report when switched off";
    EXPECT_EQ(f.doc.loadedLaps(), 3);
    EXPECT_EQ(f.doc.slot(2).colour, (movrane::Colour{0, 127, 0}));
    EXPECT_FALSE(f.doc.slot(1).lap->isPlayer());
    EXPECT_TRUE(f.doc.slot(0).lap->isPlayer());
    expectLapAsDriven(*f.doc.slot(0).lap, f.doc.track()->lapLength());

    f.doc.removeLap(1);
    EXPECT_EQ(f.doc.loadedLaps(), 2);
    EXPECT_TRUE(f.doc.trackFound());
    f.load(f.practice, PRACTICE, 2, 3);
    EXPECT_EQ(f.doc.slot(1).driver, 2u) << "the first free slot is taken";
    EXPECT_EQ(f.doc.slot(1).colour, (movrane::Colour{0, 0, 255}));
}

TEST(DocumentLoad, ArrangerReordersAndReleasesLapsWhileSlotsKeepTheirColours) {
    Fixture f;
    for (uint32_t driver = 0; driver < 3; ++driver) f.load(f.practice, PRACTICE, driver, 2);
    movrane::LoadedLapsArranger arranger(f.doc, f.ui);
    EXPECT_EQ(arranger.moveUp(2), 1);
    EXPECT_EQ(arranger.moveUp(0), 0);
    EXPECT_FALSE(arranger.remove(0));
    arranger.moveDown(std::nullopt);
    EXPECT_EQ(f.ui.messages.back().text, "Choose a lap to move!");
    EXPECT_EQ(f.ui.messages.back().caption, "No lap choosen!");
    ASSERT_EQ(arranger.rows().size(), 2u);
    EXPECT_EQ(arranger.rows()[0].columns[2], "Practice");
    arranger.apply(f.doc);
    EXPECT_EQ(std::tuple(f.doc.loadedLaps(), f.doc.slot(0).driver, f.doc.slot(1).driver, f.doc.slot(2).inUse),
              std::tuple(2, 2u, 1u, false));
    EXPECT_EQ(f.doc.slot(0).colour, (movrane::Colour{255, 0, 0}));
    EXPECT_TRUE(f.doc.trackFound());
}

TEST(DocumentLoad, SixthLapIsRefusedBeforeAnyDialog) {
    Fixture f;
    for (int i = 0; i < 5; ++i) f.load(f.practice, PRACTICE, 0, 1 + i % 3);
    EXPECT_EQ(f.doc.loadLap(), Result::Failed);
    EXPECT_TRUE(f.ui.openRequests.empty());
    EXPECT_EQ(f.ui.messageTexts(), std::vector<std::string>{"Max number of laps already loaded!"});
}

TEST(DocumentLoad, OnlyLapsOfTheLoadedTrackJoinUntilTheDocumentIsCleared) {
    Fixture f;
    f.load(f.practice, PRACTICE, 0, 2);
    const std::string other = f.writePractice("other.rpy", 2, "lakeside", "othercars", 11);
    EXPECT_EQ(f.doc.commandLineLoad(other, PRACTICE, 0, 1), Result::Failed);
    EXPECT_EQ(f.messageTexts(), std::vector<std::string>{"This file is not from the same track!"});
    f.load(f.writePractice("same.rpy", 2, "harbour", "othercars", 11), PRACTICE, 0, 1);
    EXPECT_EQ(f.doc.loadedLaps(), 2) << "the same track with another car set";
    f.doc.clear();
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_FALSE(f.doc.trackFound());
    EXPECT_TRUE(f.doc.usedSlots().empty());
    EXPECT_EQ(f.doc.commandLineLoad(other, PRACTICE, 0, 1), Result::Loaded) << "an empty document takes any track";
}

TEST(DocumentLoad, FailuresLeaveTheDocumentAsItWas) {
    Fixture f;
    const std::string empty = f.replay("empty.rpy");
    testsupport::writeFileBytes(empty, {});
    EXPECT_EQ(f.doc.commandLineLoad(empty, PRACTICE, 0, 1), Result::Failed);
    EXPECT_EQ(f.doc.commandLineLoad(f.practice, PRACTICE, 0, 0), Result::Failed)
        << "the time before the line is no lap";
    EXPECT_EQ(f.doc.commandLineLoad(f.practice, RACE, 0, 1), Result::Failed);
    EXPECT_EQ(f.doc.commandLineLoad(f.practice, PRACTICE, 7, 1), Result::Failed);
    EXPECT_EQ(f.messageTexts(), (std::vector<std::string>{"HeaderClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!"}));
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_FALSE(f.doc.trackFound()) << "the track of a lap that failed is released";
    EXPECT_FALSE(f.doc.slot(0).inUse);
    // The fixed texts stay; the file and the reason are the boxes' details.
    EXPECT_EQ(f.ui.messages[0].detail, "File: " + empty + "\nReason: the file is empty.");
    EXPECT_EQ(f.ui.messages[1].detail, "File: " + f.practice + "\nReason: the lap's data is not stored in the file.");

    auto truncated = testsupport::readFileBytes(f.practice);
    truncated.resize(truncated.size() / 2);
    const std::string cut = f.replay("cut.rpy");
    testsupport::writeFileBytes(cut, truncated);
    EXPECT_EQ(f.doc.commandLineLoad(cut, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(f.ui.messages.back().text, "DriversClass: Error reading file!");
    EXPECT_EQ(f.ui.messages.back().detail.rfind("File: " + cut + "\nReason: the ", 0), 0u) << f.ui.messages.back().detail;
}

TEST(DocumentLoad, CancellingTheFileOrTheChooserLoadsNothing) {
    Fixture f;
    f.setSettings(true);
    f.ui.queueFile(std::nullopt);
    EXPECT_EQ(f.doc.loadLap(), Result::Cancelled);
    f.chooser.answers = {std::nullopt};
    EXPECT_EQ(f.doc.shellOpen(f.practice), Result::Cancelled);
    EXPECT_EQ(f.chooser.asked, 1);
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(DocumentLoad, WithoutTrackTheLapLoadsWithoutDerivedData) {
    Fixture f(false);
    f.load(f.practice, PRACTICE, 0, 2);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text,
              "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\n"
              "Make sure Orv Path is set correctly in File->Settings");
    EXPECT_FALSE(f.doc.trackFound());
    const auto& lap = *f.doc.slot(0).lap;
    EXPECT_GT(lap.sampleCount(), 100);
    EXPECT_EQ(lap.sample(50).speed, 0);
    EXPECT_GT(lap.sample(50).distance, 0);
    f.load(f.practice, PRACTICE, 0, 3);
    EXPECT_EQ(f.ui.messages.size(), 1u) << "the track message comes with the first lap only";
}
