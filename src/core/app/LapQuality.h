#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace movrane {

class GetRpyInfo;

// What the quality report of a lap is made of.
struct LapQualityCounts {
    int framesInWindow = 0;
    int missingFrames = 0;
    int longestGap = 0;  // frames
    int samplesWithData = 0;
    uint32_t storedLapTime = 0;  // ms
};
LapQualityCounts qualityCounts(const GetRpyInfo& lap);

// The quality report: how much of the lap's window had data.
std::string qualityReportText(const LapQualityCounts& counts);

// The lap time calculated from a trimmed lap's samples and the track's lap length, in ms.
struct LapTimeCalculation {
    int64_t calculated = 0;
    bool dataMissingAtEnds = false;  // the lap starts or ends too far from the line
};
LapTimeCalculation calculateLapTime(const GetRpyInfo& lap, double lapLength);

// The message that doubts the stored lap time of a trimmed lap, if any.
std::optional<std::string> lapTimeCheckMessage(const GetRpyInfo& lap, double lapLength);

}  // namespace movrane
