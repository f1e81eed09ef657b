#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/replay/ReplayLayout.h"

namespace movrane {

class Drivers;
class Header;

// What the replay library keeps of a replay's header: the fields a CD database carries.
struct HeaderPart {
    uint32_t version = 0;
    uint32_t sizePlus12 = 0;
    uint32_t recordedFrames = 0;
    uint16_t lastFrameLength = 0;
    std::string playerName1;
    std::string playerName2;
    std::string trackName;
    std::string carSetName;
    // Carried by version-2 databases only.
    uint32_t streamLengthField = 0;
    uint32_t playerIndex = 0;
    int32_t sessionType = 0;
    uint16_t scheduledLaps = 0;
    uint16_t count156 = 0;
};

// The lap words 0..lastIndex of one driver and session with their validity flags;
// lastIndex -1 when the driver has no lap table entry.
struct SessionLaps {
    int32_t lastIndex = -1;
    std::vector<uint32_t> words;
    std::vector<uint8_t> valid;
};

struct DriverPart {
    std::string firstName;
    std::string lastName;
    std::string nationalityCode;
    bool ai = false;
    uint8_t formulaClass = 0;
    uint32_t carMake = 0;
    uint32_t slot = 0;
    uint32_t carNumber = 0;
    uint8_t nationalityIndex = 0;
    std::array<SessionLaps, 2> laps;  // indexed by Session
};

// One replay as the lap finder and the records collector see it, whether it was read
// from a file or from a record of a CD database.
struct ReplaySummary {
    HeaderPart header;
    std::string fileDate;
    uint32_t lastFrameCounter = 0;
    uint16_t raceSessionId = 0;
    bool practicePresent = false;
    bool racePresent = false;
    uint32_t streamLength = 0;
    uint32_t playerSlot = 0;  // position of the player's record; may be outside the list
    std::vector<DriverPart> drivers;

    // Set for a record of a CD database: its name (the file name without extension,
    // which is the CD's name), the replay's path on the medium and the medium label.
    bool fromDatabase = false;
    std::string databaseName;
    std::string mediumPath;
    std::string mediumLabel;

    const SessionLaps& laps(std::size_t driver, Session s) const { return drivers[driver].laps[s]; }
};

HeaderPart headerPart(const Header& header);
// The summary of a replay whose header and driver table were read.
ReplaySummary summariseReplay(const Header& header, const Drivers& drivers);

}  // namespace movrane
