#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDockWidget>
#include <QLabel>

#include "GuiFixture.h"
#include "core/app/MapDrawing.h"
#include "core/app/MapView.h"
#include "core/track/Track.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/CZodEvadiView.h"
#include "gui/app/LapBarWindow.h"

using guitest::countPixels;
using movrane::CommandId;

namespace {

// Whether the colour stands within `reach` pixels of a point of the image.
bool colourNear(const QImage& image, QPointF at, QColor colour, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(static_cast<int>(at.x()) + dx, static_cast<int>(at.y()) + dy);
            if (image.valid(p) && image.pixelColor(p) == colour) return true;
        }
    return false;
}

}  // namespace

TEST(PlaybackWindow, RaceCarsStandOnTheMapWhereTheTimelinePutsThem) {
    guitest::TwoLaps p;
    auto& frame = p.app->frame();
    guitest::settle();
    const QSize windowSize = frame.size();
    p.dialogs.expect(guitest::chooseRaceFile);
    frame.runCommand(CommandId::PlaybackRaceMode);
    ASSERT_TRUE(frame.playback().raceMode());
    ASSERT_TRUE(frame.raceReplay().loaded()) << frame.raceReplay().failureText();
    guitest::settle();
    EXPECT_TRUE(frame.raceBarDock()->isVisible());
    EXPECT_FALSE(frame.lapBarDock()->isVisible());

    movrane::RaceReplay& race = frame.raceReplay();
    race.carDrawing = movrane::CarDrawing::Circles;
    race.setFocus(movrane::PlaybackFocus::Manual);
    frame.runCommand(CommandId::PlaybackStart);
    frame.runCommand(CommandId::PlaybackFastForward);
    for (int i = 0; i < 1500; ++i) frame.playbackTick();
    frame.runCommand(CommandId::PlaybackPause);  // the map holds still while it is checked
    ASSERT_EQ(race.frame(), 6000u);

    guitest::settle();
    const QImage image = frame.view()->grab().toImage();
    const movrane::Track& track = *p.app->document().track();
    const movrane::MapFit fit =
        movrane::logicalMapFit(movrane::drawnMapExtent(p.app->document(), frame.view()->drawOptions()));
    std::vector<QPointF> points;
    for (const movrane::RaceCar& car : race.cars()) {
        const auto metres = track.samplePosition(car.distance, car.lateral);
        ASSERT_TRUE(metres);
        const movrane::UnitPoint units = fit.toUnits(*metres);
        const movrane::PixelPoint pixel =
            frame.view()->mapView().toPixels(static_cast<double>(units.x), static_cast<double>(units.y));
        points.emplace_back(pixel.x, pixel.y);
    }
    ASSERT_GE(points.size(), 10u);
    int checked = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        // A car that a later one covers cannot show its colour.
        bool covered = false;
        for (std::size_t j = i + 1; j < points.size(); ++j)
            covered = covered || QLineF(points[i], points[j]).length() < 12;
        if (covered) continue;
        const movrane::Colour c = movrane::raceCarColour(race.cars()[i].driver);
        EXPECT_TRUE(colourNear(image, points[i], QColor(c.red, c.green, c.blue), 2)) << "car " << race.cars()[i].driver;
        ++checked;
    }
    EXPECT_GE(checked, 3);

    frame.runCommand(CommandId::PlaybackRaceMode);
    EXPECT_FALSE(frame.playback().raceMode());
    guitest::settle();
    EXPECT_TRUE(frame.lapBarDock()->isVisible());
    EXPECT_FALSE(frame.raceBarDock()->isVisible());
    EXPECT_EQ(frame.size(), windowSize) << "the two bars never stand in the window together";
}

TEST(PlaybackWindow, DrivingLinesGrowWithReadoutsUntilStopped) {
    guitest::TwoLaps p;
    auto& frame = p.app->frame();
    frame.runCommand(CommandId::DistanceMarkers);
    const int wholeLines = countPixels(frame.view()->grab().toImage(), qRgb(0, 0, 255));
    const int lapBarWidth = frame.lapBarDock()->width();

    frame.runCommand(CommandId::PlaybackStart);
    ASSERT_TRUE(frame.playback().running());
    frame.runCommand(CommandId::PlaybackPause);
    frame.runCommand(CommandId::PlaybackStart);
    for (int i = 0; i < 200; ++i) frame.playbackTick();
    frame.runCommand(CommandId::PlaybackPause);
    frame.view()->fitToTrack();  // Start centred the map on the first lap's start
    guitest::settle();
    auto* bar = frame.lapBarWindow();
    EXPECT_FALSE(bar->box(0)->isEnabled());
    EXPECT_TRUE(bar->readout(0)->isVisible()) << "the readouts stay while paused";
    EXPECT_TRUE(bar->readout(0)->text().contains(QStringLiteral("km/h")));
    EXPECT_GT(frame.lapBarDock()->width(), lapBarWidth) << "the readouts need more room";
    EXPECT_EQ(bar->elapsed()->text(), QStringLiteral("0:11"));
    EXPECT_FALSE(frame.action(CommandId::ToggleLap1)->isEnabled());
    const int partLines = countPixels(frame.view()->grab().toImage(), qRgb(0, 0, 255));
    EXPECT_GT(partLines, 10);
    EXPECT_LT(partLines, wholeLines);

    frame.runCommand(CommandId::PlaybackStop);
    guitest::settle();
    EXPECT_FALSE(frame.playback().running());
    EXPECT_TRUE(bar->box(0)->isEnabled());
    EXPECT_FALSE(bar->readout(0)->isVisible());
    EXPECT_TRUE(bar->splitMarker(0, 2)->isVisible());
    EXPECT_EQ(frame.lapBarDock()->width(), lapBarWidth) << "the map gets its room back";
    // The lines are whole again (the view may have changed its size with the lap bar).
    EXPECT_GT(countPixels(frame.view()->grab().toImage(), qRgb(0, 0, 255)), partLines);
}
