#include <gtest/gtest.h>

#include "core/analysis/RacePictures.h"
#include "core/image/RgbImage.h"

using movrane::GraphicalRaceReport;
using movrane::RaceHistoryGraph;
using movrane::RaceInput;

namespace {

RaceInput::Driver driver(const char* last, std::vector<uint32_t> laps) { return {"Jim", last, std::move(laps)}; }

// Three drivers over 5 laps: A wins at a steady 60 s pace after a 70 s first lap,
// B finishes 8 s behind, C retires after 2 laps, D never completes a lap.
RaceInput race() {
    RaceInput input;
    input.drivers = {driver("C", {71000, 61000}), driver("B", {72000, 61000, 61500, 61500, 60000}),
                     driver("A", {70000, 60000, 60000, 60000, 60000}), driver("D", {})};
    input.startingOrder = {2, 0, 1, 3};
    input.scheduledLaps = 5;
    input.trackDirectory = "monza";
    return input;
}

TEST(RaceHistoryGraph, WinnersPaceResultOrderAndValues) {
    RaceHistoryGraph graph(race());
    EXPECT_EQ(graph.winner(), 2);
    EXPECT_EQ(graph.average(), 60000);
    EXPECT_EQ(graph.averageText(), "1:00.000");
    EXPECT_EQ(graph.defaultTitle(), "Monza - 5 laps");
    EXPECT_EQ(graph.defaultFileName(), "Monza_RaceGraph.bmp");
    EXPECT_EQ(graph.resultOrder(), (std::vector<int>{2, 1, 0}));  // the retired driver after the finishers
    EXPECT_EQ(graph.values(2), (std::vector<int64_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(graph.values(1), (std::vector<int64_t>{2000, 3000, 4500, 6000, 6000}));
    EXPECT_EQ(graph.values(0), (std::vector<int64_t>{1000, 2000}));  // laps 0 and 1 only
    EXPECT_TRUE(graph.values(3).empty());
    EXPECT_EQ(movrane::resultColour(0), (movrane::Colour{0, 255, 0}));
    // A single-lap winner has no average, and nothing is divided by zero.
    RaceInput singleLap;
    singleLap.drivers = {driver("A", {70000}), driver("B", {71500})};
    RaceHistoryGraph single(singleLap);
    EXPECT_EQ(single.average(), 0);
    EXPECT_EQ(single.values(0), (std::vector<int64_t>{0}));
    EXPECT_EQ(single.values(1), (std::vector<int64_t>{1500}));
    // The vertical range keeps seven seconds ahead, and the manual scale.
    RaceHistoryGraph scaled(race());
    EXPECT_EQ(scaled.smallestValue(), 0);
    EXPECT_EQ(scaled.range(), 6000 + 2000 + 7000);  // nobody more than 7 s ahead of the pace
    scaled.scaleAutomatically = false;
    EXPECT_EQ(scaled.range(), 30000 + 2000 + 7000);
    RaceInput fast = race();
    fast.drivers[1].lapTimes = {60000, 60000, 60000, 60000, 70500};  // 10 s ahead until the last lap
    RaceHistoryGraph ahead(fast);
    EXPECT_EQ(ahead.smallestValue(), -10000);
    EXPECT_EQ(ahead.range(), 10000 + 2000 + 2000);  // more than 7 s ahead: no extra room
    // The graphical race report: positions, the lead lap and row labels.
    RaceInput lapped = race();
    lapped.drivers[1].lapTimes = {72000, 61000, 61500, 80000, 60000};  // B loses 18.5 s in lap 4
    lapped.drivers.push_back(driver("E", {75000, 120000, 90000}));
    GraphicalRaceReport graphical(lapped);
    EXPECT_EQ(graphical.lapColumns(), 5);
    EXPECT_EQ(graphical.positionsAt(1), (std::vector<int>{2, 0, 1, 4}));
    EXPECT_EQ(graphical.positionsAt(3), (std::vector<int>{2, 1, 4}));
    // After lap 2 E (195 s) is behind the leader's lap 3 (190 s): lapped.
    EXPECT_EQ(graphical.leadLapCount(2), 3);
    EXPECT_EQ(graphical.leadLapCount(5), 2);  // the last column: everyone who completed it
    EXPECT_EQ(graphical.rowOrder(), (std::vector<int>{2, 1, 4, 0, 3}));
    EXPECT_EQ(graphical.rowLabel(0), "Jim A   1");
    EXPECT_EQ(graphical.defaultFileName(), "Monza_RaceReport.bmp");
    // Times count from each driver's start: A, who began lap 1 nine seconds later, loses to B.
    RaceInput staggered = race();
    staggered.drivers[2].start = 9000;
    EXPECT_EQ(RaceHistoryGraph(staggered).winner(), 1);
    EXPECT_EQ(GraphicalRaceReport(staggered).positionsAt(5), (std::vector<int>{1, 2}));
    // The pictures paint into a bitmap with the drivers' colours.
    RaceHistoryGraph painted(race());
    movrane::RgbImage image(movrane::RACE_GRAPH_WIDTH, movrane::RACE_GRAPH_HEIGHT);
    movrane::ImagePainter painter(image);
    painted.paint(painter);
    bool winnerDrawn = false;
    for (int y = 0; y < image.height() && !winnerDrawn; ++y)
        for (int x = 0; x < image.width() && !winnerDrawn; ++x) winnerDrawn = image.pixel(x, y) == movrane::resultColour(0);
    EXPECT_TRUE(winnerDrawn);
    // A manual scale of 3 s behind: B's line (colour 5), 6 s behind at the end, is cut at the
    // plot's bottom edge instead of running over the labels below it.
    RaceHistoryGraph manual(race());
    manual.scaleAutomatically = false;
    manual.maximumSecondsText = "3";
    movrane::RgbImage cut(movrane::RACE_GRAPH_WIDTH, movrane::RACE_GRAPH_HEIGHT);
    movrane::ImagePainter cutPainter(cut);
    manual.paint(cutPainter);
    const int bottom = cut.height() - 3 * cutPainter.textHeight() - 8;
    bool inside = false, below = false;
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x)
            if (cut.pixel(x, y) == movrane::resultColour(1)) (y > bottom + 1 ? below : inside) = true;
    EXPECT_TRUE(inside);
    EXPECT_FALSE(below);
}

}  // namespace
