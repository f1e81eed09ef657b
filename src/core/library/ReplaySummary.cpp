#include "core/library/ReplaySummary.h"

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace movrane {

namespace {

SessionLaps sessionLaps(const Drivers& drivers, uint32_t driver, Session s) {
    SessionLaps laps;
    if (drivers.driver(driver).slot >= MAX_SLOTS) return laps;
    laps.lastIndex = drivers.lapCount(driver, s);
    for (int lap = 0; lap <= laps.lastIndex; ++lap) {
        laps.words.push_back(drivers.lapWord(driver, s, lap));
        laps.valid.push_back(drivers.lapValid(driver, s, lap) ? 1 : 0);
    }
    return laps;
}

}  // namespace

HeaderPart headerPart(const Header& header) {
    HeaderPart part;
    part.version = header.version();
    part.sizePlus12 = header.sizePlus12();
    part.recordedFrames = header.recordedFrames();
    part.lastFrameLength = header.lastFrameLength();
    part.playerName1 = header.playerName1();
    part.playerName2 = header.playerName2();
    part.trackName = header.trackName();
    part.carSetName = header.carSetName();
    part.streamLengthField = header.streamLengthField();
    part.playerIndex = header.playerIndex();
    part.sessionType = static_cast<int32_t>(header.sessionType());
    part.scheduledLaps = header.scheduledLaps();
    part.count156 = header.count156();
    return part;
}

ReplaySummary summariseReplay(const Header& header, const Drivers& drivers) {
    ReplaySummary summary;
    summary.header = headerPart(header);
    summary.fileDate = drivers.fileDate();
    summary.lastFrameCounter = drivers.lastFrameCounter();
    summary.raceSessionId = drivers.raceSessionId();
    summary.practicePresent = drivers.practicePresent();
    summary.racePresent = drivers.racePresent();
    summary.streamLength = drivers.streamLength();
    summary.playerSlot = drivers.playerIndex();
    for (uint32_t i = 0; i < drivers.count(); ++i) {
        const DriverRecord& record = drivers.driver(i);
        DriverPart d;
        d.firstName = record.name1;
        d.lastName = record.name2;
        d.nationalityCode = record.nationalityCode;
        d.ai = record.ai;
        d.formulaClass = record.formulaClass;
        d.carMake = record.carMake;
        d.slot = record.slot;
        d.carNumber = record.carNumber;
        d.nationalityIndex = record.nationalityIndex;
        d.laps[PRACTICE] = sessionLaps(drivers, i, PRACTICE);
        d.laps[RACE] = sessionLaps(drivers, i, RACE);
        summary.drivers.push_back(std::move(d));
    }
    return summary;
}

}  // namespace movrane
