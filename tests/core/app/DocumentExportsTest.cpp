#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/DocumentExports.h"
#include "core/track/Track.h"
#include "samplekit/SampleCircuit.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using movrane::CZodEvadiDoc;
using movrane::ExportResult;
using movrane::PRACTICE;
using testsupport::ScriptedUi;
using testsupport::TempDir;

namespace {

class NoChooser : public movrane::LapChooserDialog {
public:
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override {
        return movrane::Chooselap::Selection{0, PRACTICE, 2};
    }
};

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

struct Loaded {
    TempDir dir;
    ScriptedUi ui;
    NoChooser chooser;
    CZodEvadiDoc doc{ui, chooser};
    std::string replay;

    explicit Loaded(int laps) {
        samplekit::writeSampleTrack(dir.path(), samplekit::SAMPLE_TRACK);
        std::filesystem::create_directories(dir.path() / "replay");
        replay = dir.file("replay/p.rpy");
        samplekit::writeSimulatedReplay(replay, samplekit::sampleRaceSpec(2, 3, 0), samplekit::sampleHeader(true));
        movrane::DocumentSettings s;
        s.orvDirectory = dir.path().string();
        s.qualityReportOff = true;
        doc.setSettings(s);
        for (int i = 0; i < laps; ++i) EXPECT_EQ(doc.commandLineLoad(replay, PRACTICE, i % 2, 2), CZodEvadiDoc::LoadResult::Loaded);
    }
};

}  // namespace

TEST(TelemetryExportFlow, NeedsALoadedLap) {
    Loaded l(0);
    ScriptedPicker picker;
    EXPECT_EQ(movrane::exportTelemetry(l.doc, l.ui, picker), ExportResult::Failed);
    ASSERT_EQ(l.ui.messages.size(), 1u);
    EXPECT_EQ(l.ui.messages[0].text, "No replay file loaded!");
    EXPECT_TRUE(l.ui.saveRequests.empty());
}

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
}

TEST(TelemetryExportFlow, SeveralLapsAskWhichAndReportWriteFailures) {
    Loaded l(2);
    ScriptedPicker picker;
    picker.answer = std::nullopt;
    EXPECT_EQ(movrane::exportTelemetry(l.doc, l.ui, picker), ExportResult::Cancelled);
    ASSERT_EQ(picker.shownLabels.size(), 2u);
    EXPECT_EQ(picker.shownLabels[1].rfind("Tomas Velin - Practice lap 2 (", 0), 0u) << picker.shownLabels[1];
    EXPECT_EQ(picker.shownLabels[1].substr(picker.shownLabels[1].find('\n')), "\np.rpy") << "the replay's file name";

    picker.answer = 1;
    l.ui.queueFile(l.dir.file("missing/lap.txt"));
    EXPECT_EQ(movrane::exportTelemetry(l.doc, l.ui, picker), ExportResult::Failed);
    ASSERT_EQ(l.ui.messages.size(), 1u);
    EXPECT_EQ(l.ui.messages[0].text, "Error creating file!");
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
}

TEST(GrooveExportFlow, WidthMustBeANumber) {
    const std::pair<const char*, bool> widths[] = {
        {"3.0", true}, {"3", true},   {"0.75", true}, {"12.5", true}, {"", false},      {"abc", false},
        {"3,0", false}, {"-3", false}, {"3.", false},  {".5", false},  {"1.2.3", false}, {" 3", false},
        {"3e2", false}, {"123456789", false}};
    for (const auto& [text, valid] : widths) EXPECT_EQ(movrane::GrooveSettings::validWidth(text), valid) << text;

    Loaded l(1);
    ScriptedPicker picker;
    SettingsWindow window;
    window.width = "abc";
    EXPECT_EQ(movrane::exportGroove(l.doc, l.ui, picker, window), ExportResult::Failed);
    EXPECT_TRUE(l.ui.saveRequests.empty()) << "nothing is written with junk as the width";
    EXPECT_EQ(l.ui.messages.back().text, "The groove width must be a number of meters, such as 3.0.");
}

TEST(GrooveExportFlow, NeedsLapAndTrack) {
    Loaded none(0);
    ScriptedPicker picker;
    SettingsWindow window;
    EXPECT_EQ(movrane::exportGroove(none.doc, none.ui, picker, window), ExportResult::Failed);
    EXPECT_EQ(none.ui.messages.at(0).text, "No replay file loaded!");

    Loaded l(1);
    std::filesystem::remove_all(l.dir.path() / "tracks");
    l.doc.clear();
    ASSERT_EQ(l.doc.commandLineLoad(l.replay, PRACTICE, 0, 2), CZodEvadiDoc::LoadResult::Loaded);
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
}

TEST(MostRecentReplay, DocumentOpensItWithTheChooser) {
    Loaded l(0);
    EXPECT_EQ(l.doc.openMostRecentReplay(), CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(l.doc.slot(0).replayPath, l.replay);
    std::filesystem::remove(l.replay);
    l.doc.clear();
    EXPECT_EQ(l.doc.openMostRecentReplay(), CZodEvadiDoc::LoadResult::Failed);
    EXPECT_EQ(l.ui.messages.back().text.rfind("No replay files found in ", 0), 0u);
}
