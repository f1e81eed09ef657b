#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDockWidget>
#include <QMenu>
#include <QTest>
#include <QToolBar>

#include "GuiFixture.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/platform/Files.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CZodEvadiView.h"
#include "gui/app/LapBarWindow.h"

using guitest::countPixels;
using guitest::Program;
using movrane::CommandId;

namespace {
const QRgb RED = qRgb(255, 0, 0);
const QRgb BLUE = qRgb(0, 0, 255);
const QRgb WHITE = qRgb(255, 255, 255);

QImage grabMap(movrane::gui::CMainFrame& frame) {
    guitest::settle();
    return frame.view()->grab().toImage();
}
}  // namespace

TEST(MainWindow, StartsWithTwoCommandLineLapsInTheLapBarAndOnTheMap) {
    guitest::TwoLaps p;
    auto& frame = p.app->frame();
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Movrane - version 7.0"));
    EXPECT_EQ(p.app->document().loadedLaps(), 2);

    auto* bar = frame.lapBarWindow();
    EXPECT_TRUE(bar->box(0)->isChecked());
    EXPECT_TRUE(bar->box(0)->isEnabled());
    EXPECT_TRUE(bar->box(0)->text().startsWith(QStringLiteral("Ada Marsh - Practice lap 2 (")));
    EXPECT_TRUE(bar->box(1)->text().startsWith(QStringLiteral("Tomas Velin - Race lap 4 (")));
    EXPECT_EQ(bar->box(1)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_FALSE(bar->box(2)->isEnabled());
    EXPECT_FALSE(bar->box(2)->isChecked());

    // Distance markers are red like lap 1: hidden here so that only the laps draw red. Both
    // laps follow nearly the same line, and lap 2 is drawn over lap 1.
    frame.action(CommandId::DistanceMarkers)->trigger();
    EXPECT_FALSE(frame.view()->drawOptions().distanceMarkers);
    EXPECT_GT(countPixels(grabMap(frame), BLUE), 100);

    QTest::mouseClick(bar->box(1), Qt::LeftButton);
    EXPECT_FALSE(p.app->document().slot(1).shown);
    const QImage redOnly = grabMap(frame);
    EXPECT_EQ(countPixels(redOnly, BLUE), 0);
    EXPECT_GT(countPixels(redOnly, RED), 100);

    QTest::mouseClick(bar->box(0), Qt::LeftButton);
    EXPECT_FALSE(p.app->document().slot(0).shown);
    EXPECT_EQ(countPixels(grabMap(frame), RED), 0);

    frame.action(CommandId::DistanceMarkers)->trigger();
    EXPECT_TRUE(frame.view()->drawOptions().distanceMarkers);
    EXPECT_GT(countPixels(grabMap(frame), RED), 20) << "the distance markers";

    // The View menu's bar commands hide and show their bars, ticked while the bar shows.
    const std::pair<CommandId, QWidget*> bars[] = {
        {CommandId::LapBarShown, frame.lapBarDock()},
        {CommandId::PlaybackBarShown, frame.findChild<QToolBar*>(QStringLiteral("PlaybackBar"))},
        {CommandId::ZoomBarShown, frame.findChild<QToolBar*>(QStringLiteral("ZoomBar"))},
    };
    for (const auto& [id, widget] : bars) {
        ASSERT_NE(widget, nullptr);
        QAction* shown = frame.action(id);
        EXPECT_TRUE(shown->isChecked()) << shown->text().toStdString();
        shown->trigger();
        guitest::settle();
        EXPECT_FALSE(widget->isVisible()) << shown->text().toStdString();
        EXPECT_FALSE(shown->isChecked()) << shown->text().toStdString();
        shown->trigger();
        guitest::settle();
        EXPECT_TRUE(widget->isVisible()) << shown->text().toStdString();
    }
}

TEST(MainWindow, RightButtonMenuMouseWheelAndPanningToolMoveTheMap) {
    guitest::TwoLaps p;
    auto* view = p.app->frame().view();
    std::unique_ptr<QMenu> menu(view->buildContextMenu());
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    EXPECT_EQ(texts, (QStringList{"Zoom in", "Zoom out", "Show whole track", "Panning tool", "Toggle lap 1",
                                  "Toggle lap 2", "Toggle lap 3", "Toggle lap 4", "Toggle lap 5"}));
    QAction* toggle2 = menu->actions().at(6);  // after the separator
    EXPECT_EQ(toggle2->text(), QStringLiteral("Toggle lap 2"));
    EXPECT_TRUE(toggle2->isEnabled());
    EXPECT_TRUE(toggle2->isChecked());
    EXPECT_FALSE(menu->actions().at(7)->isEnabled()) << "slot 3 holds no lap";
    toggle2->trigger();
    EXPECT_FALSE(p.app->document().slot(1).shown);
    EXPECT_FALSE(p.app->frame().lapBarWindow()->box(1)->isChecked());

    menu->actions().at(0)->trigger();
    EXPECT_DOUBLE_EQ(view->mapView().zoom(), movrane::MapView::ZOOM_STEP);
    menu->actions().at(2)->trigger();
    EXPECT_DOUBLE_EQ(view->mapView().zoom(), 1.0);
    p.app->frame().action(CommandId::PanningTool)->trigger();
    EXPECT_TRUE(view->mapView().panning());
    EXPECT_TRUE(p.app->frame().action(CommandId::PanningTool)->isChecked());
    p.app->frame().action(CommandId::PanningTool)->trigger();
    menu->actions().at(2)->trigger();

    // The mouse wheel zooms, the panning tool drags the map.
    const QPoint centre = view->rect().center();
    QWheelEvent wheel(QPointF(centre), QPointF(view->mapToGlobal(centre)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    EXPECT_DOUBLE_EQ(view->mapView().zoom(), movrane::MapView::ZOOM_STEP);

    view->togglePanning();
    const double before = view->mapView().centreX();
    QTest::mousePress(view, Qt::LeftButton, {}, centre);
    QTest::mouseMove(view, centre + QPoint(30, 0));
    QTest::mouseRelease(view, Qt::LeftButton, {}, centre + QPoint(30, 0));
    EXPECT_LT(view->mapView().centreX(), before) << "dragging right shows more of the left";

    // A track loaded anew after the laps were cleared is shown whole.
    p.app->document().clear();
    ASSERT_EQ(p.app->document().commandLineLoad(p.replay("sample_race.rpy"), movrane::RACE, 1, 4),
              movrane::CZodEvadiDoc::LoadResult::Loaded);
    EXPECT_EQ(std::tuple(view->mapView().zoom(), view->mapView().centreX()), std::tuple(1.0, 5000.0));
}

TEST(MainWindow, EmptyWindowShowsTheProgramLineOnly) {
    Program p(Program::Installation::Bare);
    p.start();
    EXPECT_TRUE(p.ui.messages.empty());
    const QImage image = grabMap(p.app->frame());
    int drawnRows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != (WHITE & 0xffffff)) {
                ++drawnRows;
                EXPECT_LT(y, 40) << "nothing but the line at the top";
                break;
            }
    EXPECT_GT(drawnRows, 5);
}

TEST(MainWindow, SavesTheMapAsABitmapOfTheSizePreference) {
    guitest::TwoLaps p;
    const std::string file = p.dir.file("map");
    p.ui.queueFile(file);
    p.app->frame().runCommand(CommandId::SaveTrackmap);
    const QImage saved(QString::fromStdString(file + ".bmp"));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(768, 768));
    EXPECT_EQ(testsupport::readFileBytes(file + ".bmp").at(0), 'B');
    EXPECT_GT(countPixels(saved, BLUE), 50);
    // Margins of 5 pixels stay free.
    for (int i = 0; i < 768; ++i) {
        EXPECT_EQ(saved.pixel(i, 2) & 0xffffff, WHITE & 0xffffff);
        EXPECT_EQ(saved.pixel(2, i) & 0xffffff, WHITE & 0xffffff);
    }
    EXPECT_TRUE(p.ui.allAnswersUsed());
    // A map that cannot be saved keeps the old file and says so.
    const std::string kept = p.dir.file("kept.bmp");
    testsupport::writeFileBytes(kept, {'o', 'l', 'd'});
    p.ui.queueFile(kept);
    {
        const movrane::FailingWrite fullDisk(1);
        p.app->frame().runCommand(CommandId::SaveTrackmap);
    }
    EXPECT_EQ(testsupport::readFileText(kept), "old");
    EXPECT_EQ(p.messageTexts().back(), movrane::BITMAP_NOT_CREATED_MESSAGE);
}

TEST(MainWindow, AnUnreadableSettingsFileIsToldOnceAtStartUp) {
    Program p;
    p.app.reset();
    const std::string unreadable = "[Settings]\nMPH=1\n";
    testsupport::writeFileBytes(p.sandbox.userStoreFile(), {unreadable.begin(), unreadable.end()});
    p.app = std::make_unique<movrane::gui::CZodEvadiApp>(p.ui);
    p.start();
    const auto texts = p.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("The settings file " + p.sandbox.userStoreFile() + " could not be read", 0), 0u)
        << texts[0];

    p.app = std::make_unique<movrane::gui::CZodEvadiApp>(p.ui);
    p.start();
    EXPECT_EQ(p.messageTexts().size(), 1u) << "told once";
}

