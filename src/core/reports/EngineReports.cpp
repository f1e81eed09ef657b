#include "core/reports/EngineReports.h"

#include <algorithm>
#include <cmath>

#include "core/replay/BufferedFile.h"
#include "core/replay/FrameWalker.h"
#include "core/reports/FrameCars.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr int LOTUS = 5;
constexpr int BRABHAM = 0;
constexpr int FERRARI = 4;
constexpr int HONDA = 6;
constexpr std::size_t SHIFT_LIST_SIZE = 200;
constexpr uint32_t PEAK_MINIMUM = 650;
constexpr double SPAN_MINIMUM_RPM = 2000;

// Upper bounds (exclusive) of the bands and their codes; a value at or above the last
// bound, and the value 0, give ENGINE_UNDETECTABLE.
struct Band {
    double below;
    int code;
};

template <std::size_t N>
int classify(double value, const Band (&bands)[N]) {
    if (value == 0) return ENGINE_UNDETECTABLE;
    for (const Band& band : bands) {
        if (value < band.below) return band.code;
    }
    return ENGINE_UNDETECTABLE;
}

constexpr Band BANDS_A[] = {{815, 9}, {871, 8}, {900, 0}, {909, 5}, {924, 2}, {934, 3}, {945, 4}, {952, 1}, {960, 6}};
constexpr Band BANDS_B[] = {{800, 9}, {853, 8}, {872, 0}, {896, 5}, {914, 2}, {925, 3}, {937, 4}, {944, 1}, {950, 6}};
constexpr Band BANDS_C[] = {{815, 9}, {871, 8}, {892, 0}, {909, 5}, {924, 2}, {934, 3}, {945, 4}, {952, 1}, {960, 6}};
constexpr Band BANDS_D[] = {{8000, 7},  {8700, 5},  {9050, 3},   {9200, 0},   {9400, 2},
                            {9500, 4},  {10000, 1}, {12000, 8},  {17500, 9}};

double engineRpm(uint32_t raw) { return std::tan(raw * 0.001288481) * 4131.182; }

double median(std::vector<uint32_t> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A Brabham result of tests B and C is a Lotus when the listed car is a Lotus.
int lotusRule(int code, uint32_t listedMake) { return code == BRABHAM && listedMake == LOTUS ? LOTUS : code; }

// Follows every car through the stream: highest engine speed, engine speed before up-shifts,
// highest local peak, and the player's engine speed range in rpm.
class EngineScan {
public:
    explicit EngineScan(const Drivers& drivers) : cars_(drivers), measured_(cars_.driverCount()) {}

    // Stops at the stream's end or where it is damaged (the walker tells which).
    void run(FrameWalker& walker) {
        while (walker.nextFrame()) {
            cars_.startFrame();
            while (walker.nextItem()) cars_.readItem(walker);
            if (walker.failed()) return;
            for (uint32_t d = 0; d < cars_.driverCount(); ++d) {
                if (cars_.seen(d)) follow(d, cars_.reading(d));
            }
        }
    }

    const EngineMeasurements& measured(uint32_t d) const { return measured_[d].m; }

private:
    struct Followed {
        EngineMeasurements m;
        uint32_t frames = 0;  // frames with a record of the car
        uint32_t before = 0;  // engine speed one and two records back
        uint32_t twoBefore = 0;
        int gear = 0;
    };

    void follow(uint32_t d, const CarReading& car) {
        Followed& f = measured_[d];
        EngineMeasurements& m = f.m;
        const uint32_t e = car.engineSpeed;
        m.highestRaw = std::max(m.highestRaw, e);
        if (f.frames > 0 && car.gear == f.gear + 1) {
            if (f.gear == 3 && m.beforeShiftTo4.size() < SHIFT_LIST_SIZE) m.beforeShiftTo4.push_back(f.before);
            if (f.gear == 4 && m.beforeShiftTo5.size() < SHIFT_LIST_SIZE) m.beforeShiftTo5.push_back(f.before);
        }
        // The record before is a peak when it is higher than the records on both sides.
        if (f.frames > 4 && f.before > f.twoBefore && f.before > e) m.highestPeak = std::max(m.highestPeak, f.before);
        if (cars_.player() == d) {
            const double rpm = engineRpm(e);
            m.highestRpm = m.rpmSeen ? std::max(m.highestRpm, rpm) : rpm;
            m.lowestRpm = m.rpmSeen ? std::min(m.lowestRpm, rpm) : rpm;
            m.rpmSeen = true;
        }
        f.twoBefore = f.before;
        f.before = e;
        f.gear = car.gear;
        ++f.frames;
    }

    FrameCars cars_;
    std::vector<Followed> measured_;
};

const char* const OPENING[] = {
    "Engine Detection Report\r\n\r\n",
    "Generated with Movrane\r\n\r\n",
    "This report will TRY to determine what engine each driver\r\n",
    "is using (there is a patch for engine swapping available).\r\n",
    "For most accurate results the report should be run on a replay\r\n",
    "saved by the server or an offline replay. Online replays not \r\n",
    "saved by the server will most likely give very false results.\r\n\r\n",
    "Drivers not maximizing the potential of the engine (ofter slower\r\n",
    "drivers) might also be detected to be using the wrong engine.\r\n",
    "If you consistantly are detected as using the wrong engine even\r\n",
    "though you don't you probably have time to gain by reviewing\r\n",
    "your driving style.\r\n\r\n",
    "Four different tests are made:\r\n",
    "Test A works best for fast hotlaps\r\n",
    "Test B works on both race and hotlaps\r\n",
    "Test C works best for race laps\r\n",
    "Test D is the most reliable, but only works on laps driven by\r\nthe local driver (the one who saved the replay)\r\n\r\n",
    "THIS DETECTION SHOULD BE TREATED AS A HINT OF WHAT ENGINE IS\r\n",
    "USED, NOT THE TRUTH!\r\n\r\n",
    "To make sure the reported engines are correct you need to\r\n",
    "make further manual checks on the replay in MOVRN or in Orv.\r\n\r\n",
    "Starting scan of replay file(this might take a while)...\r\n",
};

constexpr const char* NO_DATA = "No data to use in detection";
constexpr const char* NOT_ENOUGH_DATA = "Not enough data to use in detection";

}  // namespace

int classifyMethodA(double raw) { return classify(raw, BANDS_A); }
int classifyMethodB(double raw) { return classify(raw, BANDS_B); }
int classifyMethodC(double raw) { return classify(raw, BANDS_C); }
int classifyMethodD(double rpm) { return classify(rpm, BANDS_D); }

const char* engineResultText(int code) {
    static const char* const TEXTS[] = {"Brabham  ", "BRM      ",          "Cooper   ", "Eagle    ",
                                        "Ferrari  ", "Lotus    ",          "Honda    ", "Can't be detected ",
                                        "F2       ", "F3       ",          "Honda or Ferrari"};
    return code >= 0 && code <= ENGINE_HONDA_OR_FERRARI ? TEXTS[code] : TEXTS[ENGINE_UNDETECTABLE];
}

double EngineMeasurements::methodBValue() const {
    if (beforeShiftTo4.empty()) return median(beforeShiftTo5);
    if (beforeShiftTo5.empty()) return median(beforeShiftTo4);
    return (median(beforeShiftTo4) + median(beforeShiftTo5)) / 2;
}

EngineVerdicts engineVerdicts(const EngineMeasurements& m, uint32_t listedMake, bool player) {
    EngineVerdicts v;
    v.a = m.highestRaw == 0 ? NO_DATA : engineResultText(classifyMethodA(m.highestRaw));
    v.b = m.beforeShiftTo4.empty() && m.beforeShiftTo5.empty()
              ? NO_DATA
              : engineResultText(lotusRule(classifyMethodB(m.methodBValue()), listedMake));
    if (m.highestPeak == 0) {
        v.c = NO_DATA;
    } else if (m.highestPeak < PEAK_MINIMUM) {
        v.c = NOT_ENOUGH_DATA;
    } else {
        v.c = engineResultText(lotusRule(classifyMethodC(m.highestPeak), listedMake));
    }
    if (!player) {
        v.d = "This test only for local driver";
    } else if (m.highestRpm == 0 || m.highestRpm - m.lowestRpm < SPAN_MINIMUM_RPM) {
        v.d = NOT_ENOUGH_DATA;
    } else {
        int code = classifyMethodD(m.highestRpm);
        // The Ferrari and Honda rev alike; test C's own band tells them apart.
        if (code == FERRARI) {
            const int c = classifyMethodC(m.highestPeak);
            code = c == FERRARI ? FERRARI : c > HONDA ? ENGINE_HONDA_OR_FERRARI : HONDA;
        }
        v.d = engineResultText(code);
    }
    return v;
}

void engineDetectionReport(const ReportData& data, const ReportAppend& append) {
    for (const char* line : OPENING) append(line);
    BufferedFile file;
    if (!file.open(data.replayPath())) {
        append("Error opening file!\r\n");
        return;
    }
    FrameWalker walker(file, data.drivers().streamOffset());
    EngineScan scan(data.drivers());
    scan.run(walker);
    if (walker.failed()) {
        append("\r\nThe replay's record stream is damaged at file offset " + std::to_string(walker.failureOffset()) +
               " (" + walkStatusText(walker.status()) + ") - detection stopped there.\r\n");
    }
    const uint32_t count = std::min<uint32_t>(data.driverCount(), MAX_SLOTS);
    for (uint32_t d = 0; d < count; ++d) {
        const uint32_t make = data.drivers().driver(d).carMake;
        const EngineVerdicts v = engineVerdicts(scan.measured(d), make, data.drivers().isPlayer(d));
        append("\r\n\r\nListed car:                                          " + carMakeColumn(make) +
               "\r\nDetected engine method A(mainly for hotlaps):        " + v.a +
               "\r\nDetected engine method B(for hotlaps, partly races): " + v.b +
               "\r\nDetected engine method C(mainly for races):          " + v.c +
               "\r\nDetected engine method D(*only* for local driver):   " + v.d);
    }
    append(std::string("\r\n\r\n") + REPORT_FOOTER);
}

std::string modSetCar(int year, uint32_t make) {
    static const char* const CARS_1967[] = {"Brabham BT24 (1967) ", "BRM P83 (1967)      ", "Cooper T81 (1967)   ",
                                            "Eagle AAR104 (1967) ", "Ferrari 312 (1967)  ", "Lotus 49 (1967)     ",
                                            "Honda RA300 (1967)  "};
    static const char* const CARS_1965[] = {"Brabham BT11", "BRM P261", "Cooper T77", "Brabham BT7",
                                            "Ferrari 1512", "Lotus 33", "Honda RA272"};
    static const char* const CARS_1955[] = {"Vanwall (1955)      ", "Gordini (1955)      ", "Connaught (1955)    ",
                                            "Maserati 250F (1955)", "Ferrari 555 (1955)  ", "Lancia D50 (1955)   ",
                                            "Mercedes W196 (1955)"};
    if (make >= 7) return "Unknown Car and Year";
    if (year == 255) return CARS_1967[make];
    if (year == 1965) {
        std::string car = std::string(CARS_1965[make]) + " (1965)";
        car.resize(20, ' ');
        return car;
    }
    if (year == 1955) return CARS_1955[make];
    return "Unknown Car and Year";
}

void modSetReport(const ReportData& data, const ReportAppend& append) {
    append("Name                     Carmake(Year)        Car Class Formula  Engine Swapped Carset Version");
    append(CRLF);
    const uint32_t count = std::min<uint32_t>(data.driverCount(), MAX_SLOTS);
    for (uint32_t d = 0; d < count; ++d) {
        const DriverRecord& r = data.drivers().driver(d);
        std::string name = data.name(d);
        name.resize(25, ' ');
        const char* carClass = r.carClass == 255 ? "  Standard" : r.carClass == 1 ? "Grand Prix" : "   Unknown";
        static const char* const FORMULAS[] = {" Unknown", "      F1", "      F2", "      F3"};
        const char* formula = r.formulaClass >= 1 && r.formulaClass <= 3 ? FORMULAS[r.formulaClass] : FORMULAS[0];
        append(name + modSetCar(r.year, r.carMake) + carClass + formula + CRLF);
    }
    append(CRLF);
    append(REPORT_FOOTER);
}

}  // namespace movrane
