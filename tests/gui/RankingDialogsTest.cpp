#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "GuiFixture.h"
#include "core/ranking/OrvRankUpload.h"
#include "gui/app/CMainFrame.h"
#include "gui/library/PBViewerDialog.h"
#include "gui/ranking/RankingDialogs.h"

using guitest::Program;
using movrane::CommandId;

namespace {

void click(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text) return button->click();
    ADD_FAILURE() << "no button " << text.toStdString();
}

}  // namespace

TEST(RankingDialogs, PBViewerButtonsNeedARefreshThenOpenTheirWindows) {
    Program p;
    p.start();
    p.dialogs.expect([&p](QDialog& dialog) {
        auto* viewer = qobject_cast<movrane::gui::PBViewerDialog*>(&dialog);
        if (!viewer) return int(QDialog::Rejected);
        click(*viewer, "Upload laptimes to OrvRank");
        click(*viewer, "OrvRank calculator");
        EXPECT_EQ(p.messageTexts(), (std::vector<std::string>{
                                        "No laptimes to upload!\r\nYou must first click 'Refresh' above",
                                        "No laptimes to calculate Ranks on!\r\nYou must first click 'Refresh' above"}));
        p.dialogs.expect([](QDialog& login) {
            EXPECT_EQ(login.windowTitle(), QStringLiteral("OrvRank Login"));
            login.findChildren<QLineEdit*>().at(0)->setText(QStringLiteral("ann"));
            login.accept();
            return login.result();
        });
        p.dialogs.expect([](QDialog& calculator) {
            EXPECT_TRUE(qobject_cast<movrane::gui::NewOrvRankCalculatorDialog*>(&calculator));
            return int(QDialog::Accepted);
        });
        viewer->findChild<QComboBox*>()->setCurrentIndex(0);
        click(*viewer, "Refresh");
        click(*viewer, "Upload laptimes to OrvRank");
        EXPECT_EQ(p.messageTexts().back(), movrane::NO_ORVRANK_HOST_MESSAGE);
        click(*viewer, "OrvRank calculator");
        return int(QDialog::Rejected);
    });
    p.app->frame().runCommand(CommandId::PBViewer);
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_EQ(movrane::orvranklogin().user, "");  // the save box was not ticked
}

TEST(RankingDialogs, HandicapCommandCalculatesForTheChosenPlayer) {
    Program p;
    p.start();
    p.dialogs.expect([](QDialog& dialog) {
        auto* handicap = qobject_cast<movrane::gui::OrvRankDialog*>(&dialog);
        if (!handicap) return int(QDialog::Rejected);
        EXPECT_EQ(handicap->windowTitle(), QStringLiteral("OrvRank Handicap calculator"));
        handicap->players()->setCurrentIndex(0);
        click(*handicap, "Calculate");
        QStringList texts;
        for (const QLineEdit* field : handicap->findChildren<QLineEdit*>()) texts << field->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("Missing 77 laptime(s)"))) << texts.join('|').toStdString();
        return int(QDialog::Rejected);
    });
    p.app->frame().runCommand(CommandId::OrvRankHandicap);
    EXPECT_TRUE(p.dialogs.allUsed());
}

TEST(RankingDialogs, ProgressWindowClosesOnlyAfterTheExchange) {
    testsupport::ScriptedUi ui;
    movrane::OrvRankUploadProgress progress({"127.0.0.1:9", "/nonexistent/upload.ini", "t", "u", "p", 5}, ui);
    movrane::gui::OrvRankUploadProgressDialog dialog(progress, nullptr);
    progress.setLineHook([&dialog](const std::string&) {
        dialog.reject();
        EXPECT_TRUE(dialog.isVisible());
    });
    dialog.show();
    guitest::settle();
    EXPECT_TRUE(progress.finished());
    EXPECT_TRUE(dialog.transcript()->toPlainText().startsWith(QStringLiteral("Beginning communication")));
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}
