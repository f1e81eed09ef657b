#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "core/app/WindowState.h"
#include "core/library/Options.h"
#include "core/library/Prefs.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CZodEvadiView.h"
#include "gui/app/ChooselapDialog.h"
#include "gui/app/LapBarWindow.h"
#include "gui/library/OptionsDialog.h"
#include "gui/platform/QtUi.h"
#include "gui/reports/ReportWindow.h"

using guitest::Program;
using movrane::CommandId;
using movrane::gui::ReportWindow;

namespace {

// The offscreen platform activates no window by itself.
void showActive(QWidget& window) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    guitest::settle();
}

}  // namespace

// Open at the top with the focus in the text; Ctrl+F and F3 find a driver; Tab comes
// back to the text; Ctrl+W closes, and the size is kept for the next report.
TEST(ReportWindowUse, OpensAtTheTopFindsAndClosesFromTheKeyboard) {
    guitest::TwoLaps p;
    p.dialogs.expect(guitest::chooseRaceFile);
    p.dialogs.expect([](QDialog& dialog) -> int {
        auto* window = qobject_cast<ReportWindow*>(&dialog);
        if (!window) return QDialog::Rejected;
        QPlainTextEdit* text = window->textView();
        showActive(*window);
        EXPECT_EQ(QApplication::focusWidget(), text);
        EXPECT_EQ(text->verticalScrollBar()->value(), 0);
        EXPECT_GT(text->verticalScrollBar()->maximum(), 0) << "a report longer than the window";
        EXPECT_EQ(text->textCursor().position(), 0);

        QTest::keyClick(text, Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), window->findBox());
        QTest::keyClicks(window->findBox(), QStringLiteral("tomas velin"));
        QTest::keyClick(window->findBox(), Qt::Key_Return);
        EXPECT_EQ(text->textCursor().selectedText(), QStringLiteral("Tomas Velin"));
        const int first = text->textCursor().position();
        QTest::keyClick(window->findBox(), Qt::Key_F3);
        EXPECT_EQ(text->textCursor().selectedText(), QStringLiteral("Tomas Velin"));
        EXPECT_NE(text->textCursor().position(), first) << "the next place";
        window->findBox()->setText(QStringLiteral("nobody of that name"));
        EXPECT_FALSE(window->findNext());

        QTest::keyClick(window->findBox(), Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), text);
        window->resize(820, 590);
        QTest::keyClick(text, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(window->isVisible());
        return window->result();
    });
    p.app->frame().runCommand(CommandId::ReportRace);
    EXPECT_TRUE(p.dialogs.allUsed());
    const auto kept = movrane::WindowState().reportWindowSize();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->width, 820);
    EXPECT_EQ(kept->height, 590);
}

TEST(MainWindowUse, ZoomAndFitKeysWorkAndShowInTheMenus) {
    guitest::TwoLaps p;
    auto& frame = p.app->frame();
    showActive(frame);
    const movrane::MapView& map = frame.view()->mapView();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double zoom;
    } presses[] = {
        {Qt::Key_Plus, Qt::ControlModifier, 1.5},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 2.25},
        {Qt::Key_Equal, Qt::ControlModifier, 3.375},
        {Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, 2.25},
        {Qt::Key_Minus, Qt::ControlModifier, 1.5},
        {Qt::Key_0, Qt::ControlModifier, 1.0},
    };
    for (const auto& press : presses) {
        QTest::keyClick(frame.view(), press.key, press.modifiers);
        EXPECT_DOUBLE_EQ(map.zoom(), press.zoom) << QKeySequence(press.key | press.modifiers).toString().toStdString();
    }
    EXPECT_EQ(frame.action(CommandId::ZoomIn)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
    EXPECT_EQ(frame.action(CommandId::FitToTrack)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
    EXPECT_EQ(frame.lapBarWindow()->box(1)->toolTip(), QStringLiteral("sample_race.rpy"));
}

TEST(LapChooserUse, DoubleClickOnALapAcceptsItAsOkDoes) {
    Program p;
    p.start();
    p.ui.queueFile(p.replay("sample_race.rpy"));
    p.dialogs.expect([](QDialog& dialog) -> int {
        auto* chooser = qobject_cast<movrane::gui::ChooselapDialog*>(&dialog);
        if (!chooser) return QDialog::Rejected;
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Choose lap - sample_race.rpy"));
        showActive(*chooser);
        QTreeWidget* tree = chooser->tree();
        tree->expandAll();
        const auto doubleClick = [tree](QTreeWidgetItem* item) {
            tree->scrollToItem(item);
            guitest::settle();
            // A click, then the double-click event as the window system sends it.
            const QPoint at = tree->visualItemRect(item).center();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, tree->viewport()->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &twice);
        };
        doubleClick(tree->topLevelItem(1));
        EXPECT_TRUE(chooser->isVisible()) << "a driver is no lap";
        EXPECT_TRUE(chooser->selectLap(1, movrane::RACE, 4));
        doubleClick(tree->currentItem());
        EXPECT_FALSE(chooser->isVisible());
        return chooser->result();
    });
    p.app->frame().runCommand(CommandId::AddLap);
    ASSERT_EQ(p.app->document().loadedLaps(), 1);
    EXPECT_EQ(p.app->document().slot(0).lapNumber, 4);
}

TEST(SettingsUse, TabFollowsTheLayoutAndTheBitmapSizeTakesDigitsOnly) {
    Program p;
    p.start();
    movrane::Options options(movrane::Prefs::get(), p.ui);
    movrane::gui::OptionsDialog dialog(options, &p.app->frame());
    showActive(dialog);
    QList<QWidget*> order;
    QWidget* first = dialog.findChildren<QRadioButton*>().front();
    first->setFocus();
    for (int i = 0; i < 20; ++i) {
        order << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const auto at = [&order](QWidget* w) { return order.indexOf(w); };
    QCheckBox* retirement = nullptr;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        if (box->text().startsWith(QStringLiteral("Include retirement"))) retirement = box;
    ASSERT_NE(retirement, nullptr);
    EXPECT_LT(at(first), at(dialog.orvPathField()));
    EXPECT_LT(at(dialog.orvPathField()), at(retirement)) << "the paths stand above the report options";
    EXPECT_LT(at(retirement), at(dialog.bitmapSizeField()));

    dialog.bitmapSizeField()->clear();
    QTest::keyClicks(dialog.bitmapSizeField(), QStringLiteral("1a2-4 "));
    EXPECT_EQ(dialog.bitmapSizeField()->text(), QStringLiteral("124"));
}

TEST(MessageBoxes, ShowTheDetailsAndTheWholeTitle) {
    movrane::gui::QtUi qt;
    movrane::Ui& ui = qt;
    QStringList details;
    qt.setMessageBoxRunner([&details](QMessageBox& box) {
        details << box.detailedText();
        box.show();
        guitest::settle();
        EXPECT_GE(box.width(), box.fontMetrics().horizontalAdvance(box.windowTitle())) << box.windowTitle().toStdString();
        return int(QMessageBox::Ok);
    });
    ui.message("HeaderClass: Error reading file!", {}, movrane::Ui::Icon::Warning,
               "File: /replays/bad.rpy\nReason: the file is not a replay.");
    ui.message("Choose a lap to view!", "No lap choosen!", movrane::Ui::Icon::Information);
    EXPECT_EQ(details, (QStringList{QStringLiteral("File: /replays/bad.rpy\nReason: the file is not a replay."), QString()}));
}

// Size and place of the main window come back in the next run; the lap bar starts as
// wide as its labels, not half the window.
TEST(WindowStateUse, MainWindowComesBackAsItWasLeft) {
    guitest::TwoLaps p;
    auto& frame = p.app->frame();
    showActive(frame);
    const int barWidth = frame.lapBarDock()->width();
    EXPECT_GE(barWidth, frame.lapBarWindow()->sizeHint().width());
    // At most a third of the window, unless the bar's own widgets need more.
    EXPECT_LE(barWidth, std::max(frame.width() / 3, frame.lapBarWindow()->minimumSizeHint().width()) + 20);
    frame.resize(900, 650);
    p.dialogs.expect(guitest::chooseRaceFile);
    frame.runCommand(CommandId::PlaybackRaceMode);  // left while the race was replayed
    guitest::settle();
    const QSize left = frame.size();  // the race bar may need more height
    frame.close();
    p.app.reset();
    p.app = std::make_unique<movrane::gui::CZodEvadiApp>(p.ui);
    EXPECT_EQ(p.app->frame().size(), left);
    EXPECT_FALSE(p.app->frame().lapBarDock()->isHidden()) << "a new run starts with the driving lines";
    EXPECT_TRUE(p.app->frame().raceBarDock()->isHidden());
}

// The readouts widen the lap bar while laps play; leaving the program then does not keep
// that width for the next run.
TEST(WindowStateUse, LeavingDuringPlaybackKeepsTheLapBarWidth) {
    guitest::TwoLaps p;
    showActive(p.app->frame());
    const int width = p.app->frame().lapBarDock()->width();
    p.app->frame().runCommand(CommandId::PlaybackStart);
    p.app->frame().playbackTick();
    guitest::settle();
    ASSERT_GT(p.app->frame().lapBarDock()->width(), width);
    p.app->frame().close();
    p.app.reset();
    p.app = std::make_unique<movrane::gui::CZodEvadiApp>(p.ui);
    showActive(p.app->frame());
    EXPECT_EQ(p.app->frame().lapBarDock()->width(), width);
}

// CTest runs this case once more under a comma-decimal locale (where one is installed): the
// core's numbers must keep their decimal point after the toolkit has adopted the locale.
TEST(Application, CoreNumbersKeepTheirDecimalPointUnderTheUsersLocale) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", 83.456);
    EXPECT_STREQ(text, "83.456");
}
