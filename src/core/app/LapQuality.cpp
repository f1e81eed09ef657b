#include "core/app/LapQuality.h"

#include <cmath>
#include <cstdlib>

#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

LapQualityCounts qualityCounts(const GetRpyInfo& lap) {
    return {lap.framesInWindow(), lap.missingFrames(), lap.longestGap(), lap.samplesWithData(), lap.storedLapTime()};
}

std::string qualityReportText(const LapQualityCounts& lap) {
    const int frames = lap.framesInWindow;
    const int quality = frames > 0 ? static_cast<int>(100 - lap.missingFrames * 100.0 / frames) : 0;
    std::string text = "Online quality of lapdata: " + std::to_string(quality) + "%\nLargest online gap: " +
                       std::to_string(lap.longestGap / 36) + " seconds";
    if (static_cast<int64_t>(frames) * 1000 / 36 < lap.storedLapTime) {
        text += "\n\nPossible partly loss of data due to accelerated time\nor other disturbance.";
    }
    if (lap.samplesWithData == 0 && quality <= 0) {
        text +=
            "This laps seems to be a lap set under\r\naccelerated time and contains no data.\nThe plot and graph will "
            "not work OK with this lap,\n but you can run the reports.";
    }
    return text;
}

LapTimeCalculation calculateLapTime(const GetRpyInfo& lap, double lapLength) {
    LapTimeCalculation result;
    const int n = lap.sampleCount();
    if (n < 4) return result;
    auto position = [&](int k) { return static_cast<double>(lap.sample(k).lapPosition); };
    const double startStep = static_cast<double>(lap.lapStartStep());
    const double endStep = static_cast<double>(lap.lapEndStep());
    const double a = (n - 4) / 36.0;
    const double b = startStep != 0 ? position(2) / 36.0 / startStep : 0.0;
    const double d = std::trunc(lapLength * 2000) - position(n - 2);
    const double e = std::min(std::fabs(d), endStep);
    const double c = endStep != 0 ? e / endStep / 36.0 : 0.0;
    result.calculated = static_cast<int64_t>((a + b + c) * 1000);
    result.dataMissingAtEnds = position(3) > 3 * startStep || std::fabs(d) > 3 * endStep;
    return result;
}

std::optional<std::string> lapTimeCheckMessage(const GetRpyInfo& lap, double lapLength) {
    const LapTimeCalculation check = calculateLapTime(lap, lapLength);
    if (check.calculated == 0) return std::nullopt;
    if (check.dataMissingAtEnds) {
        return std::string(
            "MOVRN has detected that some data seems to be missing at the start/end of this lap"
            "\nThis is often caused by false laptimes in the replay."
            "\nThe replay laptime for this lap is probably incorrect."
            "\nRun Tools->Online Laptime Verifier to analyse the lap further.");
    }
    const int64_t stored = lap.storedLapTime();
    if (std::llabs(stored - check.calculated) > 30) {
        return "MOVRN has detected the laptime for this lap might be incorrect\n\nLaptime stored in replay:" +
               lapTimeText(static_cast<uint32_t>(stored)) + "\nLaptime calculated by MOVRN:" +
               lapTimeText(static_cast<uint32_t>(check.calculated)) +
               "\nRun Tools->Online Laptime Verifier to analyse the lap further.";
    }
    return std::nullopt;
}

}  // namespace movrane
