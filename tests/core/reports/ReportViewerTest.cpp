#include <gtest/gtest.h>

#include "core/reports/ReportText.h"
#include "core/reports/ReportViewer.h"
#include "support/SampleLaps.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

using movrane::ReportKind;
using movrane::ReportViewer;

namespace {

std::unique_ptr<movrane::ReportReplay> sampleRace() {
    auto replay = std::make_unique<movrane::ReportReplay>();
    replay->path = testsupport::sampleInstallation().file("replay/sample_race.rpy");
    if (replay->header.load(replay->path) != movrane::Header::OK ||
        replay->drivers.load(replay->path) != movrane::Drivers::OK)
        throw std::runtime_error("sample race unreadable");
    return replay;
}

}  // namespace

TEST(ReportViewer, ImmediateKindsAreCompleteWhenTheWindowOpens) {
    ReportViewer viewer(sampleRace(), ReportKind::Race);
    std::vector<std::string> shown;
    viewer.setViewSink([&](const std::string& text) { shown.push_back(text); });
    viewer.open();
    EXPECT_EQ(viewer.pendingKind(), 0);
    EXPECT_EQ(viewer.titleLine(), "Race Report");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Track: Harbour", 0), 0u);
    EXPECT_EQ(shown[0].find('\r'), std::string::npos);
    EXPECT_EQ(shown[0], viewer.viewText());
    testsupport::ScriptedUi ui;
    viewer.focusGained(ui);
    EXPECT_EQ(shown.size(), 1u) << "focus does not generate an immediate kind again";
    // Export and print take the whole text.
    testsupport::TempDir dir;
    ReportViewer lapByLap(sampleRace(), ReportKind::LapByLap);
    lapByLap.open();
    const std::string whole = lapByLap.report().text();
    EXPECT_EQ(lapByLap.viewText(), movrane::viewTextOf(whole));
    EXPECT_EQ(lapByLap.fullText(), movrane::toFileText(whole));

    const std::string file = dir.file("out.txt");
    ui.queueFile(file);
    EXPECT_TRUE(lapByLap.exportToFile(ui));
    EXPECT_EQ(testsupport::readFileText(file), movrane::toFileText(whole));
    // The view holds its limit.
    std::string longLine = std::string(98, 'x') + "\r\n";
    std::string longText;
    while (longText.size() < 70000) longText += longLine;
    const std::string longView = movrane::viewTextOf(longText);
    EXPECT_EQ(longView.size(), movrane::REPORT_VIEW_LIMIT - movrane::REPORT_VIEW_LIMIT / 100);
    EXPECT_EQ(longView, movrane::toFileText(longText.substr(0, movrane::REPORT_VIEW_LIMIT)));
    EXPECT_EQ(movrane::viewTextOf("short\r\n"), "short\n");
}

TEST(ReportViewer, DeferredKindStartsOnTheFirstFocusOnlyAndGrowsThroughAppend) {
    ReportViewer viewer(sampleRace(), ReportKind::Mechanical);
    testsupport::ScriptedUi ui;
    int updates = 0;
    int updatesUnderWaitCursor = 0;
    viewer.setViewSink([&](const std::string&) {
        ++updates;
        updatesUnderWaitCursor += ui.waitCursorDepth == 1;
    });
    viewer.open();
    EXPECT_EQ(viewer.pendingKind(), static_cast<int>(ReportKind::Mechanical));
    EXPECT_TRUE(viewer.report().text().empty());
    EXPECT_EQ(updates, 0);
    viewer.focusGained(ui);
    EXPECT_EQ(viewer.pendingKind(), 0);
    EXPECT_GT(updates, 1) << "the view follows every appended piece";
    EXPECT_EQ(updatesUnderWaitCursor, updates) << "the scan runs under the wait cursor";
    EXPECT_EQ(ui.waitCursorDepth, 0);
    const std::string text = viewer.report().text();
    EXPECT_FALSE(text.empty());
    viewer.focusGained(ui);
    EXPECT_EQ(viewer.report().text(), text) << "a later focus change does not scan again";
}

