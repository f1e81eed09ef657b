#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/app/CZodEvadiDoc.h"
#include "core/app/Commands.h"
#include "support/DocumentFixture.h"

using movrane::CommandId;
using movrane::CZodEvadiDoc;

namespace {

class FakeWriter : public movrane::MapBitmapWriter {
public:
    bool succeeds = true;
    std::vector<std::pair<std::string, int>> writes;
    bool write(const std::string& path, int size) override {
        writes.emplace_back(path, size);
        return succeeds;
    }
};

struct Doc : testsupport::DocumentFixture {
    void loadSampleLap(uint32_t bitmapSize = 768) {
        writeSampleInstallation();
        setSettings(false, bitmapSize);
        load(replay("sample_hotlap.rpy"), movrane::PRACTICE, 0, 2);
    }
};

}  // namespace

TEST(CommandTable, MenusInOrderWithPromptsAndUniqueCommands) {
    const auto& commands = movrane::mainMenuCommands();
    std::set<CommandId> ids;
    std::vector<std::pair<std::string, std::string>> menus;  // each menu's texts joined by "|"
    for (const auto& c : commands) {
        EXPECT_TRUE(ids.insert(c.id).second);
        if (menus.empty() || menus.back().first != c.menu) menus.emplace_back(c.menu, "");
        menus.back().second += (menus.back().second.empty() ? "" : "|") + std::string(c.text);
        std::string prompt = c.text;
        std::erase(prompt, '&');
        EXPECT_EQ(c.prompt, prompt) << "the prompt is the menu text";
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"&File",
         "&Clear all replay laps...|&Add replay lap...|Add replay lap using Lap Finder...|"
         "Open most recently added replay file...|Move/Remove loaded replay laps|&Save replay lap...|"
         "Merge all laps to one replay file...|Save Trackmap as BMP-file...|Save telemetry to text file|Settings...|"
         "E&xit"},
        {"&View", "Zoom In|Zoom Out|Fit To Track|Panning Tool|Distance Markers|Playback Bar|Zoom Bar|Lap Bar"},
        {"&Playback",
         "Beginning of lap|Fast Reverse|Start/Continue|Pause|Fast Forward|Stop|Move to end of lap|"
         "Toggle replay race/driving lines|Toggle lap 1|Toggle lap 2|Toggle lap 3|Toggle lap 4|Toggle lap 5"},
        {"&Reports",
         "Practice|Race|Lap by lap|Lap Chart|Complete(all above)|Mechanical|Graphical Race Report|"
         "Race History Graph|Detailed Race Report|Generate Report site (html)"},
        {"&Tools",
         "&Graph|Traction Circle|Ratings|Sector Times|Speed Report|Online Laptime Verifier|Gearchange Analyser|"
         "Engine detection|E&xport Records|PB Viewer|OrvRank Handicap|Track Organizer|Replay CD Database Creator|"
         "Export Lap To Groove (GRV) File"},
        {"&Help", "&About Movrane|View Readme file"},
    };
    EXPECT_EQ(menus, expected);
    const auto groove = std::find_if(commands.begin(), commands.end(),
                                     [](const auto& c) { return c.id == CommandId::GrooveExport; });
    ASSERT_NE(groove, commands.end());
    EXPECT_STREQ(groove->menu, "&Tools");
    EXPECT_STREQ(groove->submenu, "Track Creating Tools");
    EXPECT_EQ(movrane::reportKindOf(CommandId::ReportLapChart), movrane::ReportKind::LapChart);
    EXPECT_EQ(movrane::reportKindOf(CommandId::ReportMechanical), movrane::ReportKind::Mechanical);
    EXPECT_FALSE(movrane::reportKindOf(CommandId::ZoomIn));
    // Zoom and fit have the standard keys.
    using movrane::commandShortcuts;
    EXPECT_EQ(commandShortcuts(CommandId::ZoomIn), (std::vector<std::string>{"Ctrl++", "Ctrl+="}));
    EXPECT_EQ(commandShortcuts(CommandId::ZoomOut), std::vector<std::string>{"Ctrl+-"});
    EXPECT_EQ(commandShortcuts(CommandId::FitToTrack), std::vector<std::string>{"Ctrl+0"});
    EXPECT_TRUE(commandShortcuts(CommandId::AddLap).empty());
    // The readme beside the program, and About with the version.
    testsupport::TempDir dir;
    testsupport::writeFileBytes(dir.file("Movrane.txt"), {'x'});
    testsupport::ScriptedUi ui;
    EXPECT_TRUE(movrane::viewReadme(ui, dir.path().string()));
    EXPECT_EQ(ui.opened, std::vector<std::string>{dir.file("Movrane.txt")});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(movrane::aboutText().rfind("Movrane - version 7.0\n", 0), 0u);
    // A readme that is missing or that no program opens is told, with its name.
    testsupport::TempDir empty;
    const std::string missing = empty.file("Movrane.txt");
    testsupport::ScriptedUi told;
    EXPECT_FALSE(movrane::viewReadme(told, empty.path().string()));
    EXPECT_TRUE(told.opened.empty()) << "a missing file is not handed on";
    testsupport::writeFileBytes(missing, {'x'});
    told.openSucceeds = false;
    EXPECT_FALSE(movrane::viewReadme(told, empty.path().string()));
    ASSERT_EQ(told.messages.size(), 2u);
    EXPECT_EQ(told.messages[0].text, "The file " + missing + " does not exist.");
    EXPECT_EQ(told.messages[1].text, "No program could open " + missing + ".");
}

TEST(SaveTrackmap, RefusedWithoutTrack) {
    Doc d;
    FakeWriter writer;
    EXPECT_FALSE(movrane::saveTrackmap(d.ui, d.doc, writer));
    EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{"No track loaded!"});
    EXPECT_TRUE(d.ui.saveRequests.empty());
    EXPECT_TRUE(writer.writes.empty());
    // Clearing all laps asks before it removes loaded laps.
    Doc loaded;
    EXPECT_TRUE(movrane::clearAllLaps(loaded.ui, loaded.doc)) << "nothing loaded: nothing to ask";
    EXPECT_TRUE(loaded.ui.questions.empty());
    loaded.loadSampleLap();
    ASSERT_EQ(loaded.doc.commandLineLoad(loaded.dir.file("replay/sample_hotlap.rpy"), movrane::PRACTICE, 0, 2),
              CZodEvadiDoc::LoadResult::Loaded);
    loaded.ui.queueYesNo(false);
    EXPECT_FALSE(movrane::clearAllLaps(loaded.ui, loaded.doc));
    EXPECT_EQ(loaded.doc.loadedLaps(), 2);
    loaded.ui.queueYesNo(true);
    EXPECT_TRUE(movrane::clearAllLaps(loaded.ui, loaded.doc));
    EXPECT_EQ(loaded.doc.loadedLaps(), 0);
    ASSERT_EQ(loaded.ui.questions.size(), 2u);
    EXPECT_EQ(loaded.ui.questions[0].text, "Remove all 2 loaded laps?");
    // With a track it asks for a bitmap name and writes the size preference.
    Doc mapped;
    mapped.loadSampleLap(1000);
    FakeWriter mapWriter;
    mapped.ui.queueFile(std::nullopt);
    EXPECT_FALSE(movrane::saveTrackmap(mapped.ui, mapped.doc, mapWriter));
    EXPECT_TRUE(mapWriter.writes.empty());
    ASSERT_EQ(mapped.ui.saveRequests.size(), 1u);
    EXPECT_EQ(mapped.ui.saveRequests[0].title, "Save Trackmap as BMP-file");
    EXPECT_EQ(mapped.ui.saveRequests[0].filters[0].pattern, "*.bmp");
    EXPECT_NE(mapped.ui.saveRequests[0].initialPath.find("harbour.bmp"), std::string::npos);

    mapped.ui.queueFile(mapped.dir.file("map"));
    EXPECT_TRUE(movrane::saveTrackmap(mapped.ui, mapped.doc, mapWriter));
    ASSERT_EQ(mapWriter.writes.size(), 1u);
    EXPECT_EQ(mapWriter.writes[0], std::make_pair(mapped.dir.file("map.bmp"), 1000));

    mapWriter.succeeds = false;
    mapped.ui.queueFile(mapped.dir.file("x.bmp"));
    EXPECT_FALSE(movrane::saveTrackmap(mapped.ui, mapped.doc, mapWriter));
    EXPECT_EQ(mapWriter.writes.back().first, mapped.dir.file("x.bmp"));
    EXPECT_EQ(mapped.ui.messages.back().text, "Error creating file!");
    // The bitmap's side stays within what an image can be.
    EXPECT_EQ(movrane::bitmapSide(768), 768);
    EXPECT_EQ(movrane::bitmapSide(1), movrane::MIN_BITMAP_SIDE);
    EXPECT_EQ(movrane::bitmapSide(4000000000u), movrane::MAX_BITMAP_SIDE);
}

