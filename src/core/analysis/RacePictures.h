#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <string>
#include <vector>

#include "core/image/Painter.h"

namespace movrane {

class Drivers;
class Header;
class Ui;

// What the two race pictures read of a replay: per driver the names and the race lap
// times (lap index 0 is the first lap), the starting order, the scheduled laps, the track.
struct RaceInput {
    struct Driver {
        std::string first;
        std::string last;
        std::vector<uint32_t> lapTimes;  // ms, 24-bit values
        // Session time (ms) at which his first lap began, so that the cumulative times are
        // the crossing times that order the race reports; cars start from a staggered grid.
        uint32_t start = 0;
    };
    std::vector<Driver> drivers;
    // Driver indices by best valid grid lap, drivers without one after them in table
    // order; empty when no driver has a grid time.
    std::vector<int> startingOrder;
    int scheduledLaps = 0;
    std::string trackDirectory;

    static RaceInput of(const Header& header, const Drivers& drivers);
    // Index of a driver's last completed lap; -1 without any.
    int lastLap(int driver) const { return static_cast<int>(drivers.at(driver).lapTimes.size()) - 1; }
    // The session time at which a driver completed lap index `lap`: his start plus his lap
    // times over lap indices 0 .. lap.
    int64_t cumulative(int driver, int lap) const;
};

// The colours of the race pictures; the driver in result position p is drawn in colour 4 + p.
const std::array<Colour, 24>& raceColours();
Colour resultColour(int position);
// The track directory name with its first letter in upper case.
std::string trackTitle(const std::string& trackDirectory);

// The "Race History Graph": every driver's time behind or ahead of the winner's average pace.
class RaceHistoryGraph {
public:
    explicit RaceHistoryGraph(RaceInput input);

    const RaceInput& input() const { return input_; }
    // Drivers with a completed lap: by laps completed, descending, then by total time.
    const std::vector<int>& resultOrder() const { return resultOrder_; }
    int maxLap() const { return maxLap_; }
    int winner() const { return winner_; }
    // The winner's average lap time without the first lap, ms.
    int64_t average() const { return average_; }
    // "1:23.456".
    std::string averageText() const;
    // ms behind (positive) or ahead of the winner's pace after lap index `lap`.
    int64_t value(int driver, int lap) const { return values_.at(driver).at(lap); }
    // The values drawn for a driver: lap indices 0 .. his last lap.
    const std::vector<int64_t>& values(int driver) const { return values_.at(driver); }
    int64_t largestValue() const { return vmax_; }
    int64_t smallestValue() const { return vmin_; }

    // The window's settings.
    std::string title;
    bool scaleAutomatically = true;
    std::string maximumSecondsText = "30";

    std::string defaultTitle() const;
    // The vertical range in ms under the current settings.
    int64_t range() const;
    // "<Track>_RaceGraph.bmp".
    std::string defaultFileName() const;

    void paint(Painter& painter) const;

private:
    int64_t shownMaximum() const;

    RaceInput input_;
    std::vector<int> resultOrder_;
    int maxLap_ = -1;
    int winner_ = -1;
    int64_t average_ = 0;
    std::vector<std::vector<int64_t>> values_;
    int64_t vmax_ = 0;
    int64_t vmin_ = 30;
};

// The "Graphical Race Report": a position chart, one row per position, one column per lap.
class GraphicalRaceReport {
public:
    explicit GraphicalRaceReport(RaceInput input);

    const RaceInput& input() const { return input_; }
    int lapColumns() const { return static_cast<int>(positions_.size()); }
    // Driver indices in position order at the end of lap column `lap` (from 1).
    const std::vector<int>& positionsAt(int lap) const { return positions_.at(lap - 1); }
    // Drivers on the lead lap in a lap column: those who finished the lap before the leader
    // finished the next one; all of them in the last column.
    int leadLapCount(int lap) const { return leadLap_.at(lap - 1); }
    // The final result order of every driver (rows 1 .. number of drivers).
    const std::vector<int>& rowOrder() const { return rowOrder_; }
    std::string rowLabel(int position) const;
    std::string defaultFileName() const;

    // A picture size that gives every row and column room in the bitmap font.
    std::array<int, 2> preferredSize() const;
    void paint(Painter& painter) const;

private:
    RaceInput input_;
    std::vector<std::vector<int>> positions_;
    std::vector<int> leadLap_;
    std::vector<int> rowOrder_;
};

constexpr int RACE_GRAPH_WIDTH = 1000;
constexpr int RACE_GRAPH_HEIGHT = 700;

// "Export to BMP": the save chooser in the replay folder with the default name, ".bmp"
// appended when missing, and the picture written uncompressed. False when nothing was written.
bool exportRacePicture(Ui& ui, const std::string& replayFolder, const std::string& defaultName,
                       int width, int height, const std::function<void(Painter&)>& paint);

}  // namespace movrane
