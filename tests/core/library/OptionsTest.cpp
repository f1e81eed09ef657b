#include <gtest/gtest.h>

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
    EXPECT_TRUE(dialog.mph);
    EXPECT_FALSE(dialog.qualityReport);
    EXPECT_TRUE(dialog.offTrackLines);
    EXPECT_FALSE(dialog.retirementReason);
    EXPECT_EQ(dialog.bitmapSize, "768");
    EXPECT_EQ(dialog.orvPath, "");
}

TEST_F(OptionsTest, OkStoresAndSavesEveryField) {
    Options dialog(Prefs::get(), ui);
    dialog.mph = true;
    dialog.qualityReport = false;
    dialog.orvPath = orv.path().string() + "/";
    dialog.altRpyPath = "/replays";
    dialog.exportPath = "/export";
    dialog.retirementReason = true;
    dialog.offTrackLines = true;
    dialog.bitmapSize = "1024";
    dialog.exclusionMessages = true;
    ASSERT_TRUE(dialog.ok());
    EXPECT_TRUE(ui.messages.empty());

    const Prefs& prefs = reloaded();
    EXPECT_EQ(prefs.speedUnit(), 1u);
    EXPECT_EQ(prefs.qualityReportOff(), 1u);
    EXPECT_EQ(prefs.orvDirectory(), orv.path().string() + "/");
    EXPECT_EQ(prefs.altRpyPath(), "/replays");
    EXPECT_EQ(prefs.recordsPath(), "/export");
    EXPECT_EQ(prefs.retireInRaceReport(), 1u);
    EXPECT_EQ(prefs.offTheTrackInRaceReport(), 1u);
    EXPECT_EQ(prefs.bmpSizeInPixel(), 1024u);
    EXPECT_EQ(prefs.exclusionMessages(), 1u);
}

TEST_F(OptionsTest, TheLongestPathAFieldTakesIsKept) {
    Options dialog(Prefs::get(), ui);
    dialog.orvPath = orv.path().string();
    dialog.altRpyPath = "/" + std::string(Options::PATH_LIMIT + 20, 'r');
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(reloaded().altRpyPath(), dialog.altRpyPath.substr(0, Options::PATH_LIMIT))
        << "a path the dialog accepts comes back at the next start";
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

TEST_F(OptionsTest, EmptyDirectoryOpensTheChooserFirst) {
    Options dialog(Prefs::get(), ui);
    ui.queueFile(orv.file("orv.exe"));
    ASSERT_TRUE(dialog.ok());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.openRequests.size(), 1u);
    EXPECT_EQ(Prefs::get().orvDirectory(), orv.path().string());
}

TEST_F(OptionsTest, CancelledChooserKeepsTheDialogOpenAndStoresNothing) {
    Options dialog(Prefs::get(), ui);
    dialog.orvPath = orv.file("nowhere");
    dialog.mph = true;
    ui.queueFile(std::nullopt);
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Prefs::get().speedUnit(), 0u);
    EXPECT_EQ(reloaded().speedUnit(), 0u);

    Options fresh(Prefs::get(), ui);
    ui.queueFile(std::nullopt);
    EXPECT_FALSE(fresh.ok());
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
}

TEST_F(OptionsTest, BrowseButtonsFillTheFields) {
    Options dialog(Prefs::get(), ui);
    ui.queueFile("C:\\Sellory\\Orv\\orv.exe");
    dialog.browseOrvPath();
    EXPECT_EQ(dialog.orvPath, "C:\\Sellory\\Orv");
    ui.queueFolder("/replays");
    dialog.browseAltRpyPath();
    ui.queueFolder(std::nullopt);
    dialog.browseExportPath();
    EXPECT_EQ(dialog.altRpyPath, "/replays");
    EXPECT_EQ(dialog.exportPath, "");
    EXPECT_TRUE(ui.allAnswersUsed());
}

}  // namespace
