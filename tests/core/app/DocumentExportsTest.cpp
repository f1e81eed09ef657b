#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/DocumentExports.h"
#include "core/track/Track.h"
#include "support/DocumentFixture.h"

using movrane::CZodEvadiDoc;
using movrane::ExportResult;
using movrane::PRACTICE;
using testsupport::TempDir;

namespace {

class ScriptedPicker : public movrane::LoadedLapPicker {
public:
    std::optional<int> answer;
    std::vector<std::string> shownLabels;
    int asked = 0;
    std::optional<int> pickLap(const std::string&, const std::vector<int>&, const std::vector<std::string>& labels) override {
        ++asked;
        shownLabels = labels;
        return answer;
    }
};

class SettingsWindow : public movrane::GrooveSettingsDialog {
public:
    bool accept = true;
    int resolutionIndex = 4;
    std::string width = "3.0";
    bool edit(movrane::GrooveSettings& settings) override {
        settings.resolutionIndex = resolutionIndex;
        settings.widthText = width;
        return accept;
    }
};

// The sample track and a practice replay of two drivers, with `laps` of it loaded.
struct Loaded : testsupport::DocumentFixture {
    std::string practice;
    explicit Loaded(int laps) {
        writeSampleTrack();
        practice = writePractice("p.rpy", 2);
        for (int i = 0; i < laps; ++i) load(practice, PRACTICE, i % 2, 2);
    }
};

}  // namespace

TEST(TelemetryExportFlow, OneLapIsTakenWithoutAskingAndTxtIsAppended) {
    Loaded l(1);
    ScriptedPicker picker;
    l.ui.queueFile(l.dir.file("lap"));
    EXPECT_EQ(movrane::exportTelemetry(l.doc, l.ui, picker), ExportResult::Written);
    EXPECT_EQ(picker.asked, 0);
    ASSERT_EQ(l.ui.saveRequests.size(), 1u);
    EXPECT_EQ(l.ui.saveRequests[0].filters[0].description, "Text files (*.txt)");
    const std::string suggested = std::filesystem::path(l.ui.saveRequests[0].initialPath).filename().string();
    EXPECT_EQ(suggested.rfind("Ada_Mar_harbour_Brabham_", 0), 0u) << suggested;
    EXPECT_TRUE(std::filesystem::exists(l.dir.file("lap.txt")));
    // Several laps: the person is asked which; write failures are told.
    Loaded two(2);
    ScriptedPicker asking;
    asking.answer = std::nullopt;
    EXPECT_EQ(movrane::exportTelemetry(two.doc, two.ui, asking), ExportResult::Cancelled);
    ASSERT_EQ(asking.shownLabels.size(), 2u);
    EXPECT_EQ(asking.shownLabels[1].rfind("Tomas Velin - Practice lap 2 (", 0), 0u) << asking.shownLabels[1];
    EXPECT_EQ(asking.shownLabels[1].substr(asking.shownLabels[1].find('\n')), "\np.rpy") << "the replay's file name";

    asking.answer = 1;
    two.ui.queueFile(two.dir.file("missing/lap.txt"));
    EXPECT_EQ(movrane::exportTelemetry(two.doc, two.ui, asking), ExportResult::Failed);
    EXPECT_EQ(two.ui.messageTexts(), std::vector<std::string>{"Error creating file!"});
}

TEST(GrooveExportFlow, WritesTheChosenLapWithTheSettings) {
    Loaded l(1);
    ScriptedPicker picker;
    SettingsWindow window;
    window.resolutionIndex = 9;  // 1.0 m
    l.ui.queueFile(l.dir.file("harbour"));
    EXPECT_EQ(movrane::exportGroove(l.doc, l.ui, picker, window), ExportResult::Written);
    EXPECT_EQ(l.ui.saveRequests[0].initialPath, "harbour.grv");
    EXPECT_EQ(l.ui.saveRequests[0].filters[0].description, "Groove files (*.grv)");
    const std::string text = testsupport::readFileText(l.dir.file("harbour.grv"));
    const int lines = static_cast<int>(std::ceil(l.doc.track()->lapLength()));
    EXPECT_EQ(text.substr(0, text.find('\n')), "60sections," + std::to_string(lines) + "entries");

    window.accept = false;
    EXPECT_EQ(movrane::exportGroove(l.doc, l.ui, picker, window), ExportResult::Cancelled);
    EXPECT_EQ(l.ui.saveRequests.size(), 1u) << "no file dialog after a cancelled settings window";
    // The width must be a number.
    const std::pair<const char*, bool> widths[] = {
        {"3.0", true}, {"3", true},   {"0.75", true}, {"12.5", true}, {"", false},      {"abc", false},
        {"3,0", false}, {"-3", false}, {"3.", false},  {".5", false},  {"1.2.3", false}, {" 3", false},
        {"3e2", false}, {"123456789", false}};
    for (const auto& [width, valid] : widths) EXPECT_EQ(movrane::GrooveSettings::validWidth(width), valid) << width;

    window.accept = true;
    window.width = "abc";
    EXPECT_EQ(movrane::exportGroove(l.doc, l.ui, picker, window), ExportResult::Failed);
    EXPECT_EQ(l.ui.saveRequests.size(), 1u) << "nothing is written with junk as the width";
    EXPECT_EQ(l.ui.messages.back().text, "The groove width must be a number of meters, such as 3.0.");
}

TEST(ExportFlows, NeedALoadedLapAndTheGrooveATrack) {
    Loaded none(0);
    ScriptedPicker picker;
    SettingsWindow window;
    EXPECT_EQ(movrane::exportTelemetry(none.doc, none.ui, picker), ExportResult::Failed);
    EXPECT_EQ(movrane::exportGroove(none.doc, none.ui, picker, window), ExportResult::Failed);
    EXPECT_EQ(none.ui.messageTexts(), (std::vector<std::string>{"No replay file loaded!", "No replay file loaded!"}));
    EXPECT_TRUE(none.ui.saveRequests.empty());

    Loaded l(1);
    std::filesystem::remove_all(l.dir.path() / "tracks");
    l.doc.clear();
    l.load(l.practice, PRACTICE, 0, 2);
    EXPECT_EQ(movrane::exportGroove(l.doc, l.ui, picker, window), ExportResult::Failed);
    EXPECT_EQ(l.ui.messages.back().text, "No track loaded!");
}

TEST(MostRecentReplay, TakesTheNewestReplayFile) {
    TempDir dir;
    EXPECT_FALSE(movrane::mostRecentReplay(dir.file("none")).has_value());
    testsupport::writeFileBytes(dir.file("old.rpy"), {1});
    testsupport::writeFileBytes(dir.file("new.RPY"), {1});
    testsupport::writeFileBytes(dir.file("newest.txt"), {1});
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(dir.file("old.rpy"), now - std::chrono::hours(2));
    std::filesystem::last_write_time(dir.file("new.RPY"), now - std::chrono::hours(1));
    EXPECT_EQ(movrane::mostRecentReplay(dir.path().string()), dir.file("new.RPY"));
    // The document opens it with the chooser.
    Loaded l(0);
    l.chooser.answers = {movrane::Chooselap::Selection{0, PRACTICE, 2}};
    EXPECT_EQ(l.doc.openMostRecentReplay(), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(l.doc.slot(0).replayPath, l.practice);
    std::filesystem::remove(l.practice);
    l.doc.clear();
    EXPECT_EQ(l.doc.openMostRecentReplay(), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(l.ui.messages.back().text.rfind("No replay files found in ", 0), 0u);
}

