#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "gui/analysis/GearChangeAnalyserWindow.h"
#include "gui/analysis/RaceWindows.h"
#include "gui/analysis/RatingsWindow.h"
#include "gui/analysis/TractionCircleWindow.h"
#include "core/track/Section.h"
#include "core/track/Track.h"
#include "gui/app/CMainFrame.h"

using guitest::Program;
using movrane::CommandId;

namespace {

QPushButton* button(QWidget& window, const QString& text) {
    for (auto* b : window.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace

TEST(AnalysisWindows, GuardsWithoutALap) {
    Program p(Program::Installation::Bare);
    p.start();
    for (CommandId id : {CommandId::TractionCircle, CommandId::Ratings, CommandId::Graph}) p.app->frame().runCommand(id);
    EXPECT_EQ(p.messageTexts(), std::vector<std::string>(3, "No replay lap loaded!"));
    EXPECT_EQ(p.app->frame().graphWindow(), nullptr);
    p.dialogs.expect([](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::GearChangeAnalyserWindow>(dialog);
        EXPECT_NE(window, nullptr);
        if (window) {
            EXPECT_EQ(window->list()->topLevelItemCount(), 0);
        }
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::GearChangeAnalyser);
    EXPECT_TRUE(p.dialogs.allUsed());
}

TEST(AnalysisWindows, TractionCircleRatingsAndGearChanges) {
    guitest::TwoLaps p;
    p.dialogs.expect([&](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::TractionCircleWindow>(dialog);
        if (!window) return QDialog::Rejected;
        auto* start = window->startField();
        start->setText(QStringLiteral("1000"));
        emit start->editingFinished();
        EXPECT_EQ(window->circle().start(), 1000);
        EXPECT_FALSE(window->graphRangeBox()->isEnabled()) << "no telemetry graph is open";
        button(*window, QStringLiteral("Ratings"))->click();
        return QDialog::Accepted;
    });
    p.dialogs.expect([&](QDialog& dialog) {
        auto* ratings = guitest::dialogAs<movrane::gui::RatingsWindow>(dialog);
        if (!ratings) return QDialog::Rejected;
        button(*ratings, QStringLiteral("Copy Table To Clipboard"))->click();
        ratings->toggleInformation();
        EXPECT_TRUE(ratings->ratings().informationShown());
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::TractionCircle);
    ASSERT_EQ(p.ui.clipboard.size(), 1u);
    EXPECT_EQ(p.ui.clipboard[0].rfind("Driver/Laptime/Car\t", 0), 0u);
    const movrane::Track& track = *p.app->document().track();
    for (std::size_t i = 0; i < track.numberOfSections(); ++i)
        EXPECT_FALSE(track.sectionAt(i).highlighted()) << "the map's highlight is cleared on close";

    p.dialogs.expect([](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::GearChangeAnalyserWindow>(dialog);
        EXPECT_NE(window, nullptr);
        if (window) {
            EXPECT_GT(window->list()->topLevelItemCount(), 0);
            EXPECT_TRUE(window->verdict()->text().startsWith(QStringLiteral("Out of ")));
        }
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::GearChangeAnalyser);
    EXPECT_TRUE(p.dialogs.allUsed());
}

TEST(AnalysisWindows, RacePicturesExportBitmapsIntoTheReplayFolder) {
    Program p;
    p.start({"-loadrpy", "-c1", "-f" + p.replay("sample_race.rpy"), "-s1", "-d1", "-l4"});
    const std::string chosen = p.dir.file("replay/graph");
    p.ui.queueFile(chosen);
    p.dialogs.expect([](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::RaceHistoryGraphWindow>(dialog);
        if (window) window->exportBitmap();
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::RaceHistoryGraph);
    ASSERT_EQ(p.ui.saveRequests.size(), 1u);
    EXPECT_EQ(p.ui.saveRequests[0].initialPath, p.dir.file("replay/Harbour_RaceGraph.bmp"));
    EXPECT_EQ(p.ui.saveRequests[0].filters.at(0).description, "Bitmap files (*.bmp)");
    EXPECT_EQ(testsupport::readFileText(chosen + ".bmp").substr(0, 2), "BM");

    p.ui.queueFile(std::nullopt);
    p.dialogs.expect([](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::GraphicalRaceReportWindow>(dialog);
        if (window) window->exportBitmap();
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::GraphicalRaceReport);
    EXPECT_EQ(p.ui.saveRequests.back().initialPath, p.dir.file("replay/Harbour_RaceReport.bmp"));
    for (const auto& text : p.messageTexts()) EXPECT_NE(text, "Error creating file!");
}

TEST(AnalysisWindows, RacePicturesRefuseAReplayWithoutRace) {
    Program p;
    p.start({"-loadrpy", "-c1", "-f" + p.replay("sample_hotlap.rpy"), "-s0", "-d0", "-l2"});
    p.app->frame().runCommand(CommandId::RaceHistoryGraph);
    EXPECT_EQ(p.messageTexts().back(), "This replay file does not contain race info!");
    EXPECT_TRUE(p.dialogs.titles.empty());
}
