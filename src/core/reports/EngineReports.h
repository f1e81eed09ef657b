#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/reports/ReportData.h"

namespace movrane {

// Engine result codes: 0..6 the car makes, then these.
enum EngineCode : int {
    ENGINE_UNDETECTABLE = 7,
    ENGINE_F2 = 8,
    ENGINE_F3 = 9,
    ENGINE_HONDA_OR_FERRARI = 10,
};

// The classification bands of the four tests. A and C take the highest raw engine speed
// or peak, B the median raw engine speed before up-shifts, D an engine speed in rpm.
int classifyMethodA(double raw);
int classifyMethodB(double raw);
int classifyMethodC(double raw);
int classifyMethodD(double rpm);
// "Brabham  " .. "Honda    ", "Can't be detected ", "F2       ", "F3       ", "Honda or Ferrari".
const char* engineResultText(int code);

// What the engine scan measured of one car over the whole stream.
struct EngineMeasurements {
    uint32_t highestRaw = 0;                // method A
    std::vector<uint32_t> beforeShiftTo4;  // method B: last raw engine speed in 3rd gear before each shift to 4th
    std::vector<uint32_t> beforeShiftTo5;  // ... in 4th gear before each shift to 5th
    uint32_t highestPeak = 0;               // method C
    double highestRpm = 0;                  // method D (player's car only)
    double lowestRpm = 0;
    bool rpmSeen = false;

    // The test value of method B: the median of each list, the mean of both when both exist.
    double methodBValue() const;
};

// The texts of the four test lines of one car (without their labels).
struct EngineVerdicts {
    std::string a, b, c, d;
};
EngineVerdicts engineVerdicts(const EngineMeasurements& m, uint32_t listedMake, bool player);

using ReportAppend = std::function<void(const std::string&)>;

// The engine detection report: scans the whole record stream of the replay.
void engineDetectionReport(const ReportData& data, const ReportAppend& append);
// The mod-set report: the car, class and formula of every driver record.
void modSetReport(const ReportData& data, const ReportAppend& append);
// The car column of the mod-set report by the record's year and car make.
std::string modSetCar(int year, uint32_t make);

}  // namespace movrane
