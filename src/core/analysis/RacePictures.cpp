#include "core/analysis/RacePictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/app/Commands.h"
#include "core/image/BitmapFont.h"
#include "core/image/RgbImage.h"
#include "core/platform/Paths.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/ReportData.h"

namespace movrane {

namespace {

constexpr int64_t EXTRA_ROOM_MS = 7000;
constexpr int FIRST_RESULT_COLOUR = 4;
constexpr Colour BACKGROUND{192, 192, 192};
constexpr Colour LEAD_LAP_COLOUR{224, 240, 208};
constexpr Colour LAPPED_COLOUR{160, 160, 176};
constexpr int GRAPH_LINE_WIDTH = 2;
constexpr int REPORT_LINE_WIDTH = 7;
constexpr int ROW_HEIGHT = 22;
constexpr int COLUMN_WIDTH = 36;

Colour labelColour() { return raceColours()[0]; }
Colour frameColour() { return raceColours()[1]; }
Colour gridColour() { return raceColours()[2]; }

void background(Painter& painter) { painter.fillRect(0, 0, painter.width(), painter.height(), BACKGROUND); }

// Drivers with a completed lap, by laps completed (descending), then by total time.
std::vector<int> resultOrderOf(const RaceInput& input, int maxLap) {
    std::vector<int> order;
    for (int lap = maxLap; lap >= 0; --lap) {
        std::vector<int> group;
        for (int d = 0; d < static_cast<int>(input.drivers.size()); ++d)
            if (input.lastLap(d) == lap) group.push_back(d);
        std::stable_sort(group.begin(), group.end(),
                         [&](int a, int b) { return input.cumulative(a, lap) < input.cumulative(b, lap); });
        order.insert(order.end(), group.begin(), group.end());
    }
    return order;
}

std::string secondsLabel(int64_t ms) { return std::to_string(std::llabs(ms) / 1000); }

// The end `to` moved along the line through `from` onto the nearer of the rows top and
// bottom when it lies beyond them.
PaintPoint ontoRows(PaintPoint from, PaintPoint to, int top, int bottom) {
    const int edge = std::clamp(to.y, top, bottom);
    if (edge == to.y) return to;
    const double t = static_cast<double>(edge - from.y) / static_cast<double>(to.y - from.y);
    return {from.x + static_cast<int>(std::lround(t * (to.x - from.x))), edge};
}

// Joined lines through the points, cut off where they leave the rows top .. bottom: a
// manual scale keeps its room however far a car fell behind, and no line runs over the
// labels around the plot.
void clippedPolyline(Painter& painter, const std::vector<PaintPoint>& points, int top, int bottom) {
    for (std::size_t k = 1; k < points.size(); ++k) {
        const PaintPoint a = points[k - 1], b = points[k];
        if ((a.y < top && b.y < top) || (a.y > bottom && b.y > bottom)) continue;
        painter.line(ontoRows(b, a, top, bottom), ontoRows(a, b, top, bottom));
    }
}

}  // namespace

RaceInput RaceInput::of(const Header& header, const Drivers& drivers) {
    RaceInput input;
    const ReportData data(header, drivers, "", {});
    bool gridTimes = false;
    for (uint32_t d = 0; d < data.driverCount(); ++d) {
        const DriverRecord& r = drivers.driver(d);
        Driver driver{r.name1, r.name2, {}};
        for (int lap = 1; lap <= data.raceLaps(d); ++lap) driver.lapTimes.push_back(drivers.lapTime(d, RACE, lap));
        if (!driver.lapTimes.empty()) driver.start = drivers.lapTime(d, RACE, 0);
        input.drivers.push_back(std::move(driver));
        gridTimes = gridTimes || data.bestPractice(d) != ReportData::NO_TIME;
    }
    if (gridTimes)
        for (const uint32_t d : data.practiceOrder()) input.startingOrder.push_back(static_cast<int>(d));
    input.scheduledLaps = header.scheduledLaps();
    input.trackDirectory = header.trackName();
    return input;
}

int64_t RaceInput::cumulative(int driver, int lap) const {
    int64_t sum = drivers.at(driver).start;
    const auto& times = drivers.at(driver).lapTimes;
    for (int k = 0; k <= lap && k < static_cast<int>(times.size()); ++k) sum += times[k];
    return sum;
}

const std::array<Colour, 24>& raceColours() {
    static const std::array<Colour, 24> COLOURS{{{0, 0, 255},     {128, 128, 128}, {207, 207, 207}, {255, 0, 0},
                                                 {0, 255, 0},     {255, 0, 0},     {63, 63, 63},    {0, 0, 255},
                                                 {0, 255, 255},   {255, 0, 255},   {255, 255, 0},   {255, 255, 255},
                                                 {0, 0, 0},       {0, 127, 127},   {127, 127, 0},   {127, 0, 127},
                                                 {31, 31, 31},    {102, 102, 102}, {31, 192, 127},  {127, 255, 47},
                                                 {175, 175, 0},   {63, 0, 207},    {0, 143, 63},    {175, 31, 207}}};
    return COLOURS;
}

Colour resultColour(int position) {
    const auto& colours = raceColours();
    return colours[static_cast<std::size_t>(FIRST_RESULT_COLOUR + position) % colours.size()];
}

std::string trackTitle(const std::string& trackDirectory) {
    std::string title = trackDirectory;
    if (!title.empty()) title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
    return title;
}

RaceHistoryGraph::RaceHistoryGraph(RaceInput input) : input_(std::move(input)) {
    const int drivers = static_cast<int>(input_.drivers.size());
    for (int d = 0; d < drivers; ++d) maxLap_ = std::max(maxLap_, input_.lastLap(d));
    resultOrder_ = resultOrderOf(input_, maxLap_);
    values_.resize(static_cast<std::size_t>(drivers));
    title = defaultTitle();
    if (resultOrder_.empty()) return;
    winner_ = resultOrder_.front();
    const int64_t first = input_.cumulative(winner_, 0);
    // A winner of a single lap has no average beyond the first lap: his pace is 0.
    average_ = maxLap_ == 0 ? 0 : (input_.cumulative(winner_, maxLap_) - first) / maxLap_;
    for (int d = 0; d < drivers; ++d) {
        const int last = input_.lastLap(d);
        for (int lap = 0; lap <= last; ++lap) {
            const bool computed = last != 0 || maxLap_ == 0;
            const int64_t v = computed ? input_.cumulative(d, lap) - first - lap * average_ : 0;
            values_[d].push_back(v);
            vmax_ = std::max(vmax_, v);
            vmin_ = std::min(vmin_, v);
        }
    }
}

std::string RaceHistoryGraph::averageText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%03lld", static_cast<long long>(average_ / 60000),
                  static_cast<long long>(average_ / 1000 % 60), static_cast<long long>(average_ % 1000));
    return text;
}

std::string RaceHistoryGraph::defaultTitle() const {
    return trackTitle(input_.trackDirectory) + " - " + std::to_string(input_.scheduledLaps) + " laps";
}

std::string RaceHistoryGraph::defaultFileName() const { return trackTitle(input_.trackDirectory) + "_RaceGraph.bmp"; }

int64_t RaceHistoryGraph::shownMaximum() const {
    if (scaleAutomatically) return vmax_;
    return static_cast<int64_t>(std::atol(maximumSecondsText.c_str())) * 1000;
}

int64_t RaceHistoryGraph::range() const {
    int64_t range = std::llabs(vmin_) + std::llabs(shownMaximum()) + 2000;
    if (vmin_ >= -EXTRA_ROOM_MS) range += EXTRA_ROOM_MS;
    return range;
}

void RaceHistoryGraph::paint(Painter& painter) const {
    background(painter);
    const int th = painter.textHeight();
    int legendWidth = painter.textWidth("Result/Legend");
    for (const int d : resultOrder_)
        legendWidth = std::max(legendWidth, painter.textWidth(input_.drivers[d].first + " " + input_.drivers[d].last));
    const int left = painter.textWidth("0000") + 12, top = 2 * th + 8;
    const int right = painter.width() - legendWidth - 24, bottom = painter.height() - 3 * th - 8;
    if (right <= left || bottom <= top) return;
    painter.text((left + right - painter.textWidth(title)) / 2, 4, title, labelColour());

    const double perMs = static_cast<double>(bottom - top) / static_cast<double>(range());
    const double zeroY = bottom - static_cast<double>(shownMaximum() + 1000) * perMs;
    // Far outside the plot a value is only needed to cut its line at the edge: held within
    // a few heights of the plot, it cannot overflow the pixel coordinates.
    const double room = 4.0 * (bottom - top);
    auto y = [&](int64_t ms) {
        return static_cast<int>(std::clamp(zeroY + static_cast<double>(ms) * perMs, top - room, bottom + room));
    };
    auto x = [&](int lap) { return maxLap_ <= 0 ? left : left + static_cast<int>(int64_t{lap} * (right - left) / maxLap_); };

    // Grid lines every trunc(range / 10 s) seconds, at least every second.
    const int64_t step = std::max<int64_t>(1, range() / 10000) * 1000;
    for (int side : {1, -1}) {
        for (int64_t ms = step; ; ms += step) {
            const int gy = y(side * ms);
            if (gy < top || gy > bottom) break;
            painter.setPen(gridColour());
            painter.line({left, gy}, {right, gy});
            painter.text(left - painter.textWidth(secondsLabel(ms)) - 4, gy - th / 2, secondsLabel(ms), labelColour());
        }
    }
    if (y(0) >= top && y(0) <= bottom) {
        painter.setPen(frameColour());
        painter.line({left, y(0)}, {right, y(0)});
        painter.text(left - painter.textWidth("0") - 4, y(0) - th / 2, "0", labelColour());
    }

    const int labelEvery = std::max(1, (maxLap_ + 1) * painter.textWidth("000") / std::max(1, right - left) + 1);
    for (int lap = 0; lap <= maxLap_; lap += labelEvery)
        painter.text(x(lap) - painter.textWidth(std::to_string(lap)) / 2, bottom + 2, std::to_string(lap), labelColour());
    painter.text((left + right - painter.textWidth("Laps")) / 2, bottom + th + 2, "Laps", labelColour());
    painter.text(4, bottom + 2 * th + 4, "Sec behind    Average laptime of winner:" + averageText(), labelColour());
    painter.text(4, top - th - 2, "Sec ahead", labelColour());
    painter.setPen(frameColour());
    painter.frameRect(left, top, right - left + 1, bottom - top + 1);

    for (std::size_t p = 0; p < resultOrder_.size(); ++p) {
        const int d = resultOrder_[p];
        std::vector<PaintPoint> points;
        for (int lap = 0; lap < static_cast<int>(values_[d].size()); ++lap) points.push_back({x(lap), y(values_[d][lap])});
        painter.setPen(resultColour(static_cast<int>(p)), GRAPH_LINE_WIDTH);
        clippedPolyline(painter, points, top, bottom);
    }

    const int legendX = right + 16;
    painter.text(legendX, top, "Result/Legend", labelColour());
    for (std::size_t p = 0; p < resultOrder_.size(); ++p) {
        const auto& driver = input_.drivers[resultOrder_[p]];
        painter.text(legendX, top + static_cast<int>(p + 1) * (th + 2), driver.first + " " + driver.last,
                     resultColour(static_cast<int>(p)));
    }
    painter.text(painter.width() - painter.textWidth("Generated by Movrane") - 6, painter.height() - th - 4,
                 "Generated by Movrane", labelColour());
}

GraphicalRaceReport::GraphicalRaceReport(RaceInput input) : input_(std::move(input)) {
    const int drivers = static_cast<int>(input_.drivers.size());
    int maxLap = -1;
    for (int d = 0; d < drivers; ++d) maxLap = std::max(maxLap, input_.lastLap(d));
    for (int lap = 0; lap <= maxLap; ++lap) {
        std::vector<int> order;
        for (int d = 0; d < drivers; ++d)
            if (input_.lastLap(d) >= lap) order.push_back(d);
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return input_.cumulative(a, lap) < input_.cumulative(b, lap); });
        positions_.push_back(std::move(order));
    }
    for (int lap = 0; lap <= maxLap; ++lap) {
        const auto& here = positions_[lap];
        if (lap == maxLap) {
            leadLap_.push_back(static_cast<int>(here.size()));
            continue;
        }
        const int64_t leaderNext = input_.cumulative(positions_[lap + 1].front(), lap + 1);
        leadLap_.push_back(static_cast<int>(std::count_if(
            here.begin(), here.end(), [&](int d) { return input_.cumulative(d, lap) <= leaderNext; })));
    }
    rowOrder_ = resultOrderOf(input_, maxLap);
    for (int d = 0; d < drivers; ++d)
        if (input_.lastLap(d) < 0) rowOrder_.push_back(d);
}

std::string GraphicalRaceReport::rowLabel(int position) const {
    const auto& driver = input_.drivers.at(rowOrder_.at(position));
    return driver.first + " " + driver.last + (position < 9 ? "  " : "") + " " + std::to_string(position + 1);
}

std::string GraphicalRaceReport::defaultFileName() const {
    return trackTitle(input_.trackDirectory) + "_RaceReport.bmp";
}

std::array<int, 2> GraphicalRaceReport::preferredSize() const {
    std::size_t label = 3;
    for (int p = 0; p < static_cast<int>(rowOrder_.size()); ++p) label = std::max(label, rowLabel(p).size());
    const int columns = lapColumns() + (input_.startingOrder.empty() ? 0 : 1);
    return {static_cast<int>(label) * BitmapFont::WIDTH + 24 + std::max(columns, 12) * COLUMN_WIDTH,
            (static_cast<int>(rowOrder_.size()) + 4) * ROW_HEIGHT + 40};
}

void GraphicalRaceReport::paint(Painter& painter) const {
    background(painter);
    const int th = painter.textHeight();
    const int rows = static_cast<int>(rowOrder_.size());
    int labelWidth = painter.textWidth("Pos");
    for (int p = 0; p < rows; ++p) labelWidth = std::max(labelWidth, painter.textWidth(rowLabel(p)));
    const bool start = !input_.startingOrder.empty();
    const int columns = lapColumns() + (start ? 1 : 0);
    const int left = labelWidth + 16, top = 2 * th + 8;
    const int legendHeight = 2 * th + 12;
    if (rows == 0 || columns == 0) return;
    const int columnWidth = std::max(1, (painter.width() - left - 8) / columns);
    const int rowHeight = std::max(1, (painter.height() - top - legendHeight) / rows);
    auto columnX = [&](int column) { return left + column * columnWidth + columnWidth / 2; };
    auto rowY = [&](int row) { return top + row * rowHeight + rowHeight / 2; };
    auto lapColumn = [&](int lap) { return lap - 1 + (start ? 1 : 0); };

    painter.text(4, 4, "Lap", labelColour());
    painter.text(4, top - th - 2, "Pos", labelColour());
    if (start) painter.text(columnX(0) - painter.textWidth("S") / 2, top - th - 2, "S", labelColour());
    const int labelEvery = std::max(1, painter.textWidth("000") / columnWidth + 1);
    for (int lap = 1; lap <= lapColumns(); ++lap) {
        const int x = left + lapColumn(lap) * columnWidth;
        painter.fillRect(x, top, columnWidth, leadLapCount(lap) * rowHeight, LEAD_LAP_COLOUR);
        painter.fillRect(x, top + leadLapCount(lap) * rowHeight, columnWidth, (rows - leadLapCount(lap)) * rowHeight,
                         LAPPED_COLOUR);
        if (lap % labelEvery == 0 || lap == 1) {
            const std::string number = std::to_string(lap);
            painter.text(columnX(lapColumn(lap)) - painter.textWidth(number) / 2, top - th - 2, number, labelColour());
        }
    }
    for (int p = 0; p < rows; ++p) painter.text(4, rowY(p) - th / 2, rowLabel(p), resultColour(p));

    std::vector<int> colourOf(input_.drivers.size());
    for (int p = 0; p < rows; ++p) colourOf[rowOrder_[p]] = p;
    auto rowIn = [](const std::vector<int>& order, int d) {
        return static_cast<int>(std::find(order.begin(), order.end(), d) - order.begin());
    };
    for (int lap = 1; lap <= lapColumns(); ++lap) {
        const auto& here = positionsAt(lap);
        for (int row = 0; row < static_cast<int>(here.size()); ++row) {
            const int d = here[row];
            const PaintPoint to{columnX(lapColumn(lap)), rowY(row)};
            PaintPoint from = to;
            if (lap > 1) {
                from = {columnX(lapColumn(lap - 1)), rowY(rowIn(positionsAt(lap - 1), d))};
            } else if (start) {
                from = {columnX(0), rowY(rowIn(input_.startingOrder, d))};
            }
            painter.setPen(resultColour(colourOf[d]), REPORT_LINE_WIDTH);
            painter.line(from, to);
        }
    }

    const int legendY = painter.height() - legendHeight + 6;
    painter.fillRect(4, legendY, th, th, LEAD_LAP_COLOUR);
    painter.text(4 + th + 2, legendY, "=On lead lap", labelColour());
    const int lappedX = 4 + th + 2 + painter.textWidth("=On lead lap") + 16;
    painter.fillRect(lappedX, legendY, th, th, LAPPED_COLOUR);
    painter.text(lappedX + th + 2, legendY, "=Lapped", labelColour());
    painter.text(painter.width() - painter.textWidth("Generated with Movrane") - 6, legendY, "Generated with Movrane",
                 labelColour());
}

bool exportRacePicture(Ui& ui, const std::string& replayFolder, const std::string& defaultName, int width,
                       int height, const std::function<void(Painter&)>& paint) {
    const auto chosen = ui.chooseFileToSave(
        {"Export to BMP", {{"Bitmap files (*.bmp)", "*.bmp"}}, joinPath(replayFolder, defaultName), ".bmp"});
    if (!chosen) return false;
    RgbImage image(width, height);
    ImagePainter painter(image);
    paint(painter);
    if (!writeImageFile(withExtension(*chosen, ".bmp"), image)) {
        ui.message(BITMAP_NOT_CREATED_MESSAGE, {}, Ui::Icon::Warning);
        return false;
    }
    return true;
}

}  // namespace movrane
