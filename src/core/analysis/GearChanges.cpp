#include "core/analysis/GearChanges.h"

#include <cstdio>

#include "core/analysis/LapLabels.h"
#include "core/app/CZodEvadiDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

namespace {

constexpr double MS_PER_SAMPLE = 27.778;
constexpr int FIRST_UPSHIFT_GEAR = 2;

int neutralMilliseconds(int samples) { return static_cast<int>(samples * MS_PER_SAMPLE); }

bool isUpshift(const GetRpyInfo& lap, const GearChange& c) { return lap.sample(c.b).gear >= lap.sample(c.a).gear; }

// The revs still rise two samples after the last in-gear sample and stand above the
// starting revs just before the new gear engages.
bool isSpeedshift(const GetRpyInfo& lap, const GearChange& c) {
    const double revs = lap.sample(c.a).engineSpeed;
    return revs < lap.sample(c.a + 2).engineSpeed && lap.sample(c.b - 1).engineSpeed > revs;
}

GearChangeAnalysis::ListRow listRow(const GetRpyInfo& lap, const GearChange& c, int number) {
    const LapSample& a = lap.sample(c.a);
    const LapSample& b = lap.sample(c.b);
    return {std::to_string(number) + ": " + std::to_string(a.gear) + "->" + std::to_string(b.gear),
            std::to_string(a.lapPosition / 2000),
            std::to_string(static_cast<int>(a.engineSpeed)),
            std::to_string(static_cast<int>(a.engineSpeed - b.engineSpeed)),
            std::to_string(static_cast<int>(a.speed + 0.5 - b.speed)),
            shiftTimeText(neutralMilliseconds(c.b - c.a))};
}

struct UpshiftSums {
    int count = 0;
    long long revs = 0, revsDropped = 0, speedDropped = 0;
};

std::string verdictText(int upshifts, int speedshifts) {
    return "Out of " + std::to_string(upshifts) + " upshifts, " + std::to_string(speedshifts) +
           (speedshifts < 2 ? " was a speedshift." : " were speedshifts.");
}

}  // namespace

std::vector<GearChange> findGearChanges(const GetRpyInfo& lap) {
    std::vector<GearChange> changes;
    const int n = lap.sampleCount();
    int i = 1;
    while (i <= n && lap.sample(i).gear == 0) ++i;
    while (i <= n) {
        if (lap.sample(i).gear != 0) {
            ++i;
            continue;
        }
        const int a = i - 1;
        while (i <= n && lap.sample(i).gear == 0) ++i;
        if (i > n) break;
        changes.push_back({a, i});
    }
    return changes;
}

std::string shiftTimeText(int milliseconds) {
    char text[32];
    if (milliseconds < 1000) {
        std::snprintf(text, sizeof text, ".%03d", milliseconds);
    } else {
        std::snprintf(text, sizeof text, "%d.%03d", milliseconds / 1000, milliseconds % 1000);
    }
    return text;
}

GearChangeAnalysis GearChangeAnalysis::of(const GetRpyInfo& lap) {
    GearChangeAnalysis result;
    const auto changes = findGearChanges(lap);
    int upshiftSamples = 0, downshiftSamples = 0, upshifts = 0, speedshifts = 0;
    std::array<UpshiftSums, UPSHIFT_ROWS> sums{};
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const GearChange& c = changes[k];
        result.rows.push_back(listRow(lap, c, static_cast<int>(k) + 1));
        if (!isUpshift(lap, c)) {
            downshiftSamples += c.b - c.a;
            continue;
        }
        upshiftSamples += c.b - c.a;
        ++upshifts;
        if (isSpeedshift(lap, c)) ++speedshifts;
        const int row = lap.sample(c.b).gear - FIRST_UPSHIFT_GEAR;
        if (row < 0 || row >= UPSHIFT_ROWS) continue;
        const LapSample& a = lap.sample(c.a);
        const LapSample& b = lap.sample(c.b);
        UpshiftSums& s = sums[row];
        ++s.count;
        s.revs += static_cast<long long>(a.engineSpeed);
        s.revsDropped += static_cast<long long>(a.engineSpeed - b.engineSpeed);
        s.speedDropped += static_cast<long long>(a.speed + 0.5 - b.speed);
    }
    result.changes = static_cast<int>(changes.size());
    result.upshiftNeutralTime = lapTimeText(static_cast<uint32_t>(neutralMilliseconds(upshiftSamples)));
    result.downshiftNeutralTime = lapTimeText(static_cast<uint32_t>(neutralMilliseconds(downshiftSamples)));
    for (int row = 0; row < UPSHIFT_ROWS; ++row) {
        const UpshiftSums& s = sums[row];
        if (s.count == 0) continue;
        result.statistics[row] = {std::to_string(s.revs / s.count), std::to_string(s.revsDropped / s.count),
                                  std::to_string(s.speedDropped / s.count)};
    }
    result.verdict = verdictText(upshifts, speedshifts);
    return result;
}

const GearChangeAnalysis::ListRow& GearChangeAnalysis::columns() {
    static const ListRow COLUMNS_{"Gearchange", "Meter ", "Revs ", "Revs-", "Speed-", "Time"};
    return COLUMNS_;
}

const std::array<const char*, GearChangeAnalysis::UPSHIFT_ROWS>& GearChangeAnalysis::statisticsRows() {
    static const std::array<const char*, UPSHIFT_ROWS> ROWS{"1->2", "2->3", "3->4", "4->5", "5->6"};
    return ROWS;
}

const std::array<const char*, 3>& GearChangeAnalysis::statisticsColumns() {
    static const std::array<const char*, 3> COLUMNS_{"Avg Revs", "Avg Revs\n dropped", "Avg Speed\n  dropped"};
    return COLUMNS_;
}

GearChangeAnalyser::GearChangeAnalyser(const CZodEvadiDoc& doc) : doc_(doc), slots_(doc.usedSlots()) {
    for (const int slot : slots_) labels_.push_back(driverLapLabel(doc, slot));
}

void GearChangeAnalyser::chooseLap(int index) {
    analysis_ = {};
    chosen_ = index >= 0 && index < static_cast<int>(slots_.size()) ? index : -1;
    if (chosen_ >= 0) analysis_ = GearChangeAnalysis::of(*doc_.slot(slots_[chosen_]).lap);
}

}  // namespace movrane
