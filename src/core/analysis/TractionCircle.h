#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/image/Painter.h"

namespace movrane {

class CZodEvadiDoc;
class GetRpyInfo;

// Where the plot sits in a drawing area of w x h pixels: the centre, and pixels per g
// so that 2.5 g reaches the nearer edge.
struct TractionPlot {
    int centreX = 0;
    int centreY = 0;
    double scale = 0;

    static TractionPlot of(int width, int height);
    PaintPoint point(double across, double along) const;
};

// One of the five lap slots as the traction circle reads it.
struct TractionLap {
    const GetRpyInfo* lap = nullptr;  // null for an empty slot
    Colour colour{};
    std::string label;
};

// The "Traction Circle" window: the lap check boxes, the circles box, the orientation,
// the range of the slider and its fields, the lap curves and each lap's time over the range.
class TractionCircle {
public:
    static constexpr int SLOTS = 5;
    static constexpr int FIRST_PLOTTED_SAMPLE = 12;
    enum class Orientation { Car, Travel };

    TractionCircle(std::array<TractionLap, SLOTS> laps, double lapLength);
    // The loaded laps of the document, the range over its track's lap length (or over the
    // farthest sample when no track is loaded).
    static TractionCircle ofDocument(const CZodEvadiDoc& doc);

    const TractionLap& lap(int slot) const { return laps_.at(slot); }
    bool loaded(int slot) const { return laps_.at(slot).lap != nullptr; }
    bool ticked(int slot) const { return ticked_.at(slot) && loaded(slot); }
    void setTicked(int slot, bool ticked) { ticked_.at(slot) = ticked; }
    bool circles() const { return circles_; }
    void setCircles(bool on) { circles_ = on; }
    Orientation orientation() const { return orientation_; }
    void setOrientation(Orientation o) { orientation_ = o; }

    // The slider: 0 .. maximum in whole metres, page size maximum / 50.
    int sliderMaximum() const { return maximum_; }
    int pageSize() const { return maximum_ / 50; }
    int start() const { return start_; }
    int end() const { return end_; }
    int length() const { return end_ - start_; }
    // Moves one end of the range, held within 0 .. maximum and never past the other end.
    void setStart(int metres);
    void setEnd(int metres);
    // Moves both ends (the slider's shifted drag), held within the slider.
    void setRange(int start, int end);
    // The "Start (meters):" and "End (meters):" fields; false (range unchanged) when the
    // text is not a whole number.
    bool setStartText(const std::string& text);
    bool setEndText(const std::string& text);
    // Limits the range to a stretch given in metres, such as the x range a telemetry graph
    // is zoomed to; the ends are truncated to whole metres and held within the slider.
    void limitTo(double fromMetres, double toMetres);

    // Seconds the lap took over the range; nothing for an empty slot.
    std::optional<double> rangeTime(int slot) const;
    // The "Time:" field: the seconds, ".", two digits of hundredths (truncated).
    std::string timeText(int slot) const;

    // The points of a lap's curve in a plot of w x h pixels.
    std::vector<PaintPoint> curve(int slot, int width, int height) const;
    // Axes, labels, circles and the curves of the ticked laps.
    void paint(Painter& painter) const;

private:
    int firstSampleFrom(const GetRpyInfo& lap) const;

    std::array<TractionLap, SLOTS> laps_;
    std::array<bool, SLOTS> ticked_{true, true, true, true, true};
    bool circles_ = false;
    Orientation orientation_ = Orientation::Car;
    int maximum_ = 0;
    int start_ = 0;
    int end_ = 0;
};

// The rich text (HTML) of "Traction Circle Explained".
const char* tractionCircleExplained();

// "12.34": seconds in hundredths, truncated.
std::string hundredthsText(double seconds);

}  // namespace movrane
