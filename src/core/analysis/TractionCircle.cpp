#include "core/analysis/TractionCircle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/analysis/LapLabels.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/Track.h"

namespace movrane {

namespace {

constexpr double SAMPLES_PER_SECOND = 36.0;
constexpr double RAW_PER_METRE = 2000.0;
constexpr Colour AXIS_COLOUR{0, 0, 0};
constexpr Colour CIRCLE_COLOUR{160, 160, 160};
constexpr double CIRCLE_RADII[] = {1.0, 1.5, 2.0, 2.5};

// A sample a range end can be placed on: it holds the car's record and a lap position.
bool usable(const LapSample& s) { return s.hasData && s.lapPosition != 0; }

// Raw progress per sample interval arriving at sample i, measured from the previous
// usable sample after the line; the lap's start step when there is none.
double stepInto(const GetRpyInfo& lap, int i) {
    for (int j = i - 1; j >= 2; --j) {
        if (!usable(lap.sample(j))) continue;
        return (static_cast<double>(lap.sample(i).lapPosition) - lap.sample(j).lapPosition) / (i - j);
    }
    return static_cast<double>(lap.lapStartStep());
}

// The part of a sample interval between a range end and the sample, in seconds; nothing
// is added when the car did not move there.
double subSample(double raw, double metres, double step) {
    if (step <= 0) return 0;
    return (raw - metres * RAW_PER_METRE) / (SAMPLES_PER_SECOND * step);
}

int parseWholeNumber(const std::string& text, bool& ok) {
    char* endOfNumber = nullptr;
    const long value = std::strtol(text.c_str(), &endOfNumber, 10);
    ok = !text.empty() && *endOfNumber == '\0' && value >= 0 && value <= 1000000;
    return static_cast<int>(value);
}

}  // namespace

TractionPlot TractionPlot::of(int width, int height) {
    return {width / 2, height / 2, 0.2 * std::min(width, height)};
}

PaintPoint TractionPlot::point(double across, double along) const {
    return {centreX + static_cast<int>(across * scale), centreY + static_cast<int>(along * scale)};
}

TractionCircle::TractionCircle(std::array<TractionLap, SLOTS> laps, double lapLength)
    : laps_(std::move(laps)), maximum_(static_cast<int>(lapLength)), end_(maximum_) {}

TractionCircle TractionCircle::ofDocument(const CZodEvadiDoc& doc) {
    std::array<TractionLap, SLOTS> laps;
    double farthest = 0;
    for (const int slot : doc.usedSlots()) {
        const LapSlot& s = doc.slot(slot);
        laps.at(slot) = {s.lap.get(), s.colour, driverLapCarLabel(doc, slot)};
        for (const LapSample& sample : s.lap->samples()) farthest = std::max(farthest, sample.distance);
    }
    return TractionCircle(std::move(laps), doc.track() ? doc.track()->lapLength() : farthest);
}

void TractionCircle::setStart(int metres) { start_ = std::clamp(metres, 0, end_); }

void TractionCircle::setEnd(int metres) { end_ = std::clamp(metres, start_, maximum_); }

void TractionCircle::setRange(int start, int end) {
    start_ = std::clamp(std::min(start, end), 0, maximum_);
    end_ = std::clamp(std::max(start, end), start_, maximum_);
}

bool TractionCircle::setStartText(const std::string& text) {
    bool ok = false;
    const int value = parseWholeNumber(text, ok);
    if (ok) setStart(value);
    return ok;
}

bool TractionCircle::setEndText(const std::string& text) {
    bool ok = false;
    const int value = parseWholeNumber(text, ok);
    if (ok) setEnd(value);
    return ok;
}

void TractionCircle::limitTo(double fromMetres, double toMetres) {
    const double low = std::clamp(std::min(fromMetres, toMetres), 0.0, static_cast<double>(maximum_));
    const double high = std::clamp(std::max(fromMetres, toMetres), 0.0, static_cast<double>(maximum_));
    setRange(static_cast<int>(low), static_cast<int>(high));
}

// The first usable sample after the line at or beyond the start; the last sample before
// the finish line when the start lies beyond every sample.
int TractionCircle::firstSampleFrom(const GetRpyInfo& lap) const {
    const int last = lap.sampleCount() - 2;
    for (int i = 2; i <= last; ++i) {
        const LapSample& s = lap.sample(i);
        if (usable(s) && s.distance >= start_) return i;
    }
    return last;
}

std::optional<double> TractionCircle::rangeTime(int slot) const {
    const GetRpyInfo* lap = laps_.at(slot).lap;
    if (!lap) return std::nullopt;
    const int last = lap->sampleCount() - 2;
    if (last < 2) return 0.0;
    const int first = firstSampleFrom(*lap);
    const double startStep = first == 2 || start_ == 0 ? lap->lapStartStep() : stepInto(*lap, first);
    const int from = start_ == 0 ? 2 : first;

    int to = last;
    double endStep = static_cast<double>(lap->lapEndStep());
    if (end_ != maximum_) {
        for (int i = std::max(from, FIRST_PLOTTED_SAMPLE); i <= last; ++i) {
            const LapSample& s = lap->sample(i);
            if (usable(s) && s.distance >= end_) {
                to = i;
                endStep = stepInto(*lap, i);
                break;
            }
        }
    }
    return (to - from) / SAMPLES_PER_SECOND + subSample(lap->sample(from).lapPosition, start_, startStep) -
           subSample(lap->sample(to).lapPosition, end_, endStep);
}

std::string hundredthsText(double seconds) {
    const long long hundredths = static_cast<long long>(seconds * 100);
    const long long whole = std::llabs(hundredths);
    char text[32];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", hundredths < 0 ? "-" : "", whole / 100, whole % 100);
    return text;
}

std::string TractionCircle::timeText(int slot) const {
    const auto seconds = rangeTime(slot);
    return seconds ? hundredthsText(*seconds) : std::string();
}

std::vector<PaintPoint> TractionCircle::curve(int slot, int width, int height) const {
    std::vector<PaintPoint> points;
    const GetRpyInfo* lap = laps_.at(slot).lap;
    if (!lap) return points;
    const TractionPlot plot = TractionPlot::of(width, height);
    const int last = lap->sampleCount() - 1;
    for (int i = std::max(firstSampleFrom(*lap), FIRST_PLOTTED_SAMPLE); i <= last; ++i) {
        const LapSample& s = lap->sample(i);
        points.push_back(orientation_ == Orientation::Car ? plot.point(s.latAcc, s.longAcc)
                                                          : plot.point(s.latAccMotion, s.longAccMotion));
        if (s.distance >= end_) break;
    }
    return points;
}

void TractionCircle::paint(Painter& painter) const {
    const int w = painter.width(), h = painter.height();
    const TractionPlot plot = TractionPlot::of(w, h);
    painter.setPen(AXIS_COLOUR);
    painter.line({plot.centreX, 0}, {plot.centreX, h - 1});
    painter.line({0, plot.centreY}, {w - 1, plot.centreY});
    const int textHeight = painter.textHeight();
    painter.text(plot.centreX, 0, " Braking", AXIS_COLOUR);
    painter.text(plot.centreX, h - textHeight, " Acceleration", AXIS_COLOUR);
    painter.text(0, plot.centreY - textHeight, "Right turn", AXIS_COLOUR);
    painter.text(w - painter.textWidth("Left turn"), plot.centreY - textHeight, "Left turn", AXIS_COLOUR);
    if (circles_) {
        painter.setPen(CIRCLE_COLOUR);
        for (const double g : CIRCLE_RADII) {
            const int radius = static_cast<int>(g * plot.scale);
            std::vector<PaintPoint> circle;
            for (int degree = 0; degree <= 360; ++degree) {
                const double a = degree * M_PI / 180.0;
                circle.push_back({plot.centreX + static_cast<int>(radius * std::cos(a)),
                                  plot.centreY + static_cast<int>(radius * std::sin(a))});
            }
            painter.polyline(circle);
        }
    }
    for (int slot = 0; slot < SLOTS; ++slot) {
        if (!ticked(slot)) continue;
        painter.setPen(laps_.at(slot).colour);
        painter.polyline(curve(slot, w, h));
    }
}

const char* tractionCircleExplained() {
    return "<h2>Traction Circle Explained</h2>"
           "<p>A tyre can only give so much grip. That grip can be spent on braking, on accelerating, on "
           "turning, or on a mix of them: braking hard leaves little for turning, and a car turning at the "
           "limit cannot brake hard at the same time. Drawn as a picture, the limit is roughly a circle.</p>"
           "<p>The traction circle plots the car's acceleration sample by sample, 36 times a second: "
           "<b>sideways</b> across the picture (turning left to the right, turning right to the left) and "
           "<b>lengthways</b> up and down (braking upwards, accelerating downwards). The farther a point "
           "lies from the centre, the more grip the car was using at that moment.</p>"
           "<p>The circles for 1.0, 1.5, 2.0 and 2.5 G help to read the distances. A driver who uses the car "
           "well keeps the curve near its outer edge all the time: he trails the brakes into the corner, so the "
           "curve bends round from braking to turning instead of dropping back to the centre, and squeezes "
           "the throttle on the way out.</p>"
           "<p>Choose a stretch of the lap with the slider or the <b>Start</b> and <b>End</b> fields to look at "
           "one corner; the small map marks the stretch, and the <b>Time</b> fields tell how long each lap took "
           "over it. <b>Oriented to car</b> measures the accelerations along the car's own axes, "
           "<b>Oriented to travel</b> along the direction the car is moving in; the two differ when the car "
           "slides.</p>"
           "<p><b>Ratings</b> turns each lap's acceleration data into percentages for aggressiveness, "
           "smoothness, usage of the car and an overall mark.</p>";
}

}  // namespace movrane
