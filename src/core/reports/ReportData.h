#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace movrane {

// The two preferences the reports read.
struct ReportPrefs {
    bool retireInRaceReport = false;       // race report: run the mechanical scan, show "Problem"
    bool offTheTrackInRaceReport = false;  // lap-by-lap report: write the off-the-track lines
};

// What the reports read of one replay: its header and driver table, its path, and the
// derived orders that several reports share. Driver indices are positions in the list.
class ReportData {
public:
    static constexpr uint32_t NO_TIME = 0xFFFFFF;

    ReportData(const Header& header, const Drivers& drivers, std::string replayPath, ReportPrefs prefs);

    const Header& header() const { return header_; }
    const Drivers& drivers() const { return drivers_; }
    const std::string& replayPath() const { return path_; }
    const ReportPrefs& prefs() const { return prefs_; }
    uint32_t driverCount() const;

    // "First Last".
    std::string name(uint32_t d) const;
    int raceLaps(uint32_t d) const { return drivers_.lapCount(d, RACE); }
    int practiceLaps(uint32_t d) const { return drivers_.lapCount(d, PRACTICE); }
    uint32_t raceWord(uint32_t d, int lap) const { return drivers_.lapWord(d, RACE, lap); }
    // Largest race lap count of all drivers.
    int maxRaceLaps() const;
    // C(d, L): the sum of the 24-bit values of race lap words 0..L.
    uint64_t cumulative(uint32_t d, int lap) const;
    // False for a driver whose race base word is the empty marker.
    bool startedRace(uint32_t d) const;
    // A driver's best practice lap (bit 28 clear), NO_TIME without one.
    uint32_t bestPractice(uint32_t d) const;
    // Drivers by best practice lap, those without a time last.
    std::vector<uint32_t> practiceOrder() const;
    // Drivers with at least `lap` race laps by C(d, lap).
    std::vector<uint32_t> orderAtLap(int lap) const;
    // The race classification: by lap count, descending, then by C(d, count).
    std::vector<uint32_t> classification() const;

    // "Track: ..." line with the file's modification time.
    std::string titleLine() const;
    // The title line and an empty line.
    std::string titleBlock() const;

private:
    const Header& header_;
    const Drivers& drivers_;
    std::string path_;
    ReportPrefs prefs_;
};

}  // namespace movrane
