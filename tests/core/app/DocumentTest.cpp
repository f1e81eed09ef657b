#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/app/CZodEvadiDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/Track.h"
#include "samplekit/SampleCircuit.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using movrane::CZodEvadiDoc;
using movrane::PRACTICE;
using movrane::RACE;
using testsupport::ScriptedUi;
using testsupport::TempDir;

namespace {

constexpr char QUALITY_PREFIX[] = "Online quality of lapdata: ";

// A lap chooser that answers with queued selections (nothing = cancel) and remembers
// what it was shown.
class ScriptedChooser : public movrane::LapChooserDialog {
public:
    std::vector<std::optional<movrane::Chooselap::Selection>> answers;
    int asked = 0;
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap& chooser) override {
        lastTreeSize = chooser.tree().size();
        if (asked >= static_cast<int>(answers.size())) throw std::runtime_error("unexpected lap chooser");
        return answers[asked++];
    }
    std::size_t lastTreeSize = 0;
};

// An installation with the sample track and a practice replay of three drivers.
struct Installation {
    TempDir dir;
    std::string replay;
    samplekit::SimulationResult result;

    explicit Installation(bool withTrack = true, const std::string& track = samplekit::SAMPLE_TRACK) {
        if (withTrack) samplekit::writeSampleTrack(dir.path(), samplekit::SAMPLE_TRACK);
        std::filesystem::create_directories(dir.path() / "replay");
        replay = dir.file("replay/practice.rpy");
        auto header = samplekit::sampleHeader(true);
        header.trackName = track;
        result = samplekit::writeSimulatedReplay(replay, samplekit::sampleRaceSpec(3, 3, 0), header);
    }
    std::string writeOther(const std::string& name, const std::string& track) {
        auto header = samplekit::sampleHeader(true);
        header.trackName = track;
        header.carSet = "othercars";
        const std::string path = dir.file("replay/" + name);
        samplekit::writeSimulatedReplay(path, samplekit::sampleRaceSpec(2, 2, 0, 11), header);
        return path;
    }
};

struct Fixture {
    ScriptedUi ui;
    ScriptedChooser chooser;
    CZodEvadiDoc doc{ui, chooser};
    explicit Fixture(const Installation& inst, bool qualityReport = true) {
        movrane::DocumentSettings s;
        s.orvDirectory = inst.dir.path().string();
        s.qualityReportOff = !qualityReport;
        doc.setSettings(s);
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) texts.push_back(m.text);
        return texts;
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
    Installation inst;
    Fixture f(inst);
    f.ui.queueFile(inst.replay);
    f.chooser.answers = {movrane::Chooselap::Selection{1, PRACTICE, 2}};
    int changes = 0;
    f.doc.onChanged = [&] { ++changes; };
    ASSERT_EQ(f.doc.loadLap(), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(f.ui.openRequests.size(), 1u);
    EXPECT_EQ(f.ui.openRequests[0].title, "Select Replay File");
    ASSERT_EQ(f.ui.openRequests[0].filters.size(), 2u);
    EXPECT_EQ(f.ui.openRequests[0].filters[0].description, "Replay files (*.rpy)");
    EXPECT_EQ(f.ui.openRequests[0].filters[1].description, "All Files(*.*)");
    EXPECT_EQ(f.chooser.lastTreeSize, 3u);
    EXPECT_EQ(f.ui.waitWindowDepth, 0);

    ASSERT_TRUE(f.doc.trackFound());
    EXPECT_EQ(f.doc.trackName(), "harbour");
    EXPECT_EQ(f.doc.loadedLaps(), 1);
    const auto& slot = f.doc.slot(0);
    EXPECT_TRUE(slot.inUse);
    EXPECT_EQ(slot.driver, 1u);
    EXPECT_EQ(slot.lapNumber, 2);
    EXPECT_EQ(slot.colour, (movrane::Colour{255, 0, 0}));
    EXPECT_TRUE(slot.line.firstPoint);

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
    Installation inst;
    Fixture f(inst, false);
    for (uint32_t driver = 0; driver < 3; ++driver) {
        ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, driver, 2), CZodEvadiDoc::LoadResult::Loaded);
    }
    EXPECT_TRUE(f.ui.messages.empty()) << "no quality report when switched off";
    EXPECT_EQ(f.doc.loadedLaps(), 3);
    EXPECT_EQ(f.doc.slot(2).colour, (movrane::Colour{0, 127, 0}));
    EXPECT_FALSE(f.doc.slot(1).lap->isPlayer());
    EXPECT_TRUE(f.doc.slot(0).lap->isPlayer());
    expectLapAsDriven(*f.doc.slot(0).lap, f.doc.track()->lapLength());

    f.doc.removeLap(1);
    EXPECT_EQ(f.doc.loadedLaps(), 2);
    EXPECT_TRUE(f.doc.trackFound());
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 2, 3), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(f.doc.slot(1).driver, 2u) << "the first free slot is taken";
    EXPECT_EQ(f.doc.slot(1).colour, (movrane::Colour{0, 0, 255}));
}

TEST(DocumentLoad, SixthLapIsRefusedBeforeAnyDialog) {
    Installation inst;
    Fixture f(inst, false);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 1 + i % 3), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(f.doc.loadLap(), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_TRUE(f.ui.openRequests.empty());
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "Max number of laps already loaded!");
}

TEST(DocumentLoad, OtherTrackIsRefusedSameTrackOtherCarSetAccepted) {
    Installation inst;
    Fixture f(inst, false);
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 2), CZodEvadiDoc::LoadResult::Loaded);
    const std::string other = inst.writeOther("other.rpy", "lakeside");
    EXPECT_EQ(f.doc.commandLineLoad(other, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Failed);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text, "This file is not from the same track!");
    const std::string same = inst.writeOther("same.rpy", "harbour");
    EXPECT_EQ(f.doc.commandLineLoad(same, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(f.doc.loadedLaps(), 2);
}

TEST(DocumentLoad, FailuresLeaveTheDocumentAsItWas) {
    Installation inst;
    Fixture f(inst, false);
    const std::string empty = inst.dir.file("replay/empty.rpy");
    testsupport::writeFileBytes(empty, {});
    EXPECT_EQ(f.doc.commandLineLoad(empty, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 0), CZodEvadiDoc::LoadResult::Failed)
        << "the time before the line is no lap";
    EXPECT_EQ(f.doc.commandLineLoad(inst.replay, RACE, 0, 1), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 7, 1), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(f.messageTexts(), (std::vector<std::string>{"HeaderClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!",
                                                           "RpyDataClass: Error reading file!"}));
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_FALSE(f.doc.trackFound()) << "the track of a lap that failed is released";
    EXPECT_FALSE(f.doc.slot(0).inUse);
    // The fixed texts stay; the file and the reason are the boxes' details.
    EXPECT_EQ(f.ui.messages[0].detail, "File: " + empty + "\nReason: the file is empty.");
    EXPECT_EQ(f.ui.messages[1].detail, "File: " + inst.replay + "\nReason: the lap's data is not stored in the file.");

    auto truncated = testsupport::readFileBytes(inst.replay);
    truncated.resize(truncated.size() / 2);
    const std::string cut = inst.dir.file("replay/cut.rpy");
    testsupport::writeFileBytes(cut, truncated);
    EXPECT_EQ(f.doc.commandLineLoad(cut, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(f.ui.messages.back().text, "DriversClass: Error reading file!");
    EXPECT_EQ(f.ui.messages.back().detail.rfind("File: " + cut + "\nReason: the ", 0), 0u) << f.ui.messages.back().detail;
}

TEST(DocumentLoad, CancellingTheFileOrTheChooserLoadsNothing) {
    Installation inst;
    Fixture f(inst);
    f.ui.queueFile(std::nullopt);
    EXPECT_EQ(f.doc.loadLap(), CZodEvadiDoc::LoadResult::Cancelled);
    f.chooser.answers = {std::nullopt};
    EXPECT_EQ(f.doc.shellOpen(inst.replay), CZodEvadiDoc::LoadResult::Cancelled);
    EXPECT_EQ(f.chooser.asked, 1);
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(DocumentLoad, WithoutTrackTheLapLoadsWithoutDerivedData) {
    Installation inst(false);
    Fixture f(inst, false);
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 2), CZodEvadiDoc::LoadResult::Loaded);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].text,
              "Can't find track for this replay!\nYou'll not be able to see any track maps nor speed data!\n"
              "Make sure Orv Path is set correctly in File->Settings");
    EXPECT_FALSE(f.doc.trackFound());
    const auto& lap = *f.doc.slot(0).lap;
    EXPECT_GT(lap.sampleCount(), 100);
    EXPECT_EQ(lap.sample(50).speed, 0);
    EXPECT_GT(lap.sample(50).distance, 0);
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 3), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(f.ui.messages.size(), 1u) << "the track message comes with the first lap only";
}

TEST(DocumentLoad, ClearReleasesLapsAndTrack) {
    Installation inst;
    Fixture f(inst, false);
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 0, 2), CZodEvadiDoc::LoadResult::Loaded);
    ASSERT_EQ(f.doc.commandLineLoad(inst.replay, PRACTICE, 1, 2), CZodEvadiDoc::LoadResult::Loaded);
    f.doc.clear();
    EXPECT_EQ(f.doc.loadedLaps(), 0);
    EXPECT_FALSE(f.doc.trackFound());
    EXPECT_TRUE(f.doc.usedSlots().empty());
    const std::string other = inst.writeOther("other.rpy", "lakeside");
    EXPECT_EQ(f.doc.commandLineLoad(other, PRACTICE, 0, 1), CZodEvadiDoc::LoadResult::Loaded)
        << "an empty document takes any track";
}
