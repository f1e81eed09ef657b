#include "core/replay/Drivers.h"

#include <sys/stat.h>

#include <cstring>
#include <ctime>

#include "core/replay/BufferedFile.h"
#include "core/replay/ByteOrder.h"
#include "core/replay/Cars.h"

namespace movrane {

namespace {
constexpr uint32_t NAME_WIDTH = 16;
constexpr uint32_t LAP_ENTRY_FIXED = 8;  // slot and base time, counted in the entry size
constexpr uint32_t LAP_ENTRY_HEADER = CHUNK_HEADER_SIZE + LAP_ENTRY_FIXED;
constexpr char STANDARD_CAR_TEXT[] = "NOT APPLICABLE";

struct ChunkHeader {
    uint32_t tag = 0;
    uint32_t flags = 0;
    uint32_t size = 0;
};

bool readChunkHeader(BufferedFile& file, uint64_t offset, ChunkHeader& h) {
    uint8_t b[CHUNK_HEADER_SIZE];
    if (!file.readAt(offset, b, sizeof b)) return false;
    h.tag = readU32LE(b);
    h.flags = readU32LE(b + 4);
    h.size = readU32LE(b + 8);
    return true;
}

bool isStandardCarBlock(const uint8_t* block) {
    return std::memcmp(block, STANDARD_CAR_TEXT, sizeof STANDARD_CAR_TEXT) == 0;
}
}  // namespace

std::string formatFileDate(int64_t unixSeconds) {
    static const char* const MONTHS[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    if (!localtime_r(&t, &local)) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%04d %s %02d", local.tm_year + 1900, MONTHS[local.tm_mon % 12], local.tm_mday);
    return text;
}

const char* Drivers::failureText() const {
    switch (failure_) {
        case Failure::None: return "no failure";
        case Failure::CannotOpen: return "the file cannot be opened";
        case Failure::NoDriverList: return "the file ends before the driver list";
        case Failure::TooManyDrivers: return "the driver list is longer than the 64 cars a replay can hold";
        case Failure::DriverRecordsTruncated: return "the driver records run past the end of the file";
        case Failure::LapTableDamaged: return "a lap table is damaged";
        case Failure::StreamHeaderMissing: return "the record stream is missing";
        case Failure::StreamTruncated: return "the record stream is cut short";
        case Failure::StreamBadItemType: return "the record stream holds an item of an unknown type";
        case Failure::StreamDamaged: return "the record stream is damaged";
    }
    return "unknown failure";
}

void Drivers::reset() {
    const std::string keep = fileName_;
    *this = Drivers();
    fileName_ = keep;
}

bool Drivers::fail(Failure f) {
    failure_ = f;
    return false;
}

int Drivers::load(const std::string& path) {
    fileName_ = path;
    reset();
    if (!walk(path)) {
        count_ = INVALID_COUNT;
        records_.clear();
        return code_ = FAILED;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) fileDate_ = formatFileDate(st.st_mtime);
    useSingleTableAsRace();
    computeValidity();
    return code_ = OK;
}

bool Drivers::walk(const std::string& path) {
    BufferedFile file;
    if (!file.open(path)) return fail(Failure::CannotOpen);

    uint32_t playerIndex = 0;
    ChunkHeader driverList;
    if (!file.readU16At(48, lastFrameLength_) || !file.readU32At(52, playerIndex) ||
        !readChunkHeader(file, DRIVER_LIST_OFFSET, driverList)) {
        return fail(Failure::NoDriverList);
    }
    playerIndex_ = playerIndex;

    const uint64_t recordCount = driverList.size / DRIVER_RECORD_SIZE;
    if (recordCount > MAX_DRIVERS) return fail(Failure::TooManyDrivers);
    if (!file.contains(DRIVER_RECORDS_OFFSET, recordCount * DRIVER_RECORD_SIZE)) {
        return fail(Failure::DriverRecordsTruncated);
    }
    std::vector<uint8_t> raw(recordCount * DRIVER_RECORD_SIZE);
    uint8_t headerNames[2 * NAME_WIDTH];
    if (!file.readAt(DRIVER_RECORDS_OFFSET, raw.data(), raw.size()) ||
        !file.readAt(56, headerNames, sizeof headerNames)) {
        return fail(Failure::DriverRecordsTruncated);
    }
    count_ = static_cast<uint32_t>(recordCount);
    decodeRecords(raw);
    checkPlayer(headerNames);

    // Behind the drivers: the stream, or up to two lap tables and then the stream.
    const uint64_t d = DRIVER_RECORDS_OFFSET + uint64_t{driverList.size};
    ChunkHeader first;
    if (!readChunkHeader(file, d, first)) return fail(Failure::StreamHeaderMissing);
    uint64_t stream = d;
    if (first.tag != TAG_PTPR) {
        if (first.size > 0) {
            if (!readLapTable(file, d + CHUNK_HEADER_SIZE, first.size, PRACTICE)) return false;
            practicePresent_ = true;
        }
        const uint64_t p = d + CHUNK_HEADER_SIZE + first.size;
        ChunkHeader atP;
        if (!readChunkHeader(file, p, atP)) return fail(Failure::StreamHeaderMissing);
        // An unnamed chunk may stand between the two tables. A header that does not lie
        // wholly inside the file is no race table.
        uint64_t candidate = p;
        ChunkHeader behind;
        const uint64_t behindOffset = p + CHUNK_HEADER_SIZE + atP.size;
        if (readChunkHeader(file, behindOffset, behind) && behind.tag == TAG_BTPL) candidate = behindOffset;
        ChunkHeader atCandidate;
        if (!readChunkHeader(file, candidate, atCandidate)) return fail(Failure::StreamHeaderMissing);
        stream = candidate;
        if (atCandidate.tag == TAG_BTPL) {
            if (!readLapTable(file, candidate + CHUNK_HEADER_SIZE, atCandidate.size, RACE)) return false;
            racePresent_ = true;
            stream = candidate + CHUNK_HEADER_SIZE + atCandidate.size;
        }
    }
    streamOffset_ = stream;
    if (!file.readU32At(stream + 8, streamLength_)) return fail(Failure::StreamHeaderMissing);
    if (!scanForward(file) || !scanBackward(file)) return false;
    if (practiceEnd_ == 0 && practiceStart_ > 0) practiceEnd_ = 0xFFFFFFFF;
    return true;
}

// Reads the lap entries of a table into the slot tables of a session. An entry of a slot
// beyond the table is skipped, and stamps beyond the table's 149 laps are dropped, so the
// rest of the file stays usable; an entry that does not fit its table is damage.
bool Drivers::readLapTable(BufferedFile& file, uint64_t tableOffset, uint32_t size, Session s) {
    const uint64_t tableEnd = tableOffset + size;
    if (!file.contains(tableOffset, size)) return fail(Failure::LapTableDamaged);
    auto& table = tables_[s];
    for (auto& slot : table) slot.words[0] = EMPTY_BASE_WORD;

    uint64_t entry = tableOffset;
    std::vector<uint8_t> stamps;
    while (entry < tableEnd) {
        uint8_t head[LAP_ENTRY_HEADER];
        if (entry + LAP_ENTRY_HEADER > tableEnd || !file.readAt(entry, head, sizeof head)) {
            return fail(Failure::LapTableDamaged);
        }
        const uint32_t entrySize = readU32LE(head + 8);
        if (entrySize < LAP_ENTRY_FIXED || entry + CHUNK_HEADER_SIZE + entrySize > tableEnd) {
            return fail(Failure::LapTableDamaged);
        }
        const uint32_t slot = readU32LE(head + 12);
        const uint32_t baseTime = readU32LE(head + 16);
        const uint64_t lapCount = (entrySize - LAP_ENTRY_FIXED) / 4;
        if (slot < MAX_SLOTS) {
            SlotLaps& laps = table[slot];
            const int kept = static_cast<int>(std::min<uint64_t>(lapCount, MAX_LAP_WORDS - 1));
            stamps.resize(static_cast<std::size_t>(kept) * 4);
            if (!file.readAt(entry + LAP_ENTRY_HEADER, stamps.data(), stamps.size())) {
                return fail(Failure::LapTableDamaged);
            }
            laps.lapCount = kept;
            laps.words[0] = baseTime;
            uint32_t previous = baseTime & LAP_TIME_MASK;
            for (int k = 1; k <= kept; ++k) {
                const uint32_t stamp = readU32LE(stamps.data() + (k - 1) * 4);
                const uint32_t time = stamp & LAP_TIME_MASK;
                laps.words[k] = ((time - previous) & LAP_TIME_MASK) | (stamp & ~LAP_TIME_MASK);
                previous = time;
            }
        }
        entry += CHUNK_HEADER_SIZE + uint64_t{entrySize};
    }
    return true;
}

bool Drivers::walkFailed(const FrameWalker& walker) {
    switch (walker.status()) {
        case WalkStatus::ForbiddenItemType: return fail(Failure::StreamBadItemType);
        case WalkStatus::Truncated: return fail(Failure::StreamTruncated);
        default: return fail(Failure::StreamDamaged);
    }
}

// The first time stamp of the file opens the practice or the race window.
bool Drivers::scanForward(BufferedFile& file) {
    FrameWalker walker(file, streamOffset_);
    while (walker.nextFrame()) {
        while (walker.nextItem()) {
            if (walker.item().type != ITEM_TIME_STAMP) continue;
            uint32_t word = 0;
            if (!walker.readPayloadU32(0, word)) return fail(Failure::StreamDamaged);
            const uint32_t time = (word >> 8) * 10;
            if ((word & 0xFF) == 0) {
                practiceStart_ = time;
            } else {
                raceStart_ = time;
            }
            return true;
        }
        if (walker.failed()) return walkFailed(walker);
    }
    return !walker.failed() || walkFailed(walker);
}

// From the last frame backwards to the last time stamp: it closes the practice or the race
// window. The last frame counter met on the way is kept.
bool Drivers::scanBackward(BufferedFile& file) {
    FrameWalker walker(file, streamOffset_);
    if (walker.streamEnd() == walker.firstFrameOffset()) return true;  // no frames at all
    if (walker.firstFrameOffset() + walker.declaredLength() > file.size()) return fail(Failure::StreamTruncated);
    if (lastFrameLength_ > file.size() || !walker.enterFrame(file.size() - lastFrameLength_) ||
        walker.frame().length != lastFrameLength_) {
        return fail(Failure::StreamDamaged);
    }
    bool counterKept = false;
    do {
        bool windowClosed = false;
        while (walker.nextItem()) {
            const uint16_t type = walker.item().type;
            if (type != ITEM_TIME_STAMP && type != ITEM_FRAME_COUNTER) continue;
            uint32_t word = 0;
            if (!walker.readPayloadU32(0, word)) return fail(Failure::StreamDamaged);
            if (type == ITEM_FRAME_COUNTER) {
                if (!counterKept) lastFrameCounter_ = word;
                counterKept = true;
            } else if ((word & 0xFF) != 0) {
                raceEnd_ = (word >> 8) * 10;
                raceSessionId_ = static_cast<uint8_t>(word & 0xFF);
                windowClosed = true;
            } else {
                practiceEnd_ = (word >> 8) * 10;
                windowClosed = true;
            }
        }
        if (walker.failed()) return walkFailed(walker);
        if (windowClosed) return true;
    } while (walker.previousFrame());
    return !walker.failed() || walkFailed(walker);
}

void Drivers::decodeRecords(const std::vector<uint8_t>& raw) {
    records_.resize(count_);
    for (uint32_t i = 0; i < count_; ++i) {
        const uint8_t* r = raw.data() + uint64_t{i} * DRIVER_RECORD_SIZE;
        DriverRecord& d = records_[i];
        d.nationalityIndex = r[48];
        d.nationalityCode = nationalityCode(r[48]);
        d.name1 = readFixedText(r + 12, NAME_WIDTH);
        d.name2 = readFixedText(r + 28, NAME_WIDTH);
        d.ai = r[84] == 'A' && r[85] == 'I';
        d.carMake = readU32LE(r + 120);
        d.formulaClass = r[124];
        d.keptValue = readU32LE(r + 128);
        d.slot = readU32LE(r + 136);
        d.carNumber = readU32LE(r + 140);
        d.standardCar = isStandardCarBlock(r + 52);
        if (d.standardCar) {
            d.carClass = d.modA = d.modB = 255;
            d.year = 255;
            d.modC.fill(255);
        } else {
            d.carClass = r[52];
            d.year = static_cast<int8_t>(r[53]) + 1885;
            d.modA = r[54];
            d.modB = r[55];
            std::memcpy(d.modC.data(), r + 57, d.modC.size());
        }
    }
}

// The header names the player; when the record at the header's index has other names,
// the last record with the header's names is the player.
void Drivers::checkPlayer(const uint8_t* headerNames) {
    const std::string name1 = readFixedText(headerNames, NAME_WIDTH);
    const std::string name2 = readFixedText(headerNames + NAME_WIDTH, NAME_WIDTH);
    auto matches = [&](const DriverRecord& d) { return d.name1 == name1 && d.name2 == name2; };
    if (playerIndex_ < count_ && matches(records_[playerIndex_])) {
        playerMismatch_ = false;
        return;
    }
    playerMismatch_ = true;
    for (uint32_t i = 0; i < count_; ++i) {
        if (matches(records_[i])) playerIndex_ = i;
    }
}

// A file with one lap table whose stream has race time stamps holds a race: its table
// is the race table and the practice session has no laps.
void Drivers::useSingleTableAsRace() {
    if (racePresent_ || !practicePresent_ || raceStart_ == 0) return;
    tables_[RACE] = tables_[PRACTICE];
    tables_[PRACTICE] = {};
    practicePresent_ = false;
    racePresent_ = true;
}

void Drivers::computeValidity() {
    for (int s = PRACTICE; s <= RACE; ++s) {
        const Session session = static_cast<Session>(s);
        auto& perDriver = valid_[s];
        perDriver.assign(count_, {});
        for (uint32_t i = 0; i < count_; ++i) {
            const int laps = lapCount(i, session);
            if (records_[i].slot >= MAX_SLOTS) continue;
            perDriver[i].resize(static_cast<std::size_t>(laps) + 1);
            for (int k = 0; k <= laps; ++k) {
                const bool flaggedInvalid = (lapWord(i, session, k) & LAP_FLAG_INVALID) != 0;
                perDriver[i][k] = !flaggedInvalid && lapStartTime(i, session, k) > windowStart(session) &&
                                  lapEndTime(i, session, k) < windowEnd(session);
            }
        }
    }
}

int Drivers::lapCount(uint32_t driverIndex, Session s) const {
    if (driverIndex >= records_.size()) return 0;
    const uint32_t slot = records_[driverIndex].slot;
    return slot < MAX_SLOTS ? tables_[s][slot].lapCount : 0;
}

uint32_t Drivers::lapWord(uint32_t driverIndex, Session s, int lap) const {
    if (lap < 0 || lap > lapCount(driverIndex, s) || driverIndex >= records_.size()) return 0;
    const uint32_t slot = records_[driverIndex].slot;
    return slot < MAX_SLOTS ? tables_[s][slot].words[lap] : 0;
}

uint64_t Drivers::lapEndTime(uint32_t driverIndex, Session s, int lap) const {
    uint64_t end = 0;
    for (int k = 0; k <= lap; ++k) end += lapTime(driverIndex, s, k);
    return end;
}

uint64_t Drivers::lapStartTime(uint32_t driverIndex, Session s, int lap) const {
    return lapEndTime(driverIndex, s, lap) - lapTime(driverIndex, s, lap);
}

bool Drivers::lapValid(uint32_t driverIndex, Session s, int lap) const {
    if (driverIndex >= valid_[s].size()) return false;
    const auto& flags = valid_[s][driverIndex];
    return lap >= 0 && static_cast<std::size_t>(lap) < flags.size() && flags[lap];
}

}  // namespace movrane
