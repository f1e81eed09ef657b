#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/Commands.h"
#include "samplekit/SampleInstallation.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using movrane::CommandId;
using movrane::CZodEvadiDoc;

namespace {

class NoChooser : public movrane::LapChooserDialog {
public:
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override {
        throw std::runtime_error("no lap chooser expected");
    }
};

class FakeWriter : public movrane::MapBitmapWriter {
public:
    bool succeeds = true;
    std::vector<std::pair<std::string, int>> writes;
    bool write(const std::string& path, int size) override {
        writes.emplace_back(path, size);
        return succeeds;
    }
};

struct Doc {
    testsupport::TempDir dir;
    testsupport::ScriptedUi ui;
    NoChooser chooser;
    CZodEvadiDoc doc{ui, chooser};

    void loadSampleLap(uint32_t bitmapSize = 768) {
        samplekit::writeSampleInstallation(dir.path());
        movrane::DocumentSettings settings;
        settings.orvDirectory = dir.path().string();
        settings.qualityReportOff = true;
        settings.bitmapSize = bitmapSize;
        doc.setSettings(settings);
        if (doc.commandLineLoad(dir.file("replay/sample_hotlap.rpy"), movrane::PRACTICE, 0, 2) !=
            CZodEvadiDoc::LoadResult::Loaded)
            throw std::runtime_error("sample lap did not load");
    }
};

}  // namespace

TEST(CommandTable, MenusInOrderWithPromptsAndUniqueCommands) {
    const auto& commands = movrane::mainMenuCommands();
    std::set<CommandId> ids;
    std::vector<std::string> menus;
    for (const auto& c : commands) {
        EXPECT_TRUE(ids.insert(c.id).second);
        if (menus.empty() || menus.back() != c.menu) menus.push_back(c.menu);
        EXPECT_EQ(std::string(c.prompt).find('&'), std::string::npos) << c.text;
    }
    EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&View", "&Playback", "&Reports", "&Tools", "&Help"}));
    EXPECT_STREQ(commands.front().text, "&Clear all replay laps...");
    const auto groove = std::find_if(commands.begin(), commands.end(),
                                     [](const auto& c) { return c.id == CommandId::GrooveExport; });
    ASSERT_NE(groove, commands.end());
    EXPECT_STREQ(groove->menu, "&Tools");
    EXPECT_STREQ(groove->submenu, "Track Creating Tools");
    EXPECT_STREQ(commands.back().text, "View Readme file");
    EXPECT_STREQ(movrane::MAIN_TITLE, "Movrane - version 7.0");
    EXPECT_EQ(movrane::reportKindOf(CommandId::ReportLapChart), movrane::ReportKind::LapChart);
    EXPECT_EQ(movrane::reportKindOf(CommandId::ReportMechanical), movrane::ReportKind::Mechanical);
    EXPECT_FALSE(movrane::reportKindOf(CommandId::ZoomIn));
}

TEST(SaveTrackmap, RefusedWithoutTrack) {
    Doc d;
    FakeWriter writer;
    EXPECT_FALSE(movrane::saveTrackmap(d.ui, d.doc, writer));
    ASSERT_EQ(d.ui.messages.size(), 1u);
    EXPECT_EQ(d.ui.messages[0].text, "No track loaded!");
    EXPECT_TRUE(d.ui.saveRequests.empty());
    EXPECT_TRUE(writer.writes.empty());
}

TEST(SaveTrackmap, AsksForABitmapNameAndWritesTheSizePreference) {
    Doc d;
    d.loadSampleLap(1000);
    FakeWriter writer;
    d.ui.queueFile(std::nullopt);
    EXPECT_FALSE(movrane::saveTrackmap(d.ui, d.doc, writer));
    EXPECT_TRUE(writer.writes.empty());
    ASSERT_EQ(d.ui.saveRequests.size(), 1u);
    EXPECT_EQ(d.ui.saveRequests[0].title, "Save Trackmap as BMP-file");
    EXPECT_EQ(d.ui.saveRequests[0].filters[0].pattern, "*.bmp");
    EXPECT_NE(d.ui.saveRequests[0].initialPath.find("harbour.bmp"), std::string::npos);

    d.ui.queueFile(d.dir.file("map"));
    EXPECT_TRUE(movrane::saveTrackmap(d.ui, d.doc, writer));
    ASSERT_EQ(writer.writes.size(), 1u);
    EXPECT_EQ(writer.writes[0], std::make_pair(d.dir.file("map.bmp"), 1000));

    writer.succeeds = false;
    d.ui.queueFile(d.dir.file("x.bmp"));
    EXPECT_FALSE(movrane::saveTrackmap(d.ui, d.doc, writer));
    EXPECT_EQ(writer.writes.back().first, d.dir.file("x.bmp"));
    EXPECT_EQ(d.ui.messages.back().text, "Error creating file!");
}

TEST(SaveTrackmap, BitmapSideStaysWithinWhatAnImageCanBe) {
    EXPECT_EQ(movrane::bitmapSide(768), 768);
    EXPECT_EQ(movrane::bitmapSide(1), movrane::MIN_BITMAP_SIDE);
    EXPECT_EQ(movrane::bitmapSide(4000000000u), movrane::MAX_BITMAP_SIDE);
}

TEST(HelpCommands, ReadmeBesideTheProgramAndAboutWithVersion) {
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("Movrane.txt"), {'x'});
    testsupport::ScriptedUi ui;
    EXPECT_TRUE(movrane::viewReadme(ui, dir.path().string()));
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir.file("Movrane.txt")});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(movrane::aboutText().rfind("Movrane - version 7.0\n", 0), 0u);
}

// A file that is missing or that no program opens is told, with its name.
TEST(HelpCommands, ReadmeThatCannotBeOpenedIsTold) {
    testsupport::TempDir dir;
    const std::string readme = dir.file("Movrane.txt");
    testsupport::ScriptedUi ui;
    EXPECT_FALSE(movrane::viewReadme(ui, dir.path().string()));
    EXPECT_TRUE(ui.opened.empty()) << "a missing file is not handed on";
    testsupport::writeFileBytes(readme, {'x'});
    ui.openSucceeds = false;
    EXPECT_FALSE(movrane::viewReadme(ui, dir.path().string()));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "The file " + readme + " does not exist.");
    EXPECT_EQ(ui.messages[1].text, "No program could open " + readme + ".");
}

TEST(ClearAllLaps, AsksBeforeRemovingLoadedLaps) {
    Doc d;
    EXPECT_TRUE(movrane::clearAllLaps(d.ui, d.doc)) << "nothing loaded: nothing to ask";
    EXPECT_TRUE(d.ui.questions.empty());
    d.loadSampleLap();
    ASSERT_EQ(d.doc.commandLineLoad(d.dir.file("replay/sample_hotlap.rpy"), movrane::PRACTICE, 0, 2),
              CZodEvadiDoc::LoadResult::Loaded);
    d.ui.queueYesNo(false);
    EXPECT_FALSE(movrane::clearAllLaps(d.ui, d.doc));
    EXPECT_EQ(d.doc.loadedLaps(), 2);
    d.ui.queueYesNo(true);
    EXPECT_TRUE(movrane::clearAllLaps(d.ui, d.doc));
    EXPECT_EQ(d.doc.loadedLaps(), 0);
    ASSERT_EQ(d.ui.questions.size(), 2u);
    EXPECT_EQ(d.ui.questions[0].text, "Remove all 2 loaded laps?");
}

TEST(CommandTable, ZoomAndFitHaveTheStandardKeys) {
    using movrane::commandShortcuts;
    EXPECT_EQ(commandShortcuts(CommandId::ZoomIn), (std::vector<std::string>{"Ctrl++", "Ctrl+="}));
    EXPECT_EQ(commandShortcuts(CommandId::ZoomOut), std::vector<std::string>{"Ctrl+-"});
    EXPECT_EQ(commandShortcuts(CommandId::FitToTrack), std::vector<std::string>{"Ctrl+0"});
    EXPECT_TRUE(commandShortcuts(CommandId::AddLap).empty());
}
