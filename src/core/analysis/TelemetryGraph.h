#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/GraphEngine.h"
#include "core/analysis/TimeDifference.h"
#include "core/analysis/TrackmapColouring.h"

namespace movrane {

// One curve the window has handed its graph engine.
struct ShownSeries {
    GraphEngine::SeriesId id = 0;
    int slot = 0;
    int wheel = -1;  // by-wheel channels: 0 .. 3
    std::string key;
    std::string name;
    Colour colour{};
    std::vector<GraphPoint> points;
    const GetRpyInfo* lap = nullptr;  // the lap the curve was built from
};

// A lap's curves of one channel, one per ticked wheel for the by-wheel channels.
std::vector<ShownSeries> lapSeries(const CZodEvadiDoc& doc, int slot, const GraphChannel& channel,
                                   const std::array<bool, WHEEL_COUNT>& wheels, bool mph);

// The "Telemetry Graph" window: channel buttons, lap and wheel boxes, the time difference
// and the mouse read-out, over a graph engine.
class TelemetryGraph {
public:
    static constexpr char TITLE[] = "Telemetry Graph";
    static constexpr char HINT[] =
        "Rightclick in graph for graph options. Hold down shift while moving mouse with left button pressed to pan";
    static constexpr char TIME_DIFFERENCE_BOX[] = "Time difference";
    static constexpr Colour TIME_DIFFERENCE_COLOUR{0, 0, 0};
    static constexpr int LAP_BOXES = CZodEvadiDoc::MAX_LAPS;

    TelemetryGraph(const CZodEvadiDoc& doc, GraphEngine& engine);

    // Sets the x caption, ticks every lap box and shows "Speed".
    void open();
    // False when the channel is the one shown (nothing is rebuilt).
    bool chooseChannel(int number);
    void setLapTicked(int slot, bool ticked);
    void setWheelTicked(int wheel, bool ticked);
    void setTimeDifference(bool on);
    // Shows a channel with the lap and wheel boxes of another graph (the printed secondary
    // graphs).
    void showLike(const TelemetryGraph& other, int channel);
    // After laps were loaded, removed or moved: boxes of empty slots are unticked, and a
    // slot that holds another lap than its curves were built from shows that lap's curves.
    void lapsChanged();
    // After Settings OK: the curves are built again when the speed unit changed.
    void settingsChanged();

    int channel() const { return channel_; }
    bool lapBoxEnabled(int slot) const;
    bool lapTicked(int slot) const;
    std::string lapBoxLabel(int slot) const;
    bool wheelTicked(int wheel) const { return wheels_.at(static_cast<std::size_t>(wheel)); }
    bool timeDifferenceOn() const { return timeDifferenceOn_; }
    const std::array<bool, LAP_BOXES>& tickedLaps() const { return laps_; }
    const std::vector<ShownSeries>& series() const { return series_; }
    double xMaximum() const { return xMaximum_; }
    bool mph() const { return doc_.settings().speedUnit == 1; }

    // The time difference shown, when it is.
    const std::optional<TimeDifference>& timeDifference() const { return timeDifference_; }
    const TimeDifferenceCurve& timeDifferenceCurve() const { return curve_; }
    // The "Time Difference Info" window: shown while a time difference is.
    bool infoShown() const { return timeDifference_.has_value(); }
    const TimeDifferenceInfo& info() const { return info_; }

    // The mouse at graph position (x, y): updates "At current pos", tells the track map
    // the distance, and returns the tool text of the point.
    std::string mouseAt(double x, double y);
    // The x range the graph shows now (zoomed or panned), in metres of lap distance.
    AxisRange visibleRange() const { return engine_.xRange(); }

    // Cursors A (0) and B (1) at lap distances; the read-out compares the shown series
    // between them once both are set.
    void setCursor(int which, double x) { cursors_.at(static_cast<std::size_t>(which)) = x; }
    std::optional<double> cursor(int which) const { return cursors_.at(static_cast<std::size_t>(which)); }
    std::string cursorReadout() const;

    // What the Trackmap colours the driven line by.
    enum class MapColouring { None, Channel, TimeDifference };
    // The first shown series' lap coloured by the channel, or the first compared lap by the
    // time difference; nothing when there is no such line.
    std::optional<ColouredLine> trackmapLine(MapColouring colouring, const Track& track) const;

    // Told the lap distance under the mouse (the Trackmap window highlights it).
    std::function<void(double)> onDistance;

private:
    void rebuildChannel();
    void removeChannelSeries();
    void addLap(int slot);
    void removeLap(int slot);
    void rebuildWheels();
    void show(std::vector<ShownSeries> built);
    void setAxes();
    void updateTimeDifference();
    void removeTimeDifference();

    const CZodEvadiDoc& doc_;
    GraphEngine& engine_;
    int channel_ = 0;
    bool seriesMph_ = false;  // the speed unit the channel's curves were built in
    std::array<bool, LAP_BOXES> laps_{};
    std::array<bool, WHEEL_COUNT> wheels_{};
    bool timeDifferenceOn_ = false;
    std::vector<ShownSeries> series_;
    double xMaximum_ = 1.0;
    AxisRange yRange_{0, 1};
    std::optional<TimeDifference> timeDifference_;
    TimeDifferenceCurve curve_;
    std::vector<GraphEngine::SeriesId> timeDifferenceIds_;
    TimeDifferenceInfo info_;
    std::array<std::optional<double>, 2> cursors_{};
};

}  // namespace movrane
