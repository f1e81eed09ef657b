#include <gtest/gtest.h>

#include <tuple>

#include "core/library/Options.h"
#include "samplekit/InstallationWriter.h"
#include "support/ConfigSandbox.h"
#include "support/ScriptedUi.h"

namespace {

using namespace movrane;
using testsupport::ConfigSandbox;
using testsupport::ScriptedUi;
using testsupport::TempDir;

class OptionsTest : public ::testing::Test {
protected:
    ConfigSandbox sandbox;
    TempDir orv;
    ScriptedUi ui;

    void SetUp() override { samplekit::writeOrvExe(orv.path()); }

    // What the next start of the program would load.
    static const Prefs& reloaded() {
        Singleton<Prefs>::reset();
        return Prefs::get();
    }
};

TEST_F(OptionsTest, FieldsShowThePreferences) {
    Prefs& prefs = Prefs::get();
    prefs.setSpeedUnit(1);
    prefs.setQualityReportOff(1);
    prefs.setOffTheTrackInRaceReport(1);
    const Options dialog(prefs, ui);
    EXPECT_EQ(std::tuple(dialog.mph, dialog.qualityReport, dialog.offTrackLines, dialog.retirementReason),
              std::tuple(true, false, true, false));
    EXPECT_EQ(std::tuple(dialog.bitmapSize, dialog.orvPath), std::tuple("768", ""));
    // OK stores and saves every field.
    Options edited(Prefs::get(), ui);
    edited.mph = true;
    edited.qualityReport = false;
    edited.orvPath = orv.path().string() + "/";
    edited.altRpyPath = "/replays";
    edited.exportPath = "/export";
    edited.retirementReason = true;
    edited.offTrackLines = true;
    edited.bitmapSize = "1024";
    edited.exclusionMessages = true;
    edited.orvRankHost = "  ranks.example:8080 ";
    ASSERT_TRUE(edited.ok());
    EXPECT_TRUE(ui.messages.empty());

    const Prefs& stored = reloaded();
    EXPECT_EQ(std::tuple(stored.speedUnit(), stored.qualityReportOff(), stored.retireInRaceReport(),
                         stored.offTheTrackInRaceReport(), stored.bmpSizeInPixel(), stored.exclusionMessages()),
              std::tuple(1u, 1u, 1u, 1u, 1024u, 1u));
    EXPECT_EQ(std::tuple(stored.orvDirectory(), stored.altRpyPath(), stored.recordsPath(), stored.orvRankHost()),
              std::tuple(orv.path().string() + "/", "/replays", "/export", "ranks.example:8080"));
    EXPECT_EQ(Options(Prefs::get(), ui).orvRankHost, "ranks.example:8080");
}

TEST_F(OptionsTest, WrongDirectoryAsksForOrvExeUntilItIsFound) {
    TempDir empty;
    Options dialog(Prefs::get(), ui);
    dialog.orvPath = empty.path().string();
    ui.queueFile(empty.file("orv.exe"));
    ui.queueFile(orv.file("orv.exe"));
    ASSERT_TRUE(dialog.ok());

    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Unable to find the file orv.exe in the specified directory.\nPlease choose a valid Orv directory.");
    EXPECT_EQ(ui.messages[1].text, ui.messages[0].text);
    ASSERT_EQ(ui.openRequests.size(), 2u);
    EXPECT_EQ(ui.openRequests[0].title, "Locate ORV.EXE");
    ASSERT_EQ(ui.openRequests[0].filters.size(), 1u);
    EXPECT_EQ(ui.openRequests[0].filters[0].description, "ORV.exe File (orv.exe)");
    EXPECT_EQ(ui.openRequests[0].filters[0].pattern, "orv.exe");
    EXPECT_EQ(dialog.orvPath, orv.path().string());
    EXPECT_EQ(reloaded().orvDirectory(), orv.path().string());
}

TEST_F(OptionsTest, CancelledChooserKeepsTheDialogOpenAndStoresNothing) {
    Options cancelled(Prefs::get(), ui);
    cancelled.orvPath = orv.file("nowhere");
    cancelled.mph = true;
    ui.queueFile(std::nullopt);
    EXPECT_FALSE(cancelled.ok());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Prefs::get().speedUnit(), 0u);
    EXPECT_EQ(reloaded().speedUnit(), 0u);

    Options fresh(Prefs::get(), ui);
    ui.queueFile(std::nullopt);
    EXPECT_FALSE(fresh.ok());
}

TEST_F(OptionsTest, EmptyDirectoryOpensTheChooserFirst) {
    Options empty(Prefs::get(), ui);
    ui.queueFile(orv.file("orv.exe"));
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(Prefs::get().orvDirectory(), orv.path().string());
    // The longest path a field takes is kept.
    Options dialog(Prefs::get(), ui);
    dialog.orvPath = orv.path().string();
    dialog.altRpyPath = "/" + std::string(Options::PATH_LIMIT + 20, 'r');
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(reloaded().altRpyPath(), dialog.altRpyPath.substr(0, Options::PATH_LIMIT))
        << "a path the dialog accepts comes back at the next start";
}

TEST_F(OptionsTest, BitmapSizeThatIsNotAPositiveNumberBecomes768) {
    const std::pair<const char*, uint32_t> sizes[] = {{"0", 768},      {"abc", 768},     {"", 768},
                                                      {"-5", 768},     {"1024", 1024},   {"640px", 640},
                                                      {"0000000000000001234", 768}};
    for (const auto& [text, size] : sizes) EXPECT_EQ(parseBitmapSize(text), size) << text;

    Options dialog(Prefs::get(), ui);
    dialog.orvPath = orv.path().string();
    dialog.bitmapSize = "abc";
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(reloaded().bmpSizeInPixel(), 768u);
    // The browse buttons fill the fields.
    Options browsing(Prefs::get(), ui);
    ui.queueFile("C:\\Sellory\\Orv\\orv.exe");
    browsing.browseOrvPath();
    EXPECT_EQ(browsing.orvPath, "C:\\Sellory\\Orv");
    ui.queueFolder("/replays");
    browsing.browseAltRpyPath();
    ui.queueFolder(std::nullopt);
    browsing.browseExportPath();
    EXPECT_EQ(browsing.altRpyPath, "/replays");
    EXPECT_EQ(browsing.exportPath, "");
    EXPECT_TRUE(ui.allAnswersUsed());
}

}  // namespace
