#include "core/reports/ReportData.h"

#include <sys/stat.h>

#include <algorithm>

#include "core/reports/ReportText.h"

namespace movrane {

ReportData::ReportData(const Header& header, const Drivers& drivers, std::string replayPath, ReportPrefs prefs)
    : header_(header), drivers_(drivers), path_(std::move(replayPath)), prefs_(prefs) {}

uint32_t ReportData::driverCount() const { return static_cast<uint32_t>(drivers_.drivers().size()); }

std::string ReportData::name(uint32_t d) const {
    const DriverRecord& r = drivers_.driver(d);
    return r.name1 + " " + r.name2;
}

int ReportData::maxRaceLaps() const {
    int n = 0;
    for (uint32_t d = 0; d < driverCount(); ++d) n = std::max(n, raceLaps(d));
    return n;
}

uint64_t ReportData::cumulative(uint32_t d, int lap) const {
    uint64_t sum = 0;
    for (int k = 0; k <= lap; ++k) sum += raceWord(d, k) & LAP_TIME_MASK;
    return sum;
}

bool ReportData::startedRace(uint32_t d) const {
    return (raceWord(d, 0) & LAP_TIME_MASK) != (EMPTY_BASE_WORD & LAP_TIME_MASK);
}

uint32_t ReportData::bestPractice(uint32_t d) const {
    uint32_t best = NO_TIME;
    for (int k = 1; k <= practiceLaps(d); ++k) {
        const uint32_t word = drivers_.lapWord(d, PRACTICE, k);
        if (word & LAP_FLAG_INVALID) continue;
        best = std::min(best, word & LAP_TIME_MASK);
    }
    return best;
}

std::vector<uint32_t> ReportData::practiceOrder() const {
    std::vector<uint32_t> order(driverCount());
    for (uint32_t d = 0; d < driverCount(); ++d) order[d] = d;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return bestPractice(a) < bestPractice(b); });
    return order;
}

std::vector<uint32_t> ReportData::orderAtLap(int lap) const {
    std::vector<uint32_t> order;
    for (uint32_t d = 0; d < driverCount(); ++d) {
        if (raceLaps(d) >= lap) order.push_back(d);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return cumulative(a, lap) < cumulative(b, lap); });
    return order;
}

std::vector<uint32_t> ReportData::classification() const {
    std::vector<uint32_t> order;
    for (int c = maxRaceLaps(); c >= 0; --c) {
        std::vector<uint32_t> group;
        for (uint32_t d = 0; d < driverCount(); ++d) {
            if (raceLaps(d) == c) group.push_back(d);
        }
        std::stable_sort(group.begin(), group.end(),
                         [&](uint32_t a, uint32_t b) { return cumulative(a, c) < cumulative(b, c); });
        order.insert(order.end(), group.begin(), group.end());
    }
    return order;
}

std::string ReportData::titleLine() const {
    struct stat st {};
    const std::string date = ::stat(path_.c_str(), &st) == 0 ? formatReportDate(st.st_mtime) : "";
    return movrane::titleLine(header_.trackName(), date);
}

std::string ReportData::titleBlock() const { return titleLine() + "\r\n\r\n"; }

}  // namespace movrane
