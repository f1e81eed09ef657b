#include "ReportCases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

#include "core/reports/ReportText.h"

namespace reportcases {

using testsupport::conditionBytes;
using testsupport::FixtureLaps;

testsupport::FixtureRace standardRace() {
    testsupport::FixtureRace r;
    r.drivers = {
        {"Ann", "Alpha", 4, 7, 14, {}},
        {"Bob", "Bravo", 5, 12, 12, {}},
        {"Cid", "Charlie", 1, 3, 11, {}},
        {"Dan", "Delta", 6, 120, 15, {}},
    };
    r.practice = std::vector<std::optional<FixtureLaps>>{
        FixtureLaps{100000, {91000, 90000}},
        FixtureLaps{100500, {89500, 92000}},
        FixtureLaps{101000, {INVALID | 88000, INVALID | 95000}},
        FixtureLaps{101500, {91250, OFF | 90100}},
    };
    r.race = std::vector<std::optional<FixtureLaps>>{
        FixtureLaps{20100, {90900, 90000, 91500}},
        FixtureLaps{20000, {92000, 91000, 90500}},
        FixtureLaps{20300, {INVALID | 92700, 93000, 92700}},
        FixtureLaps{20200, {94800, OFF | 96000}},
    };
    r.raceSeconds = 290;
    r.conditions = {
        {100000, 0, false, conditionBytes({{9, 1}})},
        {40000, 0, true, conditionBytes({{9, 1}})},
        {50000, 1, true, conditionBytes({{9, 0x0F}, {12, 10}})},
        {50000, 2, true, conditionBytes({{4, 1}})},
        {60000, 1, true, conditionBytes({{9, 0x0F}, {12, 20}})},
        {70000, 1, true, conditionBytes({})},
        {80000, 9, true, conditionBytes({{9, 3}})},
        {80000, 25, true, conditionBytes({{13, 16}})},
        {212000, 3, true, conditionBytes({{7, 0x40}, {12, 63}, {13, 16}, {14, 1}})},
        {230000, 2, true, conditionBytes({{4, 1}, {11, 0x90}})},
        {240000, 3, true, conditionBytes({{7, 0x40}, {12, 63}, {13, 16}, {14, 17}})},
    };
    return r;
}

testsupport::FixtureRace longRace() {
    testsupport::FixtureRace r;
    std::vector<std::optional<FixtureLaps>> race;
    for (uint32_t d = 0; d < 20; ++d) {
        r.drivers.push_back({"Driver", std::to_string(d), d % 7, d + 1, 12, {}});
        FixtureLaps laps{20000, {}};
        for (int lap = 1; lap <= 149; ++lap) laps.laps.push_back(90000 + ((lap % 2 == 0) ? d : 19 - d) * 100u);
        race.push_back(laps);
    }
    r.race = race;
    r.raceSeconds = 5;
    return r;
}

LoadedReplay::LoadedReplay(const testsupport::FixtureRace& race, const std::string& fileName)
    : path_(dir_.file(fileName)) {
    setenv("TZ", "UTC", 1);
    tzset();
    testsupport::writeFixtureRace(path_, race);
    if (header_.load(path_) != movrane::Header::OK) throw std::runtime_error("header of the fixture unreadable");
    if (drivers_.load(path_) != movrane::Drivers::OK) {
        throw std::runtime_error(std::string("drivers of the fixture unreadable: ") + drivers_.failureText());
    }
}

movrane::Report LoadedReplay::report(movrane::ReportPrefs prefs) const {
    return movrane::Report(header_, drivers_, path_, prefs);
}

std::string LoadedReplay::generate(movrane::ReportKind kind, movrane::ReportPrefs prefs) const {
    movrane::Report r = report(prefs);
    return r.generate(kind);
}

namespace {

std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The first line (counted from 1) where the texts differ, with both versions.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        const bool moreE = static_cast<bool>(std::getline(e, el));
        const bool moreA = static_cast<bool>(std::getline(a, al));
        if (!moreE && !moreA) return "the texts differ only in their last line end";
        if (el != al || moreE != moreA) {
            return "first difference in line " + std::to_string(line) + ":\n  expected: [" +
                   (moreE ? el : "<end>") + "]\n  actual:   [" + (moreA ? al : "<end>") + "]";
        }
    }
}

}  // namespace

namespace {

// The golden file's bytes, or nothing after writing `actual` there when asked to update.
std::optional<std::string> goldenBytes(const std::string& file, const std::string& actual) {
    const char* update = std::getenv("MOVRANE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << actual;
        return std::nullopt;
    }
    return testsupport::readFileText(file);
}

}  // namespace

void expectGolden(const std::string& caseName, const std::string& reportText) {
    const std::string file = std::string(MOVRANE_TEST_DATA) + "/reports/" + caseName + ".txt";
    const auto golden = goldenBytes(file, movrane::toFileText(reportText));
    if (!golden) return;
    ASSERT_FALSE(golden->empty()) << "no golden text " << file;
    const std::string expected = withCrLf(*golden);
    if (expected != reportText) ADD_FAILURE() << caseName << ": " << firstDifference(expected, reportText);
}

void expectGoldenFile(const std::string& caseName, const std::string& bytes) {
    const std::string file = std::string(MOVRANE_TEST_DATA) + "/reports/" + caseName;
    const auto golden = goldenBytes(file, bytes);
    if (!golden) return;
    ASSERT_FALSE(golden->empty()) << "no golden file " << file;
    if (*golden != bytes) ADD_FAILURE() << caseName << ": " << firstDifference(*golden, bytes);
}

}  // namespace reportcases
