#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/analysis/GraphExport.h"
#include "core/analysis/GraphPrint.h"
#include "core/analysis/TelemetryGraph.h"
#include "core/analysis/Trackmap.h"
#include "core/app/Commands.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"
#include "core/track/Track.h"
#include "support/SampleLaps.h"

using namespace movrane;

namespace {

// Keeps the series a window hands it and the ranges and captions it sets.
class RecordingEngine : public GraphEngine {
public:
    struct Series {
        std::string key;
        std::string name;
        Colour colour;
        std::size_t points;
    };
    std::map<SeriesId, Series> series;
    int added = 0;
    AxisRange x{0, 1}, y{0, 1};
    std::string yCaption, yUnit, xCaption;

    SeriesId addSeries(const std::string& key, const std::string& name, Colour colour,
                       const std::vector<GraphPoint>& points) override {
        series[++added] = {key, name, colour, points.size()};
        return added;
    }
    void removeSeries(SeriesId id) override { series.erase(id); }
    void setXRange(AxisRange r) override { x = r; }
    void setYRange(AxisRange r) override { y = r; }
    AxisRange xRange() const override { return x; }
    AxisRange yRange() const override { return y; }
    void setXCaption(const std::string& c, const std::string&) override { xCaption = c; }
    void setYCaption(const std::string& c, const std::string& u) override { yCaption = c, yUnit = u; }
    void redraw() override {}

    std::vector<std::string> keys() const {
        std::vector<std::string> result;
        for (const auto& [id, s] : series) result.push_back(s.key);
        return result;
    }
};

struct OpenGraph : testing::Test {
    testsupport::SampleLaps laps;
    RecordingEngine engine;
    TelemetryGraph graph{laps.doc, engine};
    OpenGraph() { graph.open(); }
};

TEST_F(OpenGraph, ShowsSpeedOfEveryLapInItsSlotColour) {
    EXPECT_EQ(graph.channel(), 1);
    EXPECT_EQ(std::tuple(engine.xCaption, engine.yCaption, engine.yUnit), std::tuple("Meter", "Speed", "Kph"));
    ASSERT_EQ(engine.series.size(), 2u);
    EXPECT_EQ(engine.series[1].name, "New graph - 1");
    EXPECT_EQ(engine.series[1].colour, CZodEvadiDoc::DEFAULT_COLOURS[0]);
    EXPECT_EQ(engine.series[2].colour, CZodEvadiDoc::DEFAULT_COLOURS[1]);
    EXPECT_EQ(engine.y, (AxisRange{0, 350}));
    EXPECT_EQ(engine.x, (AxisRange{0, graph.xMaximum()}));
    EXPECT_GT(graph.xMaximum(), 3000);
    EXPECT_FALSE(graph.lapTicked(2));  // an empty slot's box stays clear
    EXPECT_EQ(graph.visibleRange(), engine.x);
    // The same channel is not rebuilt; another replaces the series.
    EXPECT_FALSE(graph.chooseChannel(1));
    EXPECT_EQ(engine.added, 2);
    EXPECT_TRUE(graph.chooseChannel(14));
    EXPECT_EQ(engine.series.size(), 2u);
    EXPECT_EQ(engine.yCaption, "Time");
    EXPECT_GT(engine.y.high, 60);  // elapsed time: up to the last y
}

TEST_F(OpenGraph, CurvesFollowLapsMovedToOtherSlotsAndTheSpeedUnit) {
    const auto pointsOf = [&](int slot) {
        for (const ShownSeries& s : graph.series())
            if (s.slot == slot) return s.points.size();
        return std::size_t{0};
    };
    const std::size_t first = pointsOf(0), second = pointsOf(1);
    ASSERT_NE(first, second);
    laps.doc.arrangeLaps({1, 0});
    graph.lapsChanged();
    EXPECT_EQ(std::tuple(pointsOf(0), pointsOf(1), engine.series.size()), std::tuple(second, first, std::size_t{2}));

    const double kmh = graph.series()[0].points[10].y;
    DocumentSettings settings = laps.doc.settings();
    settings.speedUnit = 1;
    laps.doc.setSettings(settings);
    graph.settingsChanged();
    EXPECT_EQ(std::tuple(engine.yUnit, engine.y), std::tuple("Mph", AxisRange{0, 250}));
    EXPECT_NEAR(graph.series()[0].points[10].y, kmh * 0.621, 1e-9);
    const int added = engine.added;
    graph.settingsChanged();
    EXPECT_EQ(engine.added, added) << "an unchanged unit keeps the curves";
}

TEST_F(OpenGraph, ByWheelChannelFollowsTheWheelBoxes) {
    graph.chooseChannel(12);
    EXPECT_TRUE(engine.series.empty());
    graph.setWheelTicked(0, true);
    graph.setWheelTicked(2, true);
    EXPECT_EQ(engine.keys(), (std::vector<std::string>{"lap1-wheel1", "lap2-wheel1", "lap1-wheel3", "lap2-wheel3"}));
    graph.setWheelTicked(0, false);
    graph.setLapTicked(0, false);
    EXPECT_EQ(engine.keys(), (std::vector<std::string>{"lap2-wheel3"}));
}

TEST_F(OpenGraph, TimeDifferenceCurveComesAndGoesWithTwoTickedLaps) {
    graph.setTimeDifference(true);
    EXPECT_EQ(engine.keys(), (std::vector<std::string>{"lap1", "lap2", "timediff", "zero"}));
    ASSERT_TRUE(graph.infoShown());
    EXPECT_EQ(graph.info().header, graph.lapBoxLabel(0) + " is:");
    double told = -1;
    graph.onDistance = [&](double d) { told = d; };
    const std::string tool = graph.mouseAt(1500, 200);
    EXPECT_EQ(told, 1500);
    EXPECT_NE(tool.find(", timediff="), std::string::npos);
    EXPECT_FALSE(graph.info().atCurrentPos.empty());
    graph.setLapTicked(1, false);
    EXPECT_EQ(engine.keys(), (std::vector<std::string>{"lap1"}));
    EXPECT_FALSE(graph.infoShown());
    graph.setLapTicked(1, true);
    graph.chooseChannel(3);  // recomputed over the new channel's y range
    EXPECT_EQ(engine.keys(), (std::vector<std::string>{"lap1", "lap2", "timediff", "zero"}));
    EXPECT_NEAR(graph.timeDifferenceCurve().centre, (400 + 12000) / 2.0, 1e-9);
}

TEST_F(OpenGraph, PrintLegendAndGraphChoice) {
    const auto rows = legendRows(laps.doc, graph.tickedLaps());
    ASSERT_EQ(rows.size(), 2u);
    const double length = laps.doc.track()->lapLength();
    const uint32_t time = laps.doc.slot(0).lap->storedLapTime() & 0xFFFFFF;
    char speed[32];
    std::snprintf(speed, sizeof speed, "(%7.3f)", length / (time / 1000.0) * 3.6);
    EXPECT_EQ(rows[0].lapTime, lapTimeText(time) + speed);
    EXPECT_DOUBLE_EQ(averageSpeed(3600, 60000, true), 216 * 0.6213722922);
    EXPECT_EQ(averageSpeed(3600, 0, false), 0);

    SelectGraphsToPrint select(graph.channel());
    EXPECT_EQ(select.primaryText(), "Currently selected and primary graph in the printed page is : Speed");
    EXPECT_EQ(select.choices().size(), 20u);
    EXPECT_FALSE(select.setChosen(1, true));
    for (int c : {9, 3, 5}) EXPECT_TRUE(select.setChosen(c, true));
    EXPECT_FALSE(select.setChosen(6, true));
    EXPECT_EQ(select.secondaries(), (std::vector<int>{3, 5, 9}));
    // The visible range as CSV has a column per lap and channel.
    const std::string csv = visibleRangeCsv(laps.doc, graph.tickedLaps(), {1000, 1100});
    EXPECT_EQ(csv.rfind("Lap 1 Meter,Lap 1 Speed (Kph),Lap 1 Gear (Gear),", 0), 0u);
    EXPECT_NE(csv.find(",Lap 1 Suspension (by wheel) RR (Units),"), std::string::npos);
    EXPECT_NE(csv.find(",Lap 2 Meter,"), std::string::npos);
    const std::size_t columns = 2 * (1 + 19 + 2 * 4);
    const std::string firstRow = csv.substr(csv.find('\n') + 1, csv.find('\n', csv.find('\n') + 1) - csv.find('\n') - 1);
    EXPECT_EQ(static_cast<std::size_t>(std::count(firstRow.begin(), firstRow.end(), ',')), columns - 1);
    EXPECT_GE(std::stod(firstRow), 1000);
    const auto csvRows = std::count(csv.begin(), csv.end(), '\n') - 1;
    EXPECT_GT(csvRows, 50);  // 100 m at about 50 m/s
    EXPECT_LT(csvRows, 200);
    // Cursors compare the series between A and B.
    EXPECT_EQ(graph.cursorReadout(), "");
    graph.setCursor(0, 1000);
    graph.setCursor(1, 1500);
    const auto readings = cursorReadings(laps.doc, graph.series(), 1000, 1500);
    ASSERT_EQ(readings.size(), 2u);
    EXPECT_TRUE(readings[0].atA && readings[0].atB);
    EXPECT_GT(*readings[0].secondsAToB, 5);  // 500 m well under 100 m/s
    EXPECT_LT(*readings[0].secondsAToB, 30);
    EXPECT_EQ(graph.cursorReadout().rfind("New graph - 1: A=", 0), 0u);
}

TEST_F(OpenGraph, TrackmapLineColouredByChannelOrTimeDifference) {
    const Track& track = *laps.doc.track();
    EXPECT_FALSE(graph.trackmapLine(TelemetryGraph::MapColouring::None, track));
    EXPECT_FALSE(graph.trackmapLine(TelemetryGraph::MapColouring::TimeDifference, track));
    const auto speed = graph.trackmapLine(TelemetryGraph::MapColouring::Channel, track);
    ASSERT_TRUE(speed);
    EXPECT_EQ(speed->caption, "Speed (Kph)");
    EXPECT_GT(speed->segments.size(), 1000u);
    EXPECT_LT(speed->low, speed->high);
    graph.setTimeDifference(true);
    EXPECT_GT(graph.trackmapLine(TelemetryGraph::MapColouring::TimeDifference, track)->segments.size(), 100u);
    EXPECT_EQ(scaleColour(0), (Colour{0, 0, 255}));
    EXPECT_EQ(scaleColour(0.5), (Colour{0, 255, 0}));
    EXPECT_EQ(scaleColour(2), (Colour{255, 0, 0}));
    // The Trackmap window: title and highlight.
    Trackmap map(*laps.doc.track(), laps.doc.trackName());
    EXPECT_EQ(map.title(), "harbour (3498 meters)");
    map.showDistance(1000);
    EXPECT_LE(map.track().highlightFirst(), map.track().highlightLast());
    map.showDistance(5);  // the stretch reaches back over the line
}

TEST(GraphExport, ValueAtInterpolatesAndStopsAtGaps) {
    const std::vector<GraphPoint> points = {{0, 10}, {10, 20}, {20, GAP}, {30, 5}, {40, 7}};
    struct Case {
        double x;
        std::optional<double> value;
    };
    for (const Case& c : {Case{5, 15.0}, Case{10, 20.0}, Case{15, std::nullopt}, Case{35, 6.0}, Case{-1, std::nullopt},
                          Case{41, std::nullopt}})
        EXPECT_EQ(valueAt(points, c.x), c.value) << c.x;
    // The graph command is refused without laps.
    testsupport::ScriptedUi ui;
    testsupport::NoLapChooser chooser;
    CZodEvadiDoc doc(ui, chooser);
    EXPECT_FALSE(requireLoadedLap(ui, doc));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"No replay lap loaded!"});
}

}  // namespace
