#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "GuiFixture.h"
#include "core/app/CZodEvadiDoc.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/ChooselapDialog.h"
#include "gui/app/LapBarWindow.h"
#include "gui/app/MergeParametersDialog.h"
#include "gui/reports/ReportWindow.h"
#include "gui/track/GrooveExportDialog.h"

using guitest::Program;
using movrane::CommandId;

namespace {
bool advancesAlike(const QFontMetricsF& metrics) {
    for (const char c : std::string(" .:0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-()\xe9"))
        if (metrics.horizontalAdvance(QChar(static_cast<unsigned char>(c))) != metrics.horizontalAdvance(QLatin1Char('M')))
            return false;
    return true;
}
}  // namespace

TEST(ReportWindow, OpensOverTheChosenReplayWithItsTitleAndTextAndPrints) {
    guitest::TwoLaps p;
    const std::string pdf = p.dir.file("report.pdf");
    p.dialogs.expect(guitest::chooseRaceFile);
    p.dialogs.expect([&pdf](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::ReportWindow>(dialog);
        if (!window) return QDialog::Rejected;
        EXPECT_EQ(window->titleText(), QStringLiteral("Race Report"));
        const QString text = window->textView()->toPlainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("Track: Harbour"))) << text.left(40).toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("RACE RESULTS (After 9 laps)")));
        EXPECT_FALSE(text.contains(QLatin1Char('\r')));
        EXPECT_TRUE(window->textView()->isReadOnly());
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        // Screen and paper use one font in which every report character is equally wide,
        // so the columns line up in both.
        EXPECT_EQ(window->printFont().family(), window->textView()->font().family());
        EXPECT_EQ(window->printFont().pointSize(), 9);
        EXPECT_TRUE(advancesAlike(QFontMetricsF(window->printFont(), &printer)));
        EXPECT_TRUE(advancesAlike(QFontMetricsF(window->textView()->font())));
        window->printTo(printer);
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::ReportRace);
    EXPECT_GT(testsupport::readFileBytes(pdf).size(), 1000u) << "the printed pages";
    EXPECT_EQ(p.dialogs.titles.front(), QStringLiteral("Feature only based on one file - choose which to use"));
    EXPECT_TRUE(p.dialogs.allUsed());
    // The mechanical report starts when the text gets the focus, and exports.
    const std::string exported = p.dir.file("mech.txt");
    p.ui.queueFile(exported);
    p.dialogs.expect(guitest::chooseRaceFile);
    p.dialogs.expect([](QDialog& dialog) {
        auto* window = guitest::dialogAs<movrane::gui::ReportWindow>(dialog);
        if (!window) return QDialog::Rejected;
        EXPECT_TRUE(window->textView()->toPlainText().isEmpty()) << "nothing before the focus";
        EXPECT_EQ(window->viewer().pendingKind(), 6);
        window->show();
        window->activateWindow();
        window->textView()->setFocus();
        guitest::settle();
        EXPECT_EQ(window->viewer().pendingKind(), 0);
        EXPECT_FALSE(window->textView()->toPlainText().isEmpty());
        EXPECT_EQ(window->textView()->verticalScrollBar()->value(), 0) << "the complete report shows its top";
        EXPECT_EQ(window->titleText(), QStringLiteral("Mechanical report"));
        window->exportToFile();
        return QDialog::Accepted;
    });
    const std::size_t loadMessages = p.ui.messages.size();
    p.app->frame().runCommand(CommandId::ReportMechanical);
    EXPECT_FALSE(testsupport::readFileText(exported).empty());
    EXPECT_EQ(p.ui.messages.size(), loadMessages);
}

TEST(LapChooser, OkRulesAndTheLapAddedFromTheMenu) {
    Program p;
    p.start();
    p.ui.queueFile(p.replay("sample_race.rpy"));
    p.dialogs.expect([&p](QDialog& dialog) -> int {
        auto* chooser = guitest::dialogAs<movrane::gui::ChooselapDialog>(dialog);
        if (!chooser) return QDialog::Rejected;
        EXPECT_EQ(chooser->tree()->topLevelItemCount(), 20);
        chooser->accept();
        EXPECT_EQ(p.ui.messages.back().text, "Choose a lap to view!");
        EXPECT_EQ(p.ui.messages.back().caption, "No lap choosen!");
        EXPECT_TRUE(chooser->selectLap(1, movrane::RACE, 0));
        chooser->accept();
        EXPECT_EQ(p.ui.messages.back().caption, "Not a valid lap!");
        EXPECT_TRUE(chooser->selectLap(1, movrane::RACE, 4));
        EXPECT_EQ(chooser->driverKindText(), QStringLiteral("AI-car"));
        EXPECT_EQ(chooser->sessionText(), QStringLiteral("Race Laps"));
        EXPECT_EQ(chooser->flagsText(), QStringLiteral("None reported"));
        chooser->accept();
        return chooser->result();
    });
    p.app->frame().runCommand(CommandId::AddLap);
    EXPECT_TRUE(p.dialogs.allUsed());
    ASSERT_EQ(p.app->document().loadedLaps(), 1);
    EXPECT_EQ(p.app->document().slot(0).lapNumber, 4);
    EXPECT_EQ(p.app->frame().lapBarWindow()->box(0)->text().left(11), QStringLiteral("Tomas Velin"));
    // The recent-file list holds the replay now.
    bool listed = false;
    for (QAction* a : p.app->frame().recentFilesMenu()->actions())
        listed = listed || a->text().endsWith(QStringLiteral("sample_race.rpy"));
    EXPECT_TRUE(listed);
}

TEST(GrooveExport, SettingsWindowWithItsDefaultsWritesTheFile) {
    guitest::TwoLaps p;
    const std::string file = p.dir.file("line");
    p.ui.queueFile(file);
    p.dialogs.expect(guitest::chooseRaceFile);
    p.dialogs.expect([](QDialog& dialog) {
        auto* groove = guitest::dialogAs<movrane::gui::GrooveExportDialog>(dialog);
        if (!groove) return QDialog::Rejected;
        EXPECT_EQ(groove->windowTitle(), QStringLiteral("Export Lap To Groove (GRV) File"));
        EXPECT_EQ(groove->resolution()->count(), 20);
        EXPECT_EQ(groove->resolution()->currentText(), QStringLiteral("0.5"));
        EXPECT_FALSE(groove->accelerationFactor()->isEnabled());
        groove->oldWay()->setChecked(true);
        EXPECT_TRUE(groove->rollFactor()->isEnabled());
        groove->accelerationFactor()->clear();
        groove->accept();
        EXPECT_EQ(groove->result(), QDialog::Rejected) << "an empty factor keeps the window open";
        groove->accelerationFactor()->setText(QStringLiteral("100"));
        EXPECT_EQ(groove->width()->text(), QStringLiteral("3.0"));
        return QDialog::Accepted;
    });
    p.app->frame().runCommand(CommandId::GrooveExport);
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_EQ(testsupport::readFileText(file + ".grv").rfind("60sections,", 0), 0u);
}

TEST(MergeParameters, MenuCommandAsksForOffsetsAndWritesTheMergedReplay) {
    guitest::TwoLaps p;
    const std::string file = p.dir.file("merged");
    p.ui.queueFile(file);
    p.dialogs.expect([&p](QDialog& dialog) -> int {
        auto* merge = guitest::dialogAs<movrane::gui::MergeParametersDialog>(dialog);
        if (!merge) return QDialog::Rejected;
        EXPECT_EQ(merge->windowTitle(), QStringLiteral("Merge parameters"));
        EXPECT_EQ(merge->offsetFields().size(), 2u);
        if (merge->offsetFields().size() != 2) return QDialog::Rejected;
        QLineEdit* field = merge->offsetFields()[1];
        field->clear();
        QTest::keyClicks(field, QStringLiteral("9x9999999"));
        EXPECT_EQ(field->text(), QStringLiteral("99999999")) << "only digits, '.' and ',' are taken";
        merge->accept();
        EXPECT_EQ(merge->result(), QDialog::Rejected) << "a value too large keeps the window open";
        EXPECT_EQ(p.messageTexts().back(), "To large number!");
        field->setText(QStringLiteral("0"));
        merge->accept();
        return merge->result();
    });
    p.app->frame().runCommand(CommandId::MergeLaps);
    EXPECT_TRUE(p.dialogs.allUsed());
    EXPECT_TRUE(std::filesystem::exists(file + ".rpy"));
}
