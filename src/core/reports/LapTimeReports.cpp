#include "core/reports/LapTimeReports.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "core/replay/BufferedFile.h"
#include "core/replay/FrameWalker.h"
#include "core/replay/ParseCarStructs.h"
#include "core/reports/FrameCars.h"
#include "core/reports/ReportText.h"

namespace movrane {

namespace {

constexpr double NEAR_LINE = 240000;  // raw units: 120 m
constexpr uint32_t START_LEAD_MS = 1050;
constexpr uint32_t END_MARGIN_MS = 30;
constexpr double FRAME_MS_EXACT = 27.777777777777778;
constexpr double RAW_PER_METRE = 2000;

// What one frame tells about the verified car: its raw lap position (0 without a record)
// and the time of a time stamp of the lap's session.
struct FrameLook {
    uint32_t position = 0;
    std::optional<uint32_t> stamp;
};

// A frame of the stream by its number from the first frame (0-based) and its offset.
struct StreamPlace {
    uint64_t index = 0;
    uint64_t offset = 0;
    uint32_t time = 0;  // of its counted stamp
};

// The walks of one verification over the stream of the driver table's replay.
class LapWindow {
public:
    LapWindow(BufferedFile& file, const Drivers& drivers, uint32_t driver, Session session, double lapLength)
        : walker_(file, drivers.streamOffset()),
          isPlayer_(drivers.isPlayer(driver)),
          slot_(drivers.driver(driver).slot),
          sessionId_(session == PRACTICE ? 0 : drivers.raceSessionId()),
          lapRaw_(lapLength * RAW_PER_METRE) {}

    // The start and end frame of the lap that began at session time lapStart and ended at lapEnd.
    bool find(uint64_t lapStart, uint64_t lapEnd);
    // The positions of frames 1..n from the start frame on, and the clock irregularities.
    void secondPass(LapVerification& result, std::vector<uint32_t>& positions);

private:
    // The frame's counted stamp, and the car's position unless only the stamp is wanted.
    FrameLook look(bool withPosition = true);
    std::optional<StreamPlace> firstStampAfter(uint64_t time, uint64_t fromIndex);
    void searchStartBackwards(const FrameLook& atStamp);
    bool searchEnd(uint64_t lapEnd);
    StreamPlace here(uint64_t index, uint32_t time) const { return {index, walker_.frame().offset, time}; }

    FrameWalker walker_;
    bool isPlayer_;
    uint32_t slot_;
    uint32_t sessionId_;
    double lapRaw_;
    StreamPlace stamp_;  // the first stamp of the lap
    StreamPlace start_;
    uint64_t end_ = 0;
};

FrameLook LapWindow::look(bool withPosition) {
    FrameLook frame;
    walker_.forEachItem([&](const StreamItem& item, const uint8_t* payload) {
        if (item.type == ITEM_TIME_STAMP) {
            const std::optional<uint32_t> word = payloadWord(item, payload);
            if (word && (*word & 0xFF) == sessionId_) frame.stamp = (*word >> 8) * 10;
        } else if (!withPosition) {
            return;
        } else if (item.type == ITEM_PLAYER_CAR && isPlayer_) {
            if (item.payloadLength() >= 4) frame.position = playerCarPosition(payload);
        } else if (item.type == ITEM_OTHER_CARS && !isPlayer_) {
            const uint8_t* end = payload + item.payloadLength() / OTHER_CAR_BYTES * OTHER_CAR_BYTES;
            for (const uint8_t* record = payload; record < end; record += OTHER_CAR_BYTES) {
                if (otherCarSlot(record) == slot_) {
                    frame.position = otherCarPosition(record);
                    break;
                }
            }
        }
    });
    return frame;
}

// The first counted stamp with a time above `time`, from frame `fromIndex` (the walker's
// next frame) on; the walker stays on its frame.
std::optional<StreamPlace> LapWindow::firstStampAfter(uint64_t time, uint64_t fromIndex) {
    for (uint64_t index = fromIndex; walker_.nextFrame(); ++index) {
        const FrameLook frame = look(false);
        if (frame.stamp && *frame.stamp > time) return here(index, *frame.stamp);
    }
    return std::nullopt;
}

bool LapWindow::find(uint64_t lapStart, uint64_t lapEnd) {
    // A stamp at most 1050 ms before the lap's start: t > S - 1050, written without underflow.
    for (uint64_t index = 0; walker_.nextFrame(); ++index) {
        const FrameLook stamp = look(false);
        if (stamp.stamp && lapStart < *stamp.stamp + START_LEAD_MS) {
            stamp_ = start_ = here(index, *stamp.stamp);
            if (!walker_.enterFrame(stamp_.offset)) return false;
            searchStartBackwards(look());
            return searchEnd(lapEnd);
        }
    }
    return false;
}

// The start frame must lie before the car crosses the line: when the car is already past
// it at the first stamp, the stamp before its approach (the last 120 m) is taken.
void LapWindow::searchStartBackwards(const FrameLook& atStamp) {
    FrameLook frame = atStamp;
    uint64_t index = start_.index;
    while (lapRaw_ - frame.position >= NEAR_LINE) {
        if (!walker_.previousFrame()) return;
        --index;
        frame = look();
    }
    if (index == start_.index) return;
    while (!frame.stamp) {
        if (!walker_.previousFrame()) return;
        --index;
        frame = look();
    }
    start_ = here(index, *frame.stamp);
}

// The end frame lies after the car crosses the line at the end of the lap.
bool LapWindow::searchEnd(uint64_t lapEnd) {
    if (!walker_.enterFrame(stamp_.offset)) return false;
    look(false);
    const std::optional<StreamPlace> begin = firstStampAfter(lapEnd + END_MARGIN_MS, stamp_.index + 1);
    if (!begin) return false;
    // The stamp's frame has been looked at; enter it again to read the position.
    if (!walker_.enterFrame(begin->offset)) return false;
    uint64_t index = begin->index;
    FrameLook frame = look();
    while (frame.position >= NEAR_LINE) {
        if (!walker_.nextFrame()) return false;
        ++index;
        frame = look();
    }
    if (index != begin->index) {
        while (!frame.stamp) {
            if (!walker_.nextFrame()) return false;
            ++index;
            frame = look();
        }
    }
    end_ = index;
    return end_ >= start_.index;
}

void LapWindow::secondPass(LapVerification& result, std::vector<uint32_t>& positions) {
    const uint64_t n = end_ + 2 - start_.index;
    positions.assign(n + 1, 0);
    if (!walker_.enterFrame(start_.offset)) return;
    int64_t previousTime = static_cast<int64_t>(start_.time) - 1000;
    int64_t previousFrame = 1 - FRAMES_PER_SECOND;
    for (uint64_t k = 1; k <= n; ++k) {
        if (k > 1 && !walker_.nextFrame()) break;
        const FrameLook frame = look();
        positions[k] = frame.position;
        if (!frame.stamp) continue;
        const int64_t t = *frame.stamp;
        const auto frameNumber = static_cast<int64_t>(k);
        if (t - previousTime != 1000) {
            result.correctionB += static_cast<double>(1000 - (t - previousTime));
            ++result.clockCorrections;
        }
        if (frameNumber - previousFrame != FRAMES_PER_SECOND) {
            result.correctionB += static_cast<double>(frameNumber - previousFrame - FRAMES_PER_SECOND) * FRAME_MS_EXACT;
            ++result.clockSmashes;
        }
        previousTime = t;
        previousFrame = frameNumber;
    }
}

// Method A: whole frames between the two crossings of the line plus the parts of the
// frames at the crossings, from the car's movement in the frames beside them. p[1..n].
// A crossing needs a record before it (a position of 0 is a frame without the car), and a
// part whose movement is not forward counts as 0 instead of dividing by it.
uint32_t methodA(const std::vector<uint32_t>& p, double lapRaw) {
    const int64_t n = static_cast<int64_t>(p.size()) - 1;
    int64_t s = 1;
    while (s + 1 <= n && !(p[s] != 0 && p[s + 1] <= p[s])) ++s;
    int64_t e = n;
    while (e >= 2 && !(p[e - 1] != 0 && p[e - 1] >= p[e])) --e;
    if (s + 3 > n || e < 3 || e <= s + 1) return 0;
    const double dS = p[s + 1] != 0 ? double(p[s + 2]) - double(p[s + 1]) : double(p[s + 3]) - double(p[s + 2]);
    const double dE = double(p[e - 1]) - double(p[e - 2]);
    const double startPart = dS > 0 ? double(p[s + 1]) / dS : 0;
    double remaining = lapRaw - double(p[e - 1]);
    if (std::fabs(remaining) > dE) remaining = dE;
    const double endPart = dE > 0 ? remaining / dE : 0;
    const double frames = double(e - s - 2) + startPart + endPart;
    const double ms = frames / FRAMES_PER_SECOND * 1000;
    return ms > 0 ? static_cast<uint32_t>(ms) : 0;
}

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// "A. Last" of a lap's driver.
std::string shortName(const ReportLap& lap) {
    const DriverRecord& d = lap.drivers->driver(lap.driver);
    return d.name1.substr(0, 1) + ". " + d.name2;
}

std::string fullName(const ReportLap& lap) {
    const DriverRecord& d = lap.drivers->driver(lap.driver);
    return d.name1 + " " + d.name2;
}

std::string formatNumber(const char* format, double value, std::size_t width) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return rightAlign(text, width);
}

}  // namespace

uint32_t LapVerification::methodB(uint32_t statedTime) const {
    return static_cast<uint32_t>(static_cast<int64_t>(statedTime) + static_cast<int64_t>(std::trunc(correctionB)));
}

LapVerification verifyLap(const Drivers& drivers, uint32_t driver, int lap, Session session, double lapLength) {
    LapVerification result;
    if (driver >= drivers.count() || lap < 1) return result;
    BufferedFile file;
    if (!file.open(drivers.fileName())) return result;
    const uint64_t lapStart = drivers.lapStartTime(driver, session, lap);
    const uint64_t lapEnd = lapStart + drivers.lapTime(driver, session, lap);
    LapWindow window(file, drivers, driver, session, lapLength);
    if (!window.find(lapStart, lapEnd)) return result;
    std::vector<uint32_t> positions;
    window.secondPass(result, positions);
    result.methodA = methodA(positions, lapLength * RAW_PER_METRE);
    return result;
}

void laptimeVerifierReport(const ReportLaps& laps, const ReportAppend& append) {
    append("ONLINE LAPTIME VERIFIER\r\n\r\n");
    std::array<std::string, 6> rows = {"Statistics                ", "Official time(from replay)",
                                       "Calculated time (method A)", "Calculated time (method B)",
                                       "Clock corrections         ", "Clock smashes             "};
    for (std::size_t i = 0; i < laps.laps.size(); ++i) {
        const ReportLap& lap = laps.laps[i];
        const uint32_t stated = lap.statedTime();
        const LapVerification v = verifyLap(*lap.drivers, lap.driver, lap.lap, lap.session, laps.lapLength);
        append("Lap " + std::to_string(i + 1) + ": " + formatTime(stated) + " - " + fullName(lap) + CRLF);
        rows[0] += "     Lap " + std::to_string(i + 1);
        rows[1] += rightAlign(formatTime(stated), 10);
        rows[2] += rightAlign(formatTime(v.methodA), 10);
        rows[3] += rightAlign(formatTime(v.methodB(stated)), 10);
        rows[4] += rightAlign(static_cast<uint64_t>(v.clockCorrections), 10);
        rows[5] += rightAlign(static_cast<uint64_t>(v.clockSmashes), 10);
    }
    std::string table = "\r\n\r\n";
    for (const std::string& row : rows) table += row + CRLF;
    append(table + CRLF);
    append("\r\nInformation"
           "\r\n==========="
           "\r\nDuring the development of this \"verifier\" we have not had enough bad replays to"
           "\r\nwork with. This means the results listed above might not detect all incorrect"
           "\r\nlaptimes, and maybe some correct laptimes are found to be incorrect. We will"
           "\r\ncontinue to improve this feature, so please contact us if you think you've found"
           "\r\na bug or some other \"strangeness\". We've concentrated on detecting incorrect"
           "\r\nlaptimes which are incorrect but still realistic."
           "\r\n\r\nMethod A should give the most reliable laptime estimate based on replay data."
           "\r\nHowever, if method B's laptime differs from both the replay and method A's"
           "\r\nlaptime something might be wrong with the official laptime."
           "\r\n\r\nIf a lap contains many clock corrections it probably means the connection to"
           "\r\nthe server was bad. The official laptime might still be OK though, specially if"
           "\r\nboth method A and B has the same laptime as the official laptime. Clock-smashes"
           "\r\non the other hand are likely to cause an incorrect laptime."
           "\r\n"
           "\r\nThis report is designed for use primarily for use on laps set by the same driver"
           "\r\nwho saved the replay."
           "\r\n"
           "\r\nGenerated with Movrane\r\n");
}

void sectorTimesReport(const ReportLaps& laps, const ReportAppend& append) {
    append("SECTOR TIMES\r\n\r\n");
    append("Lap                   Sector 1  Sector 2  Sector 3  Sector 4   Laptime\r\n");
    // A sector counts towards the best only when the lap passed both of its ends: a split
    // time of 0 (the lap never reached that quarter) makes its sectors meaningless.
    std::array<std::optional<uint32_t>, 4> best{};
    for (const ReportLap& lap : laps.laps) {
        const uint32_t total = lap.statedTime();
        const auto q = [&](int i) { return static_cast<uint32_t>(lap.samples->splitTimes[i]); };
        const std::array<uint32_t, 4> sectors = {q(0), q(1) - q(0), q(2) - q(1), total - q(2)};
        const std::array<bool, 4> known = {q(0) != 0, q(0) != 0 && q(1) != 0, q(1) != 0 && q(2) != 0, q(2) != 0};
        std::string line = padded(shortName(lap), 20);
        for (int i = 0; i < 4; ++i) {
            line += rightAlign(formatTime(sectors[i]), 10);
            if (known[i] && (!best[i] || sectors[i] < *best[i])) best[i] = sectors[i];
        }
        append(line + rightAlign(formatTime(total), 10) + CRLF);
    }
    uint32_t theoretical = 0;
    for (const auto& sector : best) theoretical += sector.value_or(0);
    append(CRLF);
    append("Theoretically fastest laptime from the above laps combined: " + formatTime(theoretical) + CRLF);
    append(std::string(CRLF) + REPORT_FOOTER);
}

void speedReport(const ReportLaps& laps, const ReportAppend& append) {
    static const char* const MAKES[] = {"Bra", "BRM", "Coo", "Eag", "Fer", "Lot", "Hon"};
    constexpr double MPH_PER_KMH = 0.6213722922;
    append("SPEED REPORT\r\n\r\n");
    append("                       ___________Topspeeds___________\r\n");
    append("Driver (car)           Sect1 Sect2 Sect3 Sect4 Overall Lowest Average   Laptime\r\n");
    const double lm = laps.lapLength;
    const std::array<double, 3> bounds = {0.25 * lm, 0.5 * lm, 0.75 * lm};
    const double unit = laps.mph ? MPH_PER_KMH : 1.0;
    for (const ReportLap& lap : laps.laps) {
        std::array<double, 4> top{};
        double lowest = 1000;
        std::size_t sector = 0;
        for (int k = 2; k < lap.samples->sampleCount(); ++k) {
            const LapSample& s = lap.samples->sample(k);
            while (sector < bounds.size() && s.distance >= bounds[sector]) ++sector;
            top[sector] = std::max(top[sector], s.speed);
            lowest = std::min(lowest, s.speed);
        }
        const double overall = *std::max_element(top.begin(), top.end());
        const uint32_t total = lap.statedTime();
        // A lap time of 0 has no average speed.
        const double average = total > 0 ? lm / (total / 1000.0) * 3.6 : 0;
        const uint32_t make = lap.drivers->driver(lap.driver).carMake;
        std::string line = padded(shortName(lap) + "(" + (make < 7 ? MAKES[make] : "???") + ")", 23);
        for (double t : top) line += formatNumber("%.1f", t * unit, 5) + " ";
        line += formatNumber("%.2f", overall * unit, 7) + " ";
        line += formatNumber("%.2f", lowest * unit, 6) + " ";
        line += formatNumber("%.3f", average * unit, 7);
        append(line + rightAlign(formatTime(total), 10) + CRLF);
    }
    append(CRLF);
    append(std::string(CRLF) + REPORT_FOOTER);
}

}  // namespace movrane
