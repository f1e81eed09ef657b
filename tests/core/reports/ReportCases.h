#pragma once

#include <string>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "support/RaceFixture.h"
#include "support/TempDir.h"

namespace reportcases {

constexpr uint32_t INVALID = 1u << 28;
constexpr uint32_t OFF = 1u << 30;

// Four drivers, practice and race. Practice order: Bob, Ann, Dan, Cid (no valid lap).
// Race over 3 laps: Ann passes Bob on lap 1 and wins, Cid passes Dan on lap 1, Dan (car
// number 120) goes off on lap 2 and retires with a blown engine during lap 3.
testsupport::FixtureRace standardRace();

// Twenty drivers over 149 laps whose order turns round on every lap: a lap-by-lap report
// far longer than the report window's text view holds.
testsupport::FixtureRace longRace();

// A written fixture with its readers loaded, in a temporary folder, with local time UTC.
class LoadedReplay {
public:
    explicit LoadedReplay(const testsupport::FixtureRace& race, const std::string& fileName = "race.rpy");
    movrane::Report report(movrane::ReportPrefs prefs = {}) const;
    std::string generate(movrane::ReportKind kind, movrane::ReportPrefs prefs = {}) const;
    const std::string& path() const { return path_; }
    const testsupport::TempDir& dir() const { return dir_; }
    const movrane::Header& header() const { return header_; }
    const movrane::Drivers& drivers() const { return drivers_; }

private:
    testsupport::TempDir dir_;
    std::string path_;
    movrane::Header header_;
    movrane::Drivers drivers_;
};

// Compares a report text with tests/data/reports/<caseName>.txt (stored with "\n" line
// ends; the report's "\r\n" are compared as such). With MOVRANE_UPDATE_GOLDEN=1 in the
// environment the file is written instead.
void expectGolden(const std::string& caseName, const std::string& reportText);
// The same for a file compared byte for byte (tests/data/reports/<caseName>).
void expectGoldenFile(const std::string& caseName, const std::string& bytes);

}  // namespace reportcases
