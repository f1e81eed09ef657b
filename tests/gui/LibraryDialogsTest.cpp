#include <gtest/gtest.h>

#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "gui/app/CMainFrame.h"
#include "gui/library/LapFinderDialog.h"
#include "gui/library/TrackOrganiserDialog.h"

using guitest::Program;
using movrane::CommandId;

TEST(LibraryDialogs, LapFinderScansTheFirstLapsTrackAndLoadsTheChosenLap) {
    guitest::TwoLaps p;
    p.app->document().removeLap(1);
    p.dialogs.expect([&p](QDialog& dialog) {
        auto* finder = qobject_cast<movrane::gui::LapFinderDialog*>(&dialog);
        if (!finder) return int(QDialog::Rejected);
        EXPECT_EQ(finder->windowTitle(), QStringLiteral("Lap Finder"));
        EXPECT_GT(finder->list()->topLevelItemCount(), 1) << "harbour scanned at once";
        // The list's right-button menu copies the table.
        const QList<QAction*> menu = finder->listMenu()->actions();
        EXPECT_EQ(menu.size(), 1);
        if (!menu.empty()) {
            EXPECT_EQ(menu[0]->text(), QStringLiteral("Copy table to clipboard "));
            EXPECT_EQ(menu[0]->toolTip(), QStringLiteral("(Can be pasted into Excel)"));
            menu[0]->trigger();
        }
        EXPECT_EQ(p.ui.clipboard.size(), 1u);
        finder->list()->topLevelItem(1)->setSelected(true);
        finder->accept();
        return finder->result();
    });
    p.app->frame().runCommand(CommandId::LapFinder);
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_EQ(p.app->document().loadedLaps(), 2);
}

TEST(LibraryDialogs, TrackOrganizerAsksBeforeClosingWithUnsavedChanges) {
    Program p;
    p.start();
    p.dialogs.expect([&p](QDialog& dialog) {
        auto* organiser = qobject_cast<movrane::gui::TrackOrganiserDialog*>(&dialog);
        if (!organiser) return int(QDialog::Rejected);
        EXPECT_EQ(organiser->list()->topLevelItemCount(), 5);
        p.ui.queueYesNo(true);
        p.ui.queueYesNo(false);
        organiser->list()->topLevelItem(4)->setSelected(true);
        for (QPushButton* b : organiser->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Remove")) b->click();
        EXPECT_EQ(organiser->list()->topLevelItemCount(), 4);
        organiser->reject();
        EXPECT_EQ(p.ui.questions.back().text,
                  "You haven't exported your changes,\r\nclose Track Organizer anyway?");
        return int(QDialog::Rejected);
    });
    p.app->frame().runCommand(CommandId::TrackOrganizer);
    EXPECT_TRUE(p.dialogs.allUsed());
}
