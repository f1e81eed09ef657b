#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/app/CZodEvadiDoc.h"

namespace movrane {

// The printed telemetry page: its texts and the legend of the laps printed.
struct GraphPage {
    static constexpr char TITLE[] = "Orv Telemetry Graph";
    static constexpr char CREDIT[] = "Printed with Movrane";
    static constexpr char NAME_COLUMN[] = "Driver Name";
    static constexpr char TIME_COLUMN[] = "Laptime(Speed)";
    static constexpr char JOB_NAME[] = "Movrane Telemetry Page";
};

struct LegendRow {
    int slot = 0;
    Colour colour{};
    std::string name;     // "First Last"
    std::string lapTime;  // "1m 23.456s(160.123)", the average speed in 7 characters
};

// The average speed of a lap of lapLength metres in lapTimeMs, in km/h or miles per hour;
// 0 for a lap without time.
double averageSpeed(double lapLength, uint32_t lapTimeMs, bool mph);

// One row per ticked lap box that holds a lap, in slot order.
std::vector<LegendRow> legendRows(const CZodEvadiDoc& doc, const std::array<bool, CZodEvadiDoc::MAX_LAPS>& ticked);

// "Select graphs to print": the primary graph is the channel shown; up to three others
// are printed below it.
class SelectGraphsToPrint {
public:
    static constexpr char TITLE[] = "Select graphs to print";
    static constexpr char PROMPT[] = "Select up to three secondary graphs";
    static constexpr std::size_t MAX_SECONDARY = 3;

    explicit SelectGraphsToPrint(int primaryChannel) : primary_(primaryChannel) {}

    int primary() const { return primary_; }
    std::string primaryText() const;
    // Every channel but the primary one, in button order.
    std::vector<int> choices() const;
    // Ticks or unticks a secondary graph; false (nothing changes) for the primary, or a
    // fourth one.
    bool setChosen(int channel, bool chosen);
    bool chosen(int channel) const;
    // The chosen channels, in button order.
    std::vector<int> secondaries() const;

private:
    int primary_;
    std::vector<int> chosen_;
};

}  // namespace movrane
