#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/DocumentExports.h"
#include "core/app/MergeParameters.h"
#include "core/app/ReplayWriting.h"
#include "core/platform/Files.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplayWriters.h"
#include "support/DocumentFixture.h"
#include "support/SmallReplay.h"

using movrane::GetRpyInfo;
using movrane::MergeParameters;
using movrane::PRACTICE;
using movrane::ReplayWriteResult;

namespace {

class FirstLapPicker : public movrane::LoadedLapPicker {
public:
    std::optional<int> pickLap(const std::string&, const std::vector<int>& slots, const std::vector<std::string>&) override {
        return slots.front();
    }
};

class ScriptedParameters : public movrane::MergeParametersEditor {
public:
    bool accept = true;
    std::vector<std::string> texts;  // typed into the rows, when given
    std::vector<std::string> shown;  // the proposed offsets
    bool edit(MergeParameters& parameters) override {
        for (const auto& row : parameters.rows()) shown.push_back(row.offset);
        for (std::size_t i = 0; i < texts.size(); ++i) parameters.setOffsetText(i, texts[i]);
        return accept;
    }
};

// The sample track and a practice replay of three drivers.
struct Writing : testsupport::DocumentFixture {
    std::string practice;
    FirstLapPicker picker;
    ScriptedParameters parameters;
    Writing() {
        writeSampleTrack();
        practice = writePractice("p.rpy", 3);
    }
};

// The lap loaded again from a written replay, as the document loads it.
struct Reloaded : testsupport::DocumentFixture {
    Reloaded(const std::string& path, uint32_t driver, int lap = 1) {
        writeSampleTrack();
        load(path, PRACTICE, driver, lap);
    }
    const GetRpyInfo& lap() const { return *doc.slot(0).lap; }
};

void expectSameSamples(const GetRpyInfo& original, const GetRpyInfo& again, bool exact) {
    ASSERT_EQ(again.sampleCount(), original.sampleCount());
    EXPECT_EQ(again.storedLapTime(), original.storedLapTime());
    for (int k = 1; k <= original.sampleCount(); ++k) {
        const auto& a = original.sample(k);
        const auto& b = again.sample(k);
        ASSERT_EQ(b.hasData, a.hasData) << k;
        EXPECT_EQ(b.lapPosition, a.lapPosition) << k;
        EXPECT_EQ(b.gear, a.gear) << k;
        EXPECT_EQ(b.orientation, a.orientation) << k;
        EXPECT_EQ(b.steering, a.steering) << k;
        EXPECT_EQ(b.roll, a.roll) << k;
        EXPECT_NEAR(b.engineSpeed, a.engineSpeed, exact ? 0 : a.engineSpeed * 0.01 + 5) << k;
        // The merge encodes lateral offsets with its own factor; they come back within 3 %.
        EXPECT_NEAR(b.lateral, a.lateral, exact ? 0 : std::abs(a.lateral) * 0.03 + 0.01) << k;
        EXPECT_NEAR(b.speed, a.speed, exact ? 0 : 3.0) << k;
    }
}

}  // namespace

TEST(SaveReplayLap, ExtractedLapLoadsAgainWithTheSameSamples) {
    for (uint32_t driver : {0u, 2u}) {  // the player's car item and another car's record
        Writing w;
        w.load(w.practice, PRACTICE, driver, 2);
        const std::string out = w.dir.file("lap");
        w.ui.queueFile(out);
        w.ui.queueYesNo(false);
        ASSERT_EQ(movrane::saveReplayLap(w.doc, w.ui, w.picker), ReplayWriteResult::Written);
        EXPECT_EQ(std::filesystem::path(w.ui.saveRequests[0].initialPath).filename().string().substr(0, 16),
                  driver == 0 ? "Ada_Mar_harbour_" : "Raf_Dun_harbour_");
        ASSERT_TRUE(std::filesystem::exists(out + ".rpy")) << "the extension is appended";

        movrane::Drivers extracted;
        ASSERT_EQ(extracted.load(out + ".rpy"), 0);
        const auto& window = w.doc.slot(0).lap->streamWindow();
        EXPECT_EQ(extracted.streamLength(), window.length());
        EXPECT_EQ(std::filesystem::file_size(out + ".rpy"), extracted.streamOffset() + 12 + window.length());
        // In the new file the lap is lap 2 still, and its window is the whole stream.
        Reloaded again(out + ".rpy", driver, 2);
        expectSameSamples(*w.doc.slot(0).lap, again.lap(), true);
    }
}

TEST(SaveReplayLap, GuardsNamesAndFailures) {
    Writing w;
    EXPECT_EQ(movrane::saveReplayLap(w.doc, w.ui, w.picker), ReplayWriteResult::Refused);
    w.load(w.practice, PRACTICE, 1, 2);
    // The source itself, also under another spelling, is refused and left as it was.
    const auto before = std::filesystem::file_size(w.practice);
    for (const std::string& same : {w.practice, w.dir.file("replay/./p.rpy")}) {
        w.ui.queueFile(same);
        EXPECT_EQ(movrane::saveReplayLap(w.doc, w.ui, w.picker), ReplayWriteResult::Refused);
    }
    EXPECT_EQ(std::filesystem::file_size(w.practice), before);
    // A name in capitals is kept; the file date question copies the source's times.
    w.ui.queueFile(w.dir.file("LAP.RPY"));
    w.ui.queueYesNo(true);
    EXPECT_EQ(movrane::saveReplayLap(w.doc, w.ui, w.picker), ReplayWriteResult::Written);
    EXPECT_EQ(std::filesystem::last_write_time(w.dir.file("LAP.RPY")), std::filesystem::last_write_time(w.practice));
    {
        movrane::FailingWrite full(1);
        w.ui.queueFile(w.dir.file("full.rpy"));
        EXPECT_EQ(movrane::saveReplayLap(w.doc, w.ui, w.picker), ReplayWriteResult::WriteFailed);
    }
    EXPECT_FALSE(std::filesystem::exists(w.dir.file("full.rpy")));
    EXPECT_EQ(w.messageTexts(), (std::vector<std::string>{"No replay file loaded!",
                                                          "Source and destination file cannot be the same file",
                                                          "Source and destination file cannot be the same file",
                                                          "Error while saving replay file!"}));
    EXPECT_EQ(w.ui.questions.back().text, "Use original replay's filedate for extracted replay?");
}

TEST(MergeAllLaps, EveryCarLoadsBackFromTheMergedReplay) {
    Writing w;
    const std::vector<std::pair<uint32_t, int>> laps = {{0, 2}, {1, 1}, {2, 2}};
    for (const auto& [driver, lap] : laps) w.load(w.practice, PRACTICE, driver, lap);
    w.ui.queueFile(w.dir.file("merged"));
    ASSERT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Written);
    EXPECT_EQ(std::filesystem::path(w.ui.saveRequests[0].initialPath).filename(), "harbour_MOVRN_merged.rpy");
    const std::string merged = w.dir.file("merged.rpy");

    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(merged), 0);
    ASSERT_EQ(drivers.count(), 4u);
    EXPECT_EQ(drivers.driver(0).slot, 0u);
    EXPECT_EQ(drivers.driver(0).name1, "MovraneCreator");
    EXPECT_FALSE(drivers.playerMismatch()) << "header and creator record name the creator alike";
    for (uint32_t j = 1; j <= 3; ++j) {
        const auto& source = *w.doc.slot(static_cast<int>(j - 1)).lap;
        EXPECT_EQ(drivers.driver(j).slot, j);
        EXPECT_EQ(drivers.driver(j).name2, w.doc.slot(0).drivers->driver(laps[j - 1].first).name2);
        ASSERT_TRUE(drivers.lapValid(j, PRACTICE, 1)) << j;
        Reloaded again(merged, j);
        expectSameSamples(source, again.lap(), false);
        EXPECT_TRUE(again.messageTexts().empty()) << again.messageTexts().front();
    }
}

TEST(MergeAllLaps, GuardsOneLapAndSources) {
    Writing w;
    EXPECT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Refused);
    w.load(w.practice, PRACTICE, 1, 2);
    w.ui.queueFile(w.practice);
    EXPECT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Refused);
    w.ui.queueFile(w.dir.file("one.rpy"));
    EXPECT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Written);
    EXPECT_TRUE(w.parameters.shown.empty()) << "one lap needs no parameters";
    EXPECT_EQ(w.messageTexts(), (std::vector<std::string>{"No replay file loaded!",
                                                          "Only 1 lap loaded, will extract that to a new replay file.",
                                                          "Source and destination file cannot be the same file",
                                                          "Only 1 lap loaded, will extract that to a new replay file."}));
    Reloaded again(w.dir.file("one.rpy"), 1);
    expectSameSamples(*w.doc.slot(0).lap, again.lap(), false);
}

TEST(MergeAllLaps, EnlargedAndTooLargeOffsets) {
    Writing w;
    w.load(w.practice, PRACTICE, 0, 2);
    w.load(w.practice, PRACTICE, 1, 2);
    // An offset far beyond the lap's samples: the lap drives before the other and both load.
    w.parameters.texts = {"0", "200000,5"};
    w.ui.queueFile(w.dir.file("far.rpy"));
    ASSERT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Written);
    for (uint32_t j : {1u, 2u}) Reloaded again(w.dir.file("far.rpy"), j);

    w.parameters.texts = {"0", "3600000.5"};
    EXPECT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Cancelled);
    EXPECT_EQ(w.messageTexts().back(), "To large number!");
    w.parameters.accept = false;
    EXPECT_EQ(movrane::mergeAllLaps(w.doc, w.ui, w.parameters), ReplayWriteResult::Cancelled);
}

TEST(MergeParameters, ProposesEachLapsTimeLessTheFastest) {
    // Laps of 80.0, 80.5 and 81.0 s, without car records.
    testsupport::DocumentFixture f;
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(3);
    std::vector<samplekit::LapEntry> entries;
    for (uint32_t i = 0; i < 3; ++i) entries.push_back(testsupport::evenLaps(i, 2000, 80000 + 500 * i, 1));
    d.practiceTable = samplekit::LapTable{"LBTP", entries};
    testsupport::writeStampedReplay(f.replay("t.rpy"), d, {{0, 0, 90}});
    for (uint32_t i = 0; i < 3; ++i) f.load(f.replay("t.rpy"), PRACTICE, i, 1);

    MergeParameters parameters(f.doc);
    std::vector<uint32_t> frames;
    for (const auto& row : parameters.rows()) frames.push_back(movrane::mergeOffsetFrames(std::stod(row.offset)));
    EXPECT_EQ(parameters.rows()[1].driver, "First1 Last1");
    EXPECT_EQ(parameters.rows()[2].lapTime, "1m 21.000s");
    EXPECT_EQ(frames, (std::vector<uint32_t>{0, 18, 36}));
    EXPECT_FALSE(parameters.setOffsetText(0, "-5"));
    EXPECT_FALSE(parameters.setOffsetText(0, "1e9"));
    EXPECT_TRUE(parameters.setOffsetText(0, "12,5"));
    EXPECT_EQ(parameters.offsets(f.ui)->front(), 12.5);
}
