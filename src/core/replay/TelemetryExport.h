#pragma once

#include <string>

namespace movrane {

class Drivers;
class GetRpyInfo;

// "Ada_Mar_harbour_Brabham_1m 23.456s": driver, track, make and stored lap time, the name
// files written of one lap are suggested under (with their extension).
std::string lapFileStem(const Drivers& drivers, const GetRpyInfo& lap, const std::string& trackName);
// lapFileStem + ".txt".
std::string telemetryFileName(const Drivers& drivers, const GetRpyInfo& lap, const std::string& trackName);
// The whole text of a lap's telemetry file, "\n" line ends.
std::string telemetryText(const GetRpyInfo& lap);
// Writes the text; false when the file cannot be created.
bool writeTelemetryFile(const std::string& path, const GetRpyInfo& lap);

// Every channel of every sample 1 .. n as comma-separated values, with a header row that
// names each column and its unit (one column per wheel).
std::string telemetryCsv(const GetRpyInfo& lap);

}  // namespace movrane
