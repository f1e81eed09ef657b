#include "core/analysis/TelemetryGraph.h"

#include <algorithm>
#include <cstdio>

#include "core/analysis/GraphExport.h"
#include "core/app/LapBar.h"
#include "core/replay/GetRpyInfo.h"

namespace movrane {

namespace {

std::string seriesName(int number) {
    char text[32];
    std::snprintf(text, sizeof text, "New graph - %d", number);
    return text;
}

std::string seriesKey(int slot, int wheel) {
    std::string key = "lap" + std::to_string(slot + 1);
    if (wheel >= 0) key += "-wheel" + std::to_string(wheel + 1);
    return key;
}

double lastX(const ShownSeries& s) { return s.points.empty() ? 0.0 : s.points.back().x; }
double lastY(const ShownSeries& s) { return s.points.empty() ? 0.0 : s.points.back().y; }

}  // namespace

std::vector<ShownSeries> lapSeries(const CZodEvadiDoc& doc, int slot, const GraphChannel& channel,
                                   const std::array<bool, WHEEL_COUNT>& wheels, bool mph) {
    std::vector<ShownSeries> built;
    const LapSlot& lap = doc.slot(slot);
    if (!lap.inUse) return built;
    auto add = [&](int wheel) {
        built.push_back({0, slot, wheel, seriesKey(slot, wheel), seriesName(slot + 1), lap.colour,
                         channelPoints(*lap.lap, channel, wheel, mph), lap.lap.get()});
    };
    if (!channel.byWheel) {
        add(-1);
        return built;
    }
    for (int w = 0; w < WHEEL_COUNT; ++w)
        if (wheels[static_cast<std::size_t>(w)]) add(w);
    return built;
}

TelemetryGraph::TelemetryGraph(const CZodEvadiDoc& doc, GraphEngine& engine) : doc_(doc), engine_(engine) {}

void TelemetryGraph::open() {
    engine_.setXCaption(X_CAPTION, X_CAPTION);
    for (int slot = 0; slot < LAP_BOXES; ++slot) laps_[static_cast<std::size_t>(slot)] = lapBoxEnabled(slot);
    chooseChannel(SPEED_CHANNEL);
}

void TelemetryGraph::showLike(const TelemetryGraph& other, int channel) {
    engine_.setXCaption(X_CAPTION, X_CAPTION);
    laps_ = other.laps_;
    wheels_ = other.wheels_;
    chooseChannel(channel);
}

bool TelemetryGraph::lapBoxEnabled(int slot) const { return doc_.slot(slot).inUse; }

bool TelemetryGraph::lapTicked(int slot) const { return laps_.at(static_cast<std::size_t>(slot)); }

std::string TelemetryGraph::lapBoxLabel(int slot) const { return movrane::lapBoxLabel(doc_, slot); }

bool TelemetryGraph::chooseChannel(int number) {
    if (number == channel_) return false;
    const GraphChannel& channel = graphChannel(number);
    removeChannelSeries();
    removeTimeDifference();
    channel_ = number;
    seriesMph_ = mph();
    xMaximum_ = 1.0;
    yRange_ = channelYRange(channel, mph());
    engine_.setYCaption(channel.caption, channelUnit(channel, mph()));
    std::vector<ShownSeries> built;
    for (int slot = 0; slot < LAP_BOXES; ++slot) {
        if (!lapTicked(slot)) continue;
        auto lap = lapSeries(doc_, slot, channel, wheels_, mph());
        std::move(lap.begin(), lap.end(), std::back_inserter(built));
    }
    show(std::move(built));
    updateTimeDifference();
    return true;
}

void TelemetryGraph::removeChannelSeries() {
    for (const ShownSeries& s : series_) engine_.removeSeries(s.id);
    series_.clear();
}

// Hands new series to the engine; the first series of a channel sets the axis ranges.
void TelemetryGraph::show(std::vector<ShownSeries> built) {
    if (built.empty()) {
        engine_.redraw();
        return;
    }
    const bool first = series_.empty();
    for (ShownSeries& s : built) {
        s.id = engine_.addSeries(s.key, s.name, s.colour, s.points);
        xMaximum_ = std::max(xMaximum_, lastX(s));
        if (channel_ == ELAPSED_TIME_CHANNEL) yRange_.high = std::max(yRange_.high, lastY(s));
        series_.push_back(std::move(s));
    }
    if (first) setAxes();
    engine_.redraw();
}

void TelemetryGraph::setAxes() {
    engine_.setXRange({0, xMaximum_});
    engine_.setYRange(yRange_);
}

void TelemetryGraph::setLapTicked(int slot, bool ticked) {
    if (ticked && !lapBoxEnabled(slot)) return;
    if (lapTicked(slot) == ticked) return;
    laps_.at(static_cast<std::size_t>(slot)) = ticked;
    if (ticked) addLap(slot);
    else removeLap(slot);
    updateTimeDifference();
}

void TelemetryGraph::addLap(int slot) {
    if (channel_ == 0) return;
    show(lapSeries(doc_, slot, graphChannel(channel_), wheels_, mph()));
}

void TelemetryGraph::removeLap(int slot) {
    std::erase_if(series_, [&](const ShownSeries& s) {
        if (s.slot != slot) return false;
        engine_.removeSeries(s.id);
        return true;
    });
    engine_.redraw();
}

void TelemetryGraph::setWheelTicked(int wheel, bool ticked) {
    bool& box = wheels_.at(static_cast<std::size_t>(wheel));
    if (box == ticked) return;
    box = ticked;
    if (channel_ == 0 || !graphChannel(channel_).byWheel) return;
    if (!ticked) {
        std::erase_if(series_, [&](const ShownSeries& s) {
            if (s.wheel != wheel) return false;
            engine_.removeSeries(s.id);
            return true;
        });
        engine_.redraw();
        return;
    }
    std::array<bool, WHEEL_COUNT> only{};
    only[static_cast<std::size_t>(wheel)] = true;
    std::vector<ShownSeries> built;
    for (int slot = 0; slot < LAP_BOXES; ++slot) {
        if (!lapTicked(slot)) continue;
        auto lap = lapSeries(doc_, slot, graphChannel(channel_), only, mph());
        std::move(lap.begin(), lap.end(), std::back_inserter(built));
    }
    show(std::move(built));
}

void TelemetryGraph::setTimeDifference(bool on) {
    timeDifferenceOn_ = on;
    updateTimeDifference();
}

void TelemetryGraph::lapsChanged() {
    for (int slot = 0; slot < LAP_BOXES; ++slot) {
        if (!lapTicked(slot)) continue;
        if (!lapBoxEnabled(slot)) {
            setLapTicked(slot, false);
            continue;
        }
        const GetRpyInfo* lap = doc_.slot(slot).lap.get();
        const bool stale = std::any_of(series_.begin(), series_.end(),
                                       [&](const ShownSeries& s) { return s.slot == slot && s.lap != lap; });
        if (!stale) continue;
        removeLap(slot);
        addLap(slot);
    }
    updateTimeDifference();
}

void TelemetryGraph::settingsChanged() {
    if (channel_ != 0 && mph() != seriesMph_) rebuildChannel();
}

// The shown channel built anew from the document, as a first choice of it would.
void TelemetryGraph::rebuildChannel() {
    const int shown = channel_;
    channel_ = 0;
    chooseChannel(shown);
}

void TelemetryGraph::removeTimeDifference() {
    for (GraphEngine::SeriesId id : timeDifferenceIds_) engine_.removeSeries(id);
    timeDifferenceIds_.clear();
    timeDifference_.reset();
    curve_ = {};
    info_ = {};
}

// Computes the difference of the two ticked laps again, or takes it away when the box is
// off or not exactly two laps are ticked.
void TelemetryGraph::updateTimeDifference() {
    removeTimeDifference();
    const auto pair = timeDifferenceOn_ ? timeDifferenceLaps(laps_) : std::nullopt;
    if (!pair) {
        engine_.redraw();
        return;
    }
    const auto [first, second] = *pair;
    timeDifference_ =
        computeTimeDifference(TimedLap::of(*doc_.slot(first).lap), TimedLap::of(*doc_.slot(second).lap));
    curve_ = placeTimeDifference(*timeDifference_, engine_.yRange());
    const std::string name = seriesName(first);
    timeDifferenceIds_.push_back(engine_.addSeries("timediff", name, TIME_DIFFERENCE_COLOUR, curve_.curve));
    timeDifferenceIds_.push_back(engine_.addSeries("zero", name, TIME_DIFFERENCE_COLOUR, curve_.zeroLine));
    info_ = timeDifferenceInfo(*timeDifference_, lapBoxLabel(first));
    engine_.redraw();
}

std::optional<ColouredLine> TelemetryGraph::trackmapLine(MapColouring colouring, const Track& track) const {
    if (colouring == MapColouring::Channel && !series_.empty()) {
        const ShownSeries& s = series_.front();
        return colourByChannel(track, *doc_.slot(s.slot).lap, graphChannel(channel_), s.wheel, mph());
    }
    if (colouring == MapColouring::TimeDifference && timeDifference_) {
        const int first = timeDifferenceLaps(laps_)->first;
        return colourByTimeDifference(track, *doc_.slot(first).lap, *timeDifference_);
    }
    return std::nullopt;
}

std::string TelemetryGraph::cursorReadout() const {
    if (!cursors_[0] || !cursors_[1]) return {};
    return cursorReadoutText(cursorReadings(doc_, series_, *cursors_[0], *cursors_[1]));
}

std::string TelemetryGraph::mouseAt(double x, double y) {
    char text[64];
    std::snprintf(text, sizeof text, "x=%.1f, y=%.2f", x, y);
    std::string tool = text;
    if (timeDifference_) {
        info_.atCurrentPos = timeDifferenceAt(*timeDifference_, x);
        tool += timeDifferenceToolText(curve_, y);
    }
    if (onDistance) onDistance(x);
    return tool;
}

}  // namespace movrane
