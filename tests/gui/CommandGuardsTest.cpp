#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "GuiFixture.h"
#include "gui/app/CMainFrame.h"
#include "gui/library/OptionsDialog.h"

using guitest::Program;
using movrane::CommandId;

namespace {
constexpr char NO_LAP[] = "No replay lap loaded!";
constexpr char REPORT_ONLY[] = "Do you wish to choose a replay file to be used in the report only?";

struct Empty : Program {
    Empty() : Program(Installation::Bare) { start(); }
    void run(CommandId id) { app->frame().runCommand(id); }
};
}  // namespace

TEST(CommandGuards, WithAnEmptyDocumentExportsSayWhatIsMissingAndLoadingAsksOrFindsNone) {
    Empty p;
    auto& frame = p.app->frame();
    // The menus carry the command table's texts and prompts.
    EXPECT_EQ(frame.action(CommandId::ReportComplete)->text(), QStringLiteral("Complete(all above)"));
    EXPECT_EQ(frame.action(CommandId::AddLap)->statusTip(), QStringLiteral("Add replay lap..."));
    EXPECT_EQ(frame.action(CommandId::GrooveExport)->text(), QStringLiteral("Export Lap To Groove (GRV) File"));
    for (CommandId id : {CommandId::ZoomIn, CommandId::ZoomOut, CommandId::FitToTrack, CommandId::PanningTool})
        p.run(id);
    EXPECT_TRUE(p.ui.messages.empty()) << "view commands need no lap";
    p.run(CommandId::SaveTrackmap);
    p.run(CommandId::SaveTelemetry);
    p.run(CommandId::GrooveExport);
    EXPECT_EQ(p.ui.messageTexts(),
              (std::vector<std::string>{"No track loaded!", "No replay file loaded!", "No replay file loaded!"}));
    for (const auto& m : p.ui.messages) EXPECT_EQ(m.icon, movrane::Ui::Icon::Information);
    EXPECT_TRUE(p.ui.saveRequests.empty());

    p.ui.messages.clear();
    p.ui.queueFile(std::nullopt);
    p.run(CommandId::AddLap);
    ASSERT_EQ(p.ui.openRequests.size(), 1u);
    EXPECT_EQ(p.ui.openRequests[0].title, "Select Replay File");
    p.run(CommandId::OpenRecentReplay);
    ASSERT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.ui.messages[0].text.rfind("No replay files found in ", 0), 0u);
    p.run(CommandId::ClearLaps);
    EXPECT_EQ(p.ui.messages.size(), 1u);
    EXPECT_EQ(p.app->document().loadedLaps(), 0);
    // Every report offers a replay for the report only.
    for (CommandId id : {CommandId::ReportPractice, CommandId::ReportRace, CommandId::ReportLapByLap,
                         CommandId::ReportLapChart, CommandId::ReportComplete, CommandId::ReportMechanical}) {
        p.ui.messages.clear();
        p.ui.questions.clear();
        p.ui.queueYesNo(false);
        p.run(id);
        EXPECT_EQ(p.ui.messageTexts(), std::vector<std::string>{NO_LAP});
        ASSERT_EQ(p.ui.questions.size(), 1u);
        EXPECT_EQ(p.ui.questions[0].text, REPORT_ONLY);
    }
    EXPECT_TRUE(p.dialogs.titles.empty()) << "No opens no report";
}

// Each command's guard on an empty document: its messages, and whether it then offers a
// replay for the report only (answered No). None of them opens a window.
TEST(CommandGuards, EachCommandSaysWhatItNeedsFirst) {
    Empty p;
    const std::string noReplay = "No replay file loaded!";
    const struct {
        CommandId id;
        std::vector<std::string> messages;
        bool offersReplay;
    } rows[] = {
        {CommandId::SaveReplayLap, {noReplay}, false},
        {CommandId::MergeLaps, {noReplay}, false},
        {CommandId::Graph, {NO_LAP}, false},
        {CommandId::TractionCircle, {NO_LAP}, false},
        {CommandId::Ratings, {NO_LAP}, false},
        {CommandId::SectorTimes, {NO_LAP}, false},
        {CommandId::SpeedReport, {NO_LAP}, false},
        {CommandId::LaptimeVerifier, {NO_LAP}, false},
        {CommandId::ReportDetailedRace, {"This report cannot be run unless you have loaded a lap."}, false},
        {CommandId::ReportSite, {"No export path set. Please set this\r\npath in File->Settings dialog."}, false},
        {CommandId::GraphicalRaceReport, {NO_LAP}, true},
        {CommandId::RaceHistoryGraph, {NO_LAP}, true},
        {CommandId::EngineDetection, {NO_LAP}, true},
        {CommandId::ModSetInfo, {NO_LAP}, true},
    };
    for (const auto& row : rows) {
        p.ui.messages.clear();
        p.ui.questions.clear();
        if (row.offersReplay) p.ui.queueYesNo(false);
        p.run(row.id);
        EXPECT_EQ(p.ui.messageTexts(), row.messages) << static_cast<int>(row.id);
        for (const auto& m : p.ui.messages) EXPECT_EQ(m.icon, movrane::Ui::Icon::Information);
        EXPECT_EQ(p.ui.questions.size(), row.offersReplay ? 1u : 0u) << static_cast<int>(row.id);
    }
    EXPECT_TRUE(p.dialogs.titles.empty());
    EXPECT_EQ(p.app->frame().graphWindow(), nullptr);
}

TEST(CommandGuards, HelpSettingsAndExit) {
    Empty p;
    p.dialogs.expect([](QDialog& dialog) {
        auto* box = qobject_cast<QMessageBox*>(&dialog);
        EXPECT_NE(box, nullptr);
        if (box) {
            EXPECT_TRUE(box->text().startsWith(QStringLiteral("Movrane - version 7.0\n")));
        }
        return QDialog::Accepted;
    });
    p.run(CommandId::About);
    p.run(CommandId::ViewReadme);
    ASSERT_EQ(p.ui.messages.size(), 1u) << "no readme beside the test program";
    EXPECT_EQ(p.ui.messages[0].text.substr(p.ui.messages[0].text.size() - 28), "/Movrane.txt does not exist.");

    p.dialogs.expect([](QDialog& dialog) {
        EXPECT_NE(qobject_cast<movrane::gui::OptionsDialog*>(&dialog), nullptr);
        return QDialog::Rejected;
    });
    p.run(CommandId::Settings);
    EXPECT_EQ(p.dialogs.titles.back(), QStringLiteral("Settings"));
    EXPECT_TRUE(p.dialogs.allUsed());

    EXPECT_TRUE(p.app->frame().isVisible());
    p.run(CommandId::Exit);
    EXPECT_FALSE(p.app->frame().isVisible());
}

TEST(StartUp, AnInstallationWithoutOrvExeOpensTheSettings) {
    testsupport::ConfigSandbox sandbox;
    testsupport::ScriptedUi ui;
    movrane::gui::CZodEvadiApp app(ui);
    guitest::DialogScript dialogs;
    dialogs.expect([](QDialog&) { return QDialog::Rejected; });
    app.dialogs().setRunner([&](QDialog& d) { return dialogs.run(d); });
    app.start(movrane::parseCommandLine({"movrane"}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Unable to find the file orv.exe in the specified Orv-directory.\nPlease choose a valid Orv directory.");
    EXPECT_EQ(dialogs.titles, QStringList{"Settings"});
}

TEST(StartUp, ASingleReplayArgumentOpensItWithoutTheFileDialog) {
    Program p;
    p.dialogs.expect([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose lap - sample_race.rpy"));
        return QDialog::Rejected;
    });
    p.start({p.replay("sample_race.rpy")});
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_TRUE(p.ui.openRequests.empty());
    EXPECT_EQ(p.app->document().loadedLaps(), 0) << "the chooser was cancelled";
    EXPECT_TRUE(p.app->frame().isVisible());
}

TEST(StartUp, LapsAnnouncedWithoutTheirArgumentsAreReported) {
    Program p;
    const std::string hotlap = "-f" + p.replay("sample_hotlap.rpy");
    p.start({"-loadrpy", "-c3", hotlap, "-s0", "-d0", "-l2", hotlap, "-s2", "-d0", "-l3"});
    EXPECT_EQ(p.app->document().loadedLaps(), 1) << "session 2 names no lap table";
    const auto texts = p.ui.messageTexts();  // the loaded lap's quality report first
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2].rfind("The command line names session 2 for lap 3", 0), 0u);
    EXPECT_EQ(texts.back().rfind("The command line announces 3 laps", 0), 0u);
}

TEST(StartUp, ReplaysDroppedOnTheWindowOpenAsFromTheDesktop) {
    Program p;
    p.start();
    p.dialogs.expect([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Choose lap - sample_hotlap.rpy"));
        return QDialog::Rejected;
    });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(p.replay("sample_hotlap.rpy")))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.app->frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&p.app->frame(), &drop);
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_TRUE(p.ui.openRequests.empty());
}
