#include "core/replay/TelemetryExport.h"

#include <cstdio>
#include <fstream>

#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

std::string telemetryFileName(const Drivers& drivers, const GetRpyInfo& lap, const std::string& trackName) {
    const DriverRecord& d = drivers.driver(lap.driverIndex());
    return d.name1.substr(0, 3) + "_" + d.name2.substr(0, 3) + "_" + trackName + "_" + carMakeName(d.carMake) + "_" +
           lapTimeText(lap.storedLapTime()) + ".txt";
}

std::string telemetryText(const GetRpyInfo& lap) {
    std::string text;
    char line[512];
    const int n = lap.sampleCount();
    std::snprintf(line, sizeof line, "%d, %d\n", n - 1, static_cast<int>(lap.storedLapTime()));
    text += line;
    text += "Longitude, Latitude, Gear, Rpm, Orientation, Roll, Pitch, Steering, Speed, Long Acc, Lat Acc, SlipAngle\n";
    for (int k = 1; k <= n - 1; ++k) {
        const LapSample& s = lap.sample(k);
        std::snprintf(line, sizeof line, "%f, %f, %d, %f, %f, %d, %d, %d, %f, %f, %f, %f\n", s.distance, s.lateral,
                      s.gear, s.engineSpeed, static_cast<double>(s.orientation), s.roll, s.pitch, s.steering, s.speed,
                      s.longAcc, s.latAcc, s.slipAngle);
        text += line;
    }
    return text;
}

bool writeTelemetryFile(const std::string& path, const GetRpyInfo& lap) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string text = telemetryText(lap);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace movrane
