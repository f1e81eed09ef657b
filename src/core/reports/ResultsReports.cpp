// Practice report and race report with its tables.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "core/reports/Generators.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr const char* NO_TIME_TEXT = "No time";
constexpr const char* UNOFFICIAL_RACE = "(Replay might have been saved before end of race)\r\n\r\n";

std::string timeOrNoTime(uint32_t time, std::size_t width) {
    return rightAlign(time == ReportData::NO_TIME ? NO_TIME_TEXT : formatTime(time), width);
}

std::string practiceLine(const ReportData& data, std::size_t position, uint32_t d, uint32_t leaderBest) {
    const DriverRecord& r = data.drivers().driver(d);
    const uint32_t best = data.bestPractice(d);
    std::string line = rightAlign(position, 2) + "  " + rightAlign(r.carNumber, 2) + " " +
                       nameColumn(data.name(d)) + " " + carMakeColumn(r.carMake) + r.nationalityCode +
                       timeOrNoTime(best, 10);
    if (position == 1) {
        line += std::string(11, ' ');
    } else {
        line += timeOrNoTime(best == ReportData::NO_TIME ? best : best - leaderBest, 10) + " ";
    }
    return line + rightAlign(static_cast<uint64_t>(data.practiceLaps(d)), 4) + CRLF;
}

}  // namespace

std::string practiceReport(const ReportData& data) {
    if (!data.drivers().practicePresent()) return "This replay file does not contain practice data.";
    std::string text = data.titleBlock();
    text += "PRACTICE TIMES\r\n\r\n";
    text += "Pos No Driver                           Team     Nat      Time      Diff Laps\r\n";
    const std::vector<uint32_t> order = data.practiceOrder();
    const uint32_t leaderBest = order.empty() ? ReportData::NO_TIME : data.bestPractice(order.front());
    for (std::size_t i = 0; i < order.size(); ++i) text += practiceLine(data, i + 1, order[i], leaderBest);
    text += CRLF;
    if (data.drivers().racePresent()) {
        text += "All times are official\r\n";
    } else {
        text += "All times are unofficial\r\n(Replay might have been saved before end of practice)\r\n\r\n";
    }
    return text + REPORT_FOOTER;
}

namespace {

// The facts of the race that the tables of the race report share.
struct Race {
    const ReportData& data;
    int laps = 0;                     // N
    std::vector<uint32_t> classified;  // classification order
    uint64_t baseOfWinner = 0;        // E0
    uint64_t leaderTime = 0;          // T1
    std::vector<uint32_t> leaders;    // leader of lap L at index L - 1

    explicit Race(const ReportData& d) : data(d) {
        laps = data.maxRaceLaps();
        classified = data.classification();
        if (!classified.empty()) {
            baseOfWinner = data.raceWord(classified.front(), 0) & LAP_TIME_MASK;
            leaderTime = data.cumulative(classified.front(), laps);
        }
        for (int lap = 1; lap <= laps; ++lap) leaders.push_back(data.orderAtLap(lap).front());
    }
};

std::string raceTime(const Race& race, uint32_t d) {
    const int c = race.data.raceLaps(d);
    if (c > 0) return formatTime(static_cast<uint32_t>(race.data.cumulative(d, c) - race.baseOfWinner));
    return race.data.startedRace(d) ? "0m00.000s" : "DidNotStart";
}

std::string raceGap(const Race& race, uint32_t d) {
    const int c = race.data.raceLaps(d);
    if (c < race.laps) return std::to_string(race.laps - c) + " lap(s)";
    if (race.laps == 0) return NO_TIME_TEXT;
    return formatTime(static_cast<uint32_t>(race.data.cumulative(d, c) - race.leaderTime));
}

std::string resultLine(const Race& race, std::size_t position, uint32_t d, const CarStateTable& carStates) {
    const ReportData& data = race.data;
    const DriverRecord& r = data.drivers().driver(d);
    std::string line = rightAlign(position, 2) + "  " + rightAlign(r.carNumber, 2) + " " +
                       nameColumn(data.name(d)) + carMakeColumn(r.carMake) + r.nationalityCode + " " +
                       rightAlign(static_cast<uint64_t>(data.raceLaps(d)), 4) + " " +
                       rightAlign(raceTime(race, d), 11) + " ";
    line += position == 1 ? std::string(11, ' ') : rightAlign(raceGap(race, d), 10) + " ";
    if (data.prefs().retireInRaceReport && r.slot < MAX_SLOTS) {
        const uint8_t code = carStates[r.slot][RETIREMENT_BYTE];
        if (code != 0) line += rightAlign(reasonShort(code), 10);
    }
    return line + CRLF;
}

std::string resultsTable(const Race& race, const CarStateTable& carStates) {
    std::string text = "RACE RESULTS (After " + std::to_string(race.laps) + " laps)\r\n\r\n";
    text += "Pos No Driver                          Team     Nat Laps   Race Time       Diff";
    if (race.data.prefs().retireInRaceReport) text += "    Problem";
    text += CRLF;
    for (std::size_t i = 0; i < race.classified.size(); ++i) {
        text += resultLine(race, i + 1, race.classified[i], carStates);
    }
    return text + "\r\n\r\nRace results are unofficial\r\n" + UNOFFICIAL_RACE;
}

struct FastestLap {
    uint32_t driver = 0;
    uint32_t time = ReportData::NO_TIME;
    int lap = 0;
};

FastestLap fastestLapOf(const ReportData& data, uint32_t d) {
    FastestLap best{d, ReportData::NO_TIME, 0};
    for (int k = 1; k <= data.raceLaps(d); ++k) {
        const uint32_t word = data.raceWord(d, k);
        if ((word & LAP_FLAG_INVALID) || (word & LAP_TIME_MASK) >= best.time) continue;
        best.time = word & LAP_TIME_MASK;
        best.lap = k;
    }
    return best;
}

std::string fastestLapsTable(const Race& race) {
    const ReportData& data = race.data;
    std::vector<FastestLap> laps;
    for (uint32_t d = 0; d < data.driverCount(); ++d) laps.push_back(fastestLapOf(data, d));
    std::stable_sort(laps.begin(), laps.end(), [](const FastestLap& a, const FastestLap& b) { return a.time < b.time; });
    std::string text = "RACE FASTEST LAPS\r\n\r\nPos Driver                                 Time Lap\r\n";
    for (std::size_t i = 0; i < laps.size(); ++i) {
        text += rightAlign(i + 1, 2) + "  " + nameColumn(data.name(laps[i].driver)) + " ";
        if (laps[i].time == ReportData::NO_TIME) {
            text += NO_TIME_TEXT;
        } else {
            text += rightAlign(formatTime(laps[i].time), 10) + rightAlign(static_cast<uint64_t>(laps[i].lap), 4);
        }
        text += CRLF;
    }
    return text;
}

std::string leadersTable(const Race& race) {
    std::string text = "\r\n\r\nLEADERS\r\n\r\nDriver                           Laps\r\n";
    int runs = 0;
    std::set<uint32_t> distinct;
    for (std::size_t first = 0; first < race.leaders.size();) {
        std::size_t last = first;
        while (last + 1 < race.leaders.size() && race.leaders[last + 1] == race.leaders[first]) ++last;
        text += nameColumn(race.data.name(race.leaders[first])) + " " + std::to_string(first + 1);
        if (last > first) {
            text += '-';
            text += std::to_string(last + 1);
        }
        text += CRLF;
        ++runs;
        distinct.insert(race.leaders[first]);
        first = last + 1;
    }
    // Without a completed lap there are no runs and no change of the lead.
    const int changes = runs > 0 ? runs - 1 : 0;
    text += "\r\nNumber of lead changes: " + std::to_string(changes) + CRLF;
    return text + "Number of leaders: " + std::to_string(distinct.size()) + CRLF;
}

std::string lapsLedTable(const Race& race) {
    const ReportData& data = race.data;
    std::vector<std::pair<uint32_t, int>> led;  // driver, laps led
    for (uint32_t d = 0; d < data.driverCount(); ++d) {
        const auto count = std::count(race.leaders.begin(), race.leaders.end(), d);
        if (count > 0) led.emplace_back(d, static_cast<int>(count));
    }
    std::stable_sort(led.begin(), led.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::string text = "\r\n\r\nLAPS LED\r\n\r\nDriver                           Laps led\r\n";
    for (const auto& [d, count] : led) text += nameColumn(data.name(d)) + " " + std::to_string(count) + CRLF;
    return text;
}

std::string highestClimberTable(const Race& race) {
    const ReportData& data = race.data;
    if (!data.drivers().practicePresent()) {
        return "\r\nReplay doesn't contain practice info - skipping \"Highest Climber\" table\r\n";
    }
    struct Climb {
        uint32_t driver;
        int start;
        int finish;
    };
    const std::vector<uint32_t> grid = data.practiceOrder();
    std::vector<Climb> climbs;
    for (std::size_t f = 0; f < race.classified.size(); ++f) {
        const uint32_t d = race.classified[f];
        const auto s = std::find(grid.begin(), grid.end(), d) - grid.begin();
        climbs.push_back({d, static_cast<int>(s) + 1, static_cast<int>(f) + 1});
    }
    std::stable_sort(climbs.begin(), climbs.end(),
                     [](const Climb& a, const Climb& b) { return a.start - a.finish > b.start - b.finish; });
    std::string text = "\r\n\r\nHIGHEST CLIMBER\r\n\r\nDriver                           Start Finish  Change\r\n";
    for (const Climb& c : climbs) {
        text += nameColumn(data.name(c.driver)) + "    " + rightAlign(static_cast<uint64_t>(c.start), 2) + "     " +
                rightAlign(static_cast<uint64_t>(c.finish), 2) + "     " + rightAlignSigned(c.start - c.finish, 3) +
                CRLF;
    }
    return text;
}

std::string onTrackTable(const Race& race) {
    const ReportData& data = race.data;
    struct OnTrack {
        uint32_t driver;
        int on;
        int laps;
    };
    std::vector<OnTrack> rows;
    for (uint32_t d = 0; d < data.driverCount(); ++d) {
        const int n = data.raceLaps(d);
        if (n < 1) continue;
        int off = 0;
        for (int k = 1; k <= n; ++k) off += (data.raceWord(d, k) & LAP_FLAG_OFF_TRACK) ? 1 : 0;
        rows.push_back({d, n - off, n});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const OnTrack& a, const OnTrack& b) { return a.on > b.on; });
    std::string text = "\r\n\r\nON TRACK LAPS\r\n\r\nDriver                           Laps/Total    Percent\r\n";
    for (const OnTrack& r : rows) {
        const double share = 1.0 - static_cast<double>(r.laps - r.on) / r.laps;
        std::string ratio = "(";
        ratio += std::to_string(r.on) + "/" + std::to_string(r.laps) + ")";
        text += nameColumn(data.name(r.driver)) + "  " + rightAlign(ratio, 9) + "     " +
                rightAlign(fourDigits(share * 100.0, 2), 6) + CRLF;
    }
    return text;
}

std::string consistencyTable(const Race& race) {
    const ReportData& data = race.data;
    struct Consistency {
        uint32_t driver;
        uint64_t averageDeviation;
        double standardDeviation;
        uint64_t mean;
        int laps;
    };
    std::vector<Consistency> rows;
    for (uint32_t d = 0; d < data.driverCount(); ++d) {
        const int n = data.raceLaps(d);
        if (n < 2) continue;
        const uint64_t k = static_cast<uint64_t>(n - 1);
        uint64_t sum = 0;
        for (int lap = 2; lap <= n; ++lap) sum += data.raceWord(d, lap) & LAP_TIME_MASK;
        const uint64_t mean = sum / k;
        uint64_t absolute = 0;
        uint64_t squares = 0;
        for (int lap = 2; lap <= n; ++lap) {
            const int64_t dev = static_cast<int64_t>(data.raceWord(d, lap) & LAP_TIME_MASK) - static_cast<int64_t>(mean);
            absolute += static_cast<uint64_t>(std::llabs(dev));
            squares += static_cast<uint64_t>(dev * dev);
        }
        rows.push_back({d, absolute / k, std::sqrt(static_cast<double>(squares / k)), mean, n});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Consistency& a, const Consistency& b) {
        return a.averageDeviation < b.averageDeviation;
    });
    std::string text = "\r\n\r\nRACE LAPTIME CONSISTENCY\r\n(first lap excluded)\r\n\r\n";
    text += "Driver                    Avg Deviation  Std Deviation  Avg Laptime   Laps\r\n";
    for (const Consistency& c : rows) {
        text += nameColumn(data.name(c.driver)) +
                rightAlign(fourDigits(static_cast<double>(c.averageDeviation) / 1000.0, 3), 7) +
                rightAlign(fourDigits(c.standardDeviation / 1000.0, 3), 15) + "   " +
                rightAlign(formatTime(static_cast<uint32_t>(c.mean)), 10) + "   " +
                rightAlign(static_cast<uint64_t>(c.laps), 4) + CRLF;
    }
    return text;
}

}  // namespace

std::string raceReport(const ReportData& data, const CarStateTable& carStates) {
    if (!data.drivers().racePresent()) return "This replay file does not contain race data.";
    const Race race(data);
    std::string text = data.titleBlock();
    text += resultsTable(race, carStates);
    text += fastestLapsTable(race);
    text += leadersTable(race);
    text += lapsLedTable(race);
    text += highestClimberTable(race);
    text += onTrackTable(race);
    text += consistencyTable(race);
    text += "\r\n\r\nAll times are unofficial\r\n";
    text += UNOFFICIAL_RACE;
    return text + REPORT_FOOTER;
}

}  // namespace movrane
