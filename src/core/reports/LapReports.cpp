// Lap chart and lap-by-lap report.
#include <algorithm>
#include <array>
#include <optional>

#include "core/reports/Generators.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr uint32_t FLAG_BITS = ~LAP_TIME_MASK;

// " [Off the track, Invalid lap]" for a lap word with flags, "" without.
std::string flagTexts(uint32_t word, const char* invalidText) {
    uint32_t flags = word & FLAG_BITS;
    if (flags == 0) return "";
    std::string text;
    auto add = [&](const char* t) {
        if (!text.empty()) text += ", ";
        text += t;
    };
    if (flags & LAP_FLAG_OFF_TRACK) add("Off the track");
    if (flags & LAP_FLAG_INVALID) add(invalidText);
    flags &= ~(LAP_FLAG_OFF_TRACK | LAP_FLAG_INVALID);
    if (flags) add("Unknown incident");
    return " [" + text + "]";
}

std::string lapLines(const ReportData& data, uint32_t d, Session s, int firstLap, const char* invalidText) {
    std::string text;
    for (int lap = firstLap; lap <= data.drivers().lapCount(d, s); ++lap) {
        const uint32_t word = data.drivers().lapWord(d, s, lap);
        text += "Lap " + std::to_string(lap) + ": " + formatTime(word) + flagTexts(word, invalidText) + CRLF;
    }
    return text;
}

}  // namespace

std::string lapChart(const ReportData& data) {
    std::string text = data.titleLine();
    for (uint32_t d = 0; d < data.driverCount(); ++d) {
        text += "\r\n\r\nDriver: " + data.name(d) + " - " + carMakeColumn(data.drivers().driver(d).carMake) + CRLF;
        if (data.practiceLaps(d) == 0) {
            text += "\r\nNo practice laps\r\n";
        } else {
            text += "\r\nPractice laps\r\n" + lapLines(data, d, PRACTICE, 1, "Invalid lap");
        }
        if (data.raceLaps(d) == 0) {
            text += "\r\nNo race laps\r\n";
        } else {
            text += "\r\nRace laps\r\n" + lapLines(data, d, RACE, 0, " Invalid lap");
        }
    }
    return text + "\r\n\r\n" + REPORT_FOOTER;
}

namespace {

using Row = std::vector<uint32_t>;  // driver indices in order; absent places are simply missing

std::optional<std::size_t> placeIn(const Row& row, uint32_t d) {
    const auto it = std::find(row.begin(), row.end(), d);
    if (it == row.end()) return std::nullopt;
    return static_cast<std::size_t>(it - row.begin());
}

// The story of the race, lap by lap, over the order table.
class LapByLap {
public:
    explicit LapByLap(const ReportData& data) : data_(data), practice_(data.drivers().practicePresent()) {
        laps_ = data.maxRaceLaps();
        rows_.push_back(practice_ ? startingGrid() : Row{});
        for (int lap = 1; lap <= laps_; ++lap) rows_.push_back(data.orderAtLap(lap));
        findFastestLap();
        // Without a completed lap nobody has won.
        if (laps_ > 0) winner_ = rows_[laps_].front();
        if (winner_) winnerTime_ = data.cumulative(*winner_, laps_);
    }

    std::string text() const {
        std::string text = data_.titleBlock() + "\r\n\r\n" + "LAP BY LAP RACE REPORT\r\n\r\n" + start();
        for (int lap = 1; lap <= laps_; ++lap) text += lapEvents(lap);
        return text + finish() + "\r\nFinishing order and last lap info is unofficial\r\n" +
               "(Replay might have been saved before end of race)\r\n\r\n" + REPORT_FOOTER;
    }

private:
    // The practice order of the drivers who took the start: a driver who fails to make
    // the start is neither on pole nor overtaken on the first lap.
    Row startingGrid() const {
        Row grid;
        for (uint32_t d : data_.practiceOrder()) {
            if (data_.startedRace(d)) grid.push_back(d);
        }
        return grid;
    }

    void findFastestLap() {
        uint32_t best = ReportData::NO_TIME + 1;
        for (uint32_t d = 0; d < data_.driverCount(); ++d) {
            for (int lap = 1; lap <= data_.raceLaps(d); ++lap) {
                const uint32_t word = data_.raceWord(d, lap);
                if ((word & LAP_FLAG_INVALID) || (word & LAP_TIME_MASK) >= best) continue;
                best = word & LAP_TIME_MASK;
                fastestDriver_ = d;
                fastestLap_ = lap;
            }
        }
    }

    std::string start() const {
        std::string text = "Start of the race:\r\n";
        for (uint32_t d = 0; d < data_.driverCount(); ++d) {
            if (!data_.startedRace(d)) text += data_.name(d) + " fails to make the start.\r\n";
        }
        // The polesitter is the best of the practice order who started; when no starter
        // set a practice time there is nobody to name.
        const Row& grid = rows_[0];
        if (practice_ && !grid.empty() && data_.bestPractice(grid.front()) != ReportData::NO_TIME) {
            const uint32_t pole = grid.front();
            text += "Polesitter " + data_.name(pole) + " in a " + carMakeWord(data_.drivers().driver(pole).carMake) +
                    " leads the field as the flag drops.\r\n";
        }
        return text + CRLF;
    }

    bool reportsFirstLapChanges(int lap) const { return lap > 1 || practice_; }

    std::string offTrack(int lap) const {
        std::string text;
        if (!data_.prefs().offTheTrackInRaceReport) return text;
        for (uint32_t d = 0; d < data_.driverCount(); ++d) {
            if ((data_.raceWord(d, lap) & FLAG_BITS) == LAP_FLAG_OFF_TRACK) {
                text += data_.name(d) + " goes off the track but rejoins.\r\n";
            }
        }
        return text;
    }

    std::string overtakes(int lap) const {
        std::string text;
        if (!reportsFirstLapChanges(lap)) return text;
        const Row& now = rows_[lap];
        const Row& before = rows_[lap - 1];
        for (std::size_t k = now.size(); k-- > 0;) {
            const uint32_t u = now[k];
            const auto j = placeIn(before, u);
            if (!j || *j == k) continue;
            bool any = false;
            for (std::size_t m = *j; m-- > 0;) {
                const uint32_t w = before[m];
                const auto i = placeIn(now, w);
                if (i && *i <= k) continue;
                text += data_.name(u) + " overtakes " + data_.name(w) + ".\r\n";
                any = true;
            }
            if (any) text += data_.name(u) + " is in position " + std::to_string(k + 1) + " at the end of the lap.\r\n";
        }
        return text;
    }

    std::string leadChange(int lap) const {
        const Row& now = rows_[lap];
        const Row& before = rows_[lap - 1];
        if (!reportsFirstLapChanges(lap) || before.empty() || now.front() == before.front()) return "";
        return data_.name(before.front()) + " loses the lead.\r\n" + "The new race leader is " +
               data_.name(now.front()) + ".\r\n";
    }

    std::string retirements(int lap) const {
        std::string text;
        if (!reportsFirstLapChanges(lap)) return text;
        for (uint32_t d = 0; d < data_.driverCount(); ++d) {
            if (data_.raceLaps(d) != lap - 1 || !data_.startedRace(d)) continue;
            // A driver whose last lap ended after the winner's finish was lapped, not retired.
            if (data_.cumulative(d, lap - 1) >= winnerTime_) continue;
            text += data_.name(d) + " retires the " + carMakeWord(data_.drivers().driver(d).carMake) + ".\r\n";
        }
        return text;
    }

    std::string fastestLap(int lap) const {
        if (!fastestDriver_ || lap != fastestLap_) return "";
        const uint32_t d = *fastestDriver_;
        return "What would become the fastest lap of the race is set by " + data_.name(d) + ".\r\n" +
               "The time is an impressive " + formatTime(data_.raceWord(d, lap)) + ".\r\n";
    }

    std::string lapEvents(int lap) const {
        const std::string events = offTrack(lap) + overtakes(lap) + leadChange(lap) + retirements(lap) + fastestLap(lap);
        if (events.empty()) return "";
        return "Lap " + std::to_string(lap) + ":\r\n" + events + CRLF;
    }

    std::string finish() const {
        std::string text = "End of the race:\r\n";
        if (!winner_) return text;
        text += data_.name(*winner_) + " wins the race";
        const Row& last = rows_[laps_];
        if (data_.driverCount() > 1 && last.size() >= 3) {
            const auto behind = [&](uint32_t d) {
                return formatTime(static_cast<uint32_t>(data_.cumulative(d, laps_) - winnerTime_));
            };
            text += ' ';
            text += behind(last[1]) + " ahead of " + data_.name(last[1]) + ".\r\n";
            text += "Last of the podium finishers was " + data_.name(last[2]) + ",\r\nfinishing " + behind(last[2]) +
                    " behind the winner.\r\n";
        }
        return text;
    }

    const ReportData& data_;
    bool practice_;
    int laps_ = 0;
    std::vector<Row> rows_;
    std::optional<uint32_t> fastestDriver_;
    int fastestLap_ = 0;
    std::optional<uint32_t> winner_;
    uint64_t winnerTime_ = 0;
};

}  // namespace

std::string lapByLapReport(const ReportData& data) {
    if (!data.drivers().racePresent()) return "This replay file does not contain race data.";
    return LapByLap(data).text();
}

}  // namespace movrane
