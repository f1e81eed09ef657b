#include "core/replay/TelemetryExport.h"

#include <cstdio>

#include "core/platform/Files.h"
#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapTimeText.h"

namespace movrane {

std::string lapFileStem(const Drivers& drivers, const GetRpyInfo& lap, const std::string& trackName) {
    const DriverRecord& d = drivers.driver(lap.driverIndex());
    return d.name1.substr(0, 3) + "_" + d.name2.substr(0, 3) + "_" + trackName + "_" + carMakeName(d.carMake) + "_" +
           lapTimeText(lap.storedLapTime());
}

std::string telemetryFileName(const Drivers& drivers, const GetRpyInfo& lap, const std::string& trackName) {
    return lapFileStem(drivers, lap, trackName) + ".txt";
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

namespace {

struct CsvColumn {
    const char* name;
    double (*value)(const LapSample&);
};

template <int W>
struct Wheel {
    static double state(const LapSample& s) { return s.wheelState[W]; }
    static double value(const LapSample& s) { return s.wheelValue[W]; }
    static double suspension(const LapSample& s) { return s.suspension[W]; }
    static double locked(const LapSample& s) { return s.locked[W]; }
};

const CsvColumn CSV_COLUMNS[] = {
    {"has data", [](const LapSample& s) { return s.hasData ? 1.0 : 0.0; }},
    {"lap position [raw]", [](const LapSample& s) { return double(s.lapPosition); }},
    {"lap distance [m]", [](const LapSample& s) { return s.distance; }},
    {"lateral offset [m]", [](const LapSample& s) { return s.lateral; }},
    {"gear", [](const LapSample& s) { return double(s.gear); }},
    {"engine speed [rpm]", [](const LapSample& s) { return s.engineSpeed; }},
    {"engine speed [raw]", [](const LapSample& s) { return double(s.engineSpeedRaw); }},
    {"ride height [m]", [](const LapSample& s) { return s.rideHeight; }},
    {"control value [0..1]", [](const LapSample& s) { return s.control; }},
    {"coarse control value [0..127]", [](const LapSample& s) { return double(s.coarseControl); }},
    {"orientation [1/4096 turn]", [](const LapSample& s) { return double(s.orientation); }},
    {"pitch [raw]", [](const LapSample& s) { return double(s.pitch); }},
    {"roll [raw]", [](const LapSample& s) { return double(s.roll); }},
    {"steering [raw; 127 = 20 deg]", [](const LapSample& s) { return double(s.steering); }},
    {"wheel state 1 [raw]", Wheel<0>::state},
    {"wheel state 2 [raw]", Wheel<1>::state},
    {"wheel state 3 [raw]", Wheel<2>::state},
    {"wheel state 4 [raw]", Wheel<3>::state},
    {"wheel value 1 [raw]", Wheel<0>::value},
    {"wheel value 2 [raw]", Wheel<1>::value},
    {"wheel value 3 [raw]", Wheel<2>::value},
    {"wheel value 4 [raw]", Wheel<3>::value},
    {"suspension 1 [raw]", Wheel<0>::suspension},
    {"suspension 2 [raw]", Wheel<1>::suspension},
    {"suspension 3 [raw]", Wheel<2>::suspension},
    {"suspension 4 [raw]", Wheel<3>::suspension},
    {"tyre squeal [raw]", [](const LapSample& s) { return double(s.tyreSqueal); }},
    {"oil pressure [raw]", [](const LapSample& s) { return double(s.oilPressure); }},
    {"oil temperature [raw]", [](const LapSample& s) { return s.oilTemperature; }},
    {"water temperature [raw]", [](const LapSample& s) { return s.waterTemperature; }},
    {"fuel pressure [raw]", [](const LapSample& s) { return double(s.fuelPressure); }},
    {"controls word [raw]", [](const LapSample& s) { return double(s.controlsWord); }},
    {"world x [map units]", [](const LapSample& s) { return double(s.worldX); }},
    {"world y [map units]", [](const LapSample& s) { return double(s.worldY); }},
    {"direction of motion [deg]", [](const LapSample& s) { return s.direction; }},
    {"slip angle [deg]", [](const LapSample& s) { return s.slipAngle; }},
    {"slip angle less steering [deg]", [](const LapSample& s) { return s.slipLessSteering; }},
    {"speed [km/h]", [](const LapSample& s) { return s.speed; }},
    {"car heading [deg]", [](const LapSample& s) { return s.heading; }},
    {"acceleration x [g]", [](const LapSample& s) { return s.accX; }},
    {"acceleration y [g]", [](const LapSample& s) { return s.accY; }},
    {"acceleration x mean [g]", [](const LapSample& s) { return s.accXMean; }},
    {"acceleration y mean [g]", [](const LapSample& s) { return s.accYMean; }},
    {"long acc [g]", [](const LapSample& s) { return s.longAcc; }},
    {"lat acc [g]", [](const LapSample& s) { return s.latAcc; }},
    {"long acc against motion [g]", [](const LapSample& s) { return s.longAccMotion; }},
    {"lat acc against motion [g]", [](const LapSample& s) { return s.latAccMotion; }},
    {"total acc [g]", [](const LapSample& s) { return s.totalAcc; }},
    {"locked wheel 1", Wheel<0>::locked},
    {"locked wheel 2", Wheel<1>::locked},
    {"locked wheel 3", Wheel<2>::locked},
    {"locked wheel 4", Wheel<3>::locked},
};

}  // namespace

std::string telemetryCsv(const GetRpyInfo& lap) {
    std::string text = "sample";
    for (const CsvColumn& c : CSV_COLUMNS) text += std::string(",") + c.name;
    text += "\n";
    char number[64];
    for (int k = 1; k <= lap.sampleCount(); ++k) {
        text += std::to_string(k);
        for (const CsvColumn& c : CSV_COLUMNS) {
            std::snprintf(number, sizeof number, ",%.10g", c.value(lap.sample(k)));
            text += number;
        }
        text += "\n";
    }
    return text;
}

bool writeTelemetryFile(const std::string& path, const GetRpyInfo& lap) {
    return writeFileAtomically(path, telemetryText(lap));
}

}  // namespace movrane
