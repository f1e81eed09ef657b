#pragma once

#include <array>
#include <string>
#include <vector>

namespace movrane {

class CZodEvadiDoc;
class GetRpyInfo;

// One gear change: a is the last sample in the old gear before a run of samples without
// a gear, b the first sample in the new gear.
struct GearChange {
    int a = 0;
    int b = 0;
    bool operator==(const GearChange&) const = default;
};

std::vector<GearChange> findGearChanges(const GetRpyInfo& lap);

// The analysis of one lap as the "Gear Change Analyser" shows it.
struct GearChangeAnalysis {
    static constexpr int COLUMNS = 6;
    static constexpr int UPSHIFT_ROWS = 5;  // "1->2" .. "5->6"
    using ListRow = std::array<std::string, COLUMNS>;
    using StatisticsRow = std::array<std::string, 3>;  // avg revs, avg revs dropped, avg speed dropped

    std::vector<ListRow> rows;
    int changes = 0;
    std::string upshiftNeutralTime;
    std::string downshiftNeutralTime;
    std::array<StatisticsRow, UPSHIFT_ROWS> statistics{};
    std::string verdict;

    static GearChangeAnalysis of(const GetRpyInfo& lap);
    static const ListRow& columns();
    static const std::array<const char*, UPSHIFT_ROWS>& statisticsRows();
    static const std::array<const char*, 3>& statisticsColumns();
};

// ".083", "1.111": a duration in milliseconds as seconds with three decimals.
std::string shiftTimeText(int milliseconds);

// The "Gear Change Analyser" window: the laps to choose from and the chosen lap's analysis.
class GearChangeAnalyser {
public:
    explicit GearChangeAnalyser(const CZodEvadiDoc& doc);

    // "Select Lap": one label per loaded lap, in slot order.
    const std::vector<std::string>& lapLabels() const { return labels_; }
    // Analyses the lap at this place of the list; empties the analysis for a place outside it.
    void chooseLap(int index);
    int chosenLap() const { return chosen_; }
    const GearChangeAnalysis& analysis() const { return analysis_; }

private:
    const CZodEvadiDoc& doc_;
    std::vector<int> slots_;
    std::vector<std::string> labels_;
    int chosen_ = -1;
    GearChangeAnalysis analysis_;
};

}  // namespace movrane
