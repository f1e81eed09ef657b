// The HTML report site: the summary cut from the reports, the pages, the pictures, and a
// site that is never left half written.
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <string>

#include "ReportCases.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/app/ReportSiteCommand.h"
#include "core/image/RgbImage.h"
#include "core/platform/Files.h"
#include "core/reports/ReportReplayChoice.h"
#include "core/reports/ReportSite.h"
#include "support/ConfigSandbox.h"
#include "support/SampleLaps.h"
#include "support/ScriptedUi.h"

namespace {

namespace fs = std::filesystem;
using reportcases::LoadedReplay;

std::string golden(const std::string& name) {
    return testsupport::readFileText(std::string(MOVRANE_TEST_DATA) + "/reports/" + name);
}

movrane::SiteResult siteOf(const LoadedReplay& replay, const std::string& exportFolder) {
    return movrane::generateSite(replay.header(), replay.drivers(), replay.path(), {}, exportFolder,
                                 movrane::RgbImage(40, 40, {10, 20, 30}));
}

// The pixels of a PNG file, or an empty list when it does not decode.
std::vector<uint8_t> pngPixels(const std::string& bytes, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

// The pixels of an uncompressed 24-bit bitmap, rows from the top, red first.
std::vector<uint8_t> bmpPixels(const std::string& bytes, int width, int height) {
    const auto at = [&](std::size_t i) { return static_cast<uint8_t>(bytes.at(i)); };
    const std::size_t offset = at(10) | at(11) << 8;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> pixels;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c) pixels.push_back(at(offset + y * stride + x * 3 + c));
    return pixels;
}

TEST(ReportSite, SummaryCutFromTheReports) {
    EXPECT_EQ(movrane::poleText(golden("standard/Practice.txt")), "Bob Bravo (1m29.500s)");
    EXPECT_EQ(movrane::poleText("This replay does not contain any practice data\r\n"), "Unknown");
    const std::string race = golden("standard/Race.txt");
    EXPECT_EQ(movrane::winnerText(race), "Ann Alpha (4m32.400s)");
    EXPECT_EQ(movrane::dateText(race), "Sat Dec 07 14:03:22 2002");
    EXPECT_EQ(movrane::fastestLapText(race), "Ann Alpha (1m30.000s)");
    EXPECT_EQ(movrane::mostLapsLedText(race), "Ann Alpha (3 laps)");
    // Nobody set a valid lap, nobody completed one: no value is made up from the columns.
    EXPECT_EQ(movrane::fastestLapText(golden("novalid/Race.txt")), "Unknown");
    EXPECT_EQ(movrane::mostLapsLedText(golden("nolap/Race.txt")), "Unknown");
    EXPECT_EQ(movrane::winnerText(golden("nolap/Race.txt")), "Unknown");
    EXPECT_EQ(movrane::winnerText(""), "Unknown");
    // Car numbers of three digits move the columns the cuts read.
    auto wide = reportcases::standardRace();
    wide.drivers[0].carNumber = 107;
    wide.drivers[1].carNumber = 112;
    const LoadedReplay replay(wide);
    EXPECT_EQ(movrane::poleText(replay.generate(movrane::ReportKind::Practice)), "Bob Bravo (1m29.500s)");
    EXPECT_EQ(movrane::winnerText(replay.generate(movrane::ReportKind::Race)), "Ann Alpha (4m32.400s)");
}

TEST(ReportSite, PagesPicturesAndFilesOfTheStandardRace) {
    const LoadedReplay replay(reportcases::standardRace(), "night.rpy");
    const auto site = siteOf(replay, replay.dir().file("export"));
    ASSERT_EQ(site.folder, replay.dir().file("export/night"));
    const fs::path folder = site.folder;
    reportcases::expectGoldenFile("site/index.html", testsupport::readFileText(folder / "index.html"));
    reportcases::expectGoldenFile("site/Race.html", testsupport::readFileText(folder / "Race.html"));
    reportcases::expectGoldenFile("site/RaceGraphics.html", testsupport::readFileText(folder / "RaceGraphics.html"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 16);
    EXPECT_EQ(fs::file_size(folder / "spacer_clear.gif"), 43u);
    EXPECT_EQ(std::distance(fs::directory_iterator(replay.dir().file("export")), {}), 1) << "staging folder left";
    for (const char* picture : {"RaceGraphics", "RaceGraphics2", "track"}) {
        int width = 0, height = 0;
        const auto png = pngPixels(testsupport::readFileText(folder / (std::string(picture) + ".png")), width, height);
        ASSERT_FALSE(png.empty()) << picture;
        EXPECT_EQ(png, bmpPixels(testsupport::readFileText(folder / (std::string(picture) + ".bmp")), width, height)) << picture;
    }
}

TEST(ReportSite, ReplayTextIsEscapedInThePages) {
    auto race = reportcases::standardRace();
    race.drivers[0].first = "A<b>";
    race.drivers[0].last = "& Co";
    const LoadedReplay replay(race);
    const fs::path folder = siteOf(replay, replay.dir().file("export")).folder;
    const std::string page = testsupport::readFileText(folder / "Race.html");
    EXPECT_NE(page.find("A&lt;b&gt; &amp; Co"), std::string::npos);
    EXPECT_EQ(page.find("A<b>"), std::string::npos);
    EXPECT_NE(testsupport::readFileText(folder / "index.html").find("Winner: A&lt;b&gt; &amp; Co (4m32.400s)"), std::string::npos);
}

TEST(ReportSite, AFileThatCannotBeWrittenLeavesTheEarlierSite) {
    const LoadedReplay replay(reportcases::standardRace(), "night.rpy");
    const std::string exportFolder = replay.dir().file("export");
    const fs::path folder = siteOf(replay, exportFolder).folder;
    movrane::writeFileAtomically((folder / "index.html").string(), "earlier");
    {
        movrane::FailingWrite fail(3);
        const auto site = siteOf(replay, exportFolder);
        EXPECT_TRUE(site.folder.empty());
        EXPECT_EQ(site.failedPath, (folder / "LapChart.html").string());
    }
    EXPECT_EQ(testsupport::readFileText(folder / "index.html"), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(exportFolder), {}), 1);
    // A second run overwrites the first in the same folder.
    EXPECT_EQ(siteOf(replay, exportFolder).folder, folder.string());
    EXPECT_NE(testsupport::readFileText(folder / "index.html"), "earlier");
    // An export folder that is a file: the message names the site folder, not a working one.
    const std::string blocked = replay.dir().file("blocked");
    movrane::writeFileAtomically(blocked, "a file");
    EXPECT_EQ(siteOf(replay, blocked).failedPath, movrane::siteFolderOf(blocked, "night.rpy"));
}

TEST(ReportSiteCommand, GuardsBeforeAnyReplayIsRead) {
    testsupport::ConfigSandbox sandbox;
    testsupport::ScriptedUi ui;
    testsupport::NoFileChooser chooser;
    testsupport::NoLapChooser lapChooser;
    movrane::CZodEvadiDoc doc(ui, lapChooser);
    EXPECT_EQ(movrane::generateReportSite(ui, chooser, doc, "", {}), "");
    EXPECT_EQ(movrane::generateReportSite(ui, chooser, doc, "/tmp", {}), "");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "No export path set. Please set this\r\npath in File->Settings dialog.");
    EXPECT_EQ(ui.messages[1].text, "You need to load a lap from the replay\r\nyou want the Report Site for.");
}

// With the laps of two replays loaded the person picks one; a replay without a race is
// refused, the race's site is built under the wait window and opened on Yes.
TEST(ReportSiteCommand, BuildsTheChosenReplaysSiteAndOffersToOpenIt) {
    testsupport::SampleLaps laps;
    testsupport::ScriptedFileChooser chooser;
    testsupport::TempDir exportDir;
    chooser.answer = 0;
    EXPECT_EQ(movrane::generateReportSite(laps.ui, chooser, laps.doc, exportDir.path().string(), {}), "");
    EXPECT_EQ(laps.ui.messageTexts().back(), movrane::SITE_NEEDS_RACE_MESSAGE);
    chooser.answer = 1;
    laps.ui.queueYesNo(true);
    const std::string folder = movrane::generateReportSite(laps.ui, chooser, laps.doc, exportDir.path().string(), {});
    EXPECT_EQ(folder, exportDir.file("sample_race"));
    EXPECT_EQ(laps.ui.waitWindows.back(), "Please wait while generating report site...");
    EXPECT_EQ(laps.ui.waitWindowDepth, 0);
    ASSERT_EQ(laps.ui.questions.size(), 1u);
    EXPECT_EQ(laps.ui.questions[0].text, "Report site created in:\r\n" + folder +
                                             "\r\n\r\nDo you wish to launch the site in your browser?");
    EXPECT_EQ(laps.ui.opened, std::vector<std::string>{folder + "/index.html"});
}

}  // namespace
