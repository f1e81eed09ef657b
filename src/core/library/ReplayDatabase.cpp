#include "core/library/ReplayDatabase.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/replay/ByteOrder.h"

namespace movrane {

namespace {

constexpr std::size_t MAX_TEXT = 200;
constexpr std::size_t MAX_NAME = 15;
constexpr std::size_t MAX_CODE = 3;
constexpr std::size_t MAX_DRIVERS = 255;

void putU8(std::string& out, uint8_t v) { out += static_cast<char>(v); }
void putU16(std::string& out, uint16_t v) {
    putU8(out, static_cast<uint8_t>(v));
    putU8(out, static_cast<uint8_t>(v >> 8));
}
void putU32(std::string& out, uint32_t v) {
    putU16(out, static_cast<uint16_t>(v));
    putU16(out, static_cast<uint16_t>(v >> 16));
}
// A text cut to `max` characters and at its first zero byte, then terminated.
void putText(std::string& out, std::string_view text, std::size_t max) {
    text = text.substr(0, std::min(max, text.find('\0')));
    out += text;
    out += '\0';
}

void putLaps(std::string& out, const SessionLaps& laps, bool present) {
    if (!present || laps.lastIndex < 0) return;
    for (int32_t i = 0; i <= laps.lastIndex; ++i) {
        const auto at = static_cast<std::size_t>(i);
        putU32(out, at < laps.words.size() ? laps.words[at] : 0);
        putU8(out, at < laps.valid.size() ? laps.valid[at] : 0);
    }
}

// Reads fields in order; any read past the end or out of bounds fails this and every
// later read, so a cut record is recognised once at its end.
class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ >= bytes_.size(); }

    uint8_t u8() { return static_cast<uint8_t>(take(1) ? bytes_[pos_ - 1] : 0); }
    uint16_t u16() { return take(2) ? readU16LE(data(2)) : 0; }
    uint32_t u32() { return take(4) ? readU32LE(data(4)) : 0; }
    std::string text(std::size_t max) {
        if (!ok_) return {};
        const std::size_t end = bytes_.find('\0', pos_);
        if (end == std::string_view::npos || end - pos_ > max) return fail();
        std::string value(bytes_.substr(pos_, end - pos_));
        pos_ = end + 1;
        return value;
    }
    std::string fail() {
        ok_ = false;
        return {};
    }

private:
    bool take(std::size_t n) {
        if (!ok_ || bytes_.size() - pos_ < n) return ok_ = false;
        pos_ += n;
        return true;
    }
    const uint8_t* data(std::size_t n) const { return reinterpret_cast<const uint8_t*>(bytes_.data() + pos_ - n); }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

SessionLaps readLaps(FieldReader& in, int32_t lastIndex, bool present) {
    SessionLaps laps;
    laps.lastIndex = lastIndex;
    if (lastIndex >= MAX_LAP_WORDS) in.fail();
    if (!present || lastIndex < 0 || !in.ok()) return laps;
    for (int32_t i = 0; i <= lastIndex; ++i) {
        laps.words.push_back(in.u32());
        laps.valid.push_back(in.u8());
    }
    return laps;
}

std::optional<ReplaySummary> readRecord(FieldReader& in, uint8_t version) {
    ReplaySummary r;
    r.mediumPath = in.text(MAX_TEXT);
    HeaderPart& h = r.header;
    h.version = in.u32();
    h.sizePlus12 = in.u32();
    h.recordedFrames = in.u32();
    h.lastFrameLength = in.u16();
    h.playerName1 = in.text(MAX_TEXT);
    h.playerName2 = in.text(MAX_TEXT);
    h.trackName = in.text(MAX_TEXT);
    h.carSetName = in.text(MAX_TEXT);
    if (version >= 2) {
        h.streamLengthField = in.u32();
        h.playerIndex = in.u32();
        h.sessionType = static_cast<int32_t>(in.u32());
        const uint32_t laps = in.u32();
        h.scheduledLaps = static_cast<uint16_t>(laps);
        h.count156 = static_cast<uint16_t>(laps >> 16);
    }
    r.fileDate = in.text(MAX_NAME);
    r.lastFrameCounter = in.u32();
    const uint16_t count = in.u16();
    r.raceSessionId = in.u16();
    r.practicePresent = in.u32() == 1;
    r.racePresent = in.u32() == 1;
    r.streamLength = in.u32();
    r.playerSlot = in.u32();
    if (count > MAX_DRIVERS) in.fail();
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        DriverPart d;
        d.firstName = in.text(MAX_NAME);
        d.lastName = in.text(MAX_NAME);
        d.nationalityCode = in.text(MAX_CODE);
        d.ai = in.u8() != 0;
        if (version >= 2) d.formulaClass = in.u8();
        d.carMake = in.u32();
        d.slot = in.u32();
        d.carNumber = in.u32();
        d.nationalityIndex = in.u8();
        const auto lastPractice = static_cast<int32_t>(in.u32());
        const auto lastRace = static_cast<int32_t>(in.u32());
        d.laps[PRACTICE] = readLaps(in, lastPractice, r.practicePresent);
        d.laps[RACE] = readLaps(in, lastRace, r.racePresent);
        r.drivers.push_back(std::move(d));
    }
    if (!in.ok()) return std::nullopt;
    return r;
}

std::string stem(const std::string& path) {
    const std::string name = afterLastSeparator(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string encodeDatabaseStart(std::string_view mediumLabel, uint32_t fileCount, uint8_t version) {
    std::string out(CDDB_MAGIC);
    putU8(out, 0);
    putU8(out, version);
    putText(out, mediumLabel, MAX_TEXT);
    putU32(out, fileCount);
    return out;
}

std::string encodeDatabaseRecord(std::string_view mediumPath, const ReplaySummary& r, uint8_t version) {
    std::string out;
    putText(out, mediumPath, MAX_TEXT);
    const HeaderPart& h = r.header;
    putU32(out, h.version);
    putU32(out, h.sizePlus12);
    putU32(out, h.recordedFrames);
    putU16(out, h.lastFrameLength);
    for (const std::string* name : {&h.playerName1, &h.playerName2, &h.trackName, &h.carSetName})
        putText(out, *name, MAX_TEXT);
    if (version >= 2) {
        putU32(out, h.streamLengthField);
        putU32(out, h.playerIndex);
        putU32(out, static_cast<uint32_t>(h.sessionType));
        putU32(out, h.scheduledLaps | (static_cast<uint32_t>(h.count156) << 16));
    }
    putText(out, r.fileDate, MAX_NAME);
    putU32(out, r.lastFrameCounter);
    putU16(out, static_cast<uint16_t>(std::min(r.drivers.size(), MAX_DRIVERS)));
    putU16(out, r.raceSessionId);
    putU32(out, r.practicePresent ? 1 : 0);
    putU32(out, r.racePresent ? 1 : 0);
    putU32(out, r.streamLength);
    putU32(out, r.playerSlot);
    for (std::size_t i = 0; i < std::min(r.drivers.size(), MAX_DRIVERS); ++i) {
        const DriverPart& d = r.drivers[i];
        putText(out, d.firstName, MAX_NAME);
        putText(out, d.lastName, MAX_NAME);
        putText(out, d.nationalityCode, MAX_CODE);
        putU8(out, d.ai ? 1 : 0);
        if (version >= 2) putU8(out, d.formulaClass);
        putU32(out, d.carMake);
        putU32(out, d.slot);
        putU32(out, d.carNumber);
        putU8(out, d.nationalityIndex);
        putU32(out, static_cast<uint32_t>(d.laps[PRACTICE].lastIndex));
        putU32(out, static_cast<uint32_t>(d.laps[RACE].lastIndex));
        putLaps(out, d.laps[PRACTICE], r.practicePresent);
        putLaps(out, d.laps[RACE], r.racePresent);
    }
    return out;
}

DatabaseContents decodeDatabase(std::string_view bytes, const std::string& databaseName) {
    DatabaseContents db;
    FieldReader in(bytes);
    if (in.text(MAX_TEXT) != CDDB_MAGIC || !in.ok()) return db;
    db.magicOk = true;
    db.version = in.u8();
    db.mediumLabel = in.text(MAX_TEXT);
    db.fileCount = in.u32();
    if (!in.ok()) return db;
    while (!in.atEnd()) {
        auto record = readRecord(in, db.version);
        if (!record) break;
        record->fromDatabase = true;
        record->databaseName = databaseName;
        record->mediumLabel = db.mediumLabel;
        db.records.push_back(std::move(*record));
    }
    return db;
}

std::vector<std::string> listDatabaseFiles(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    std::filesystem::recursive_directory_iterator it(folder, ec);
    if (ec) return files;
    for (; it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        if (hasExtension(name, CDDB_EXTENSION) &&
            it->is_regular_file(ec))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

void ReplayDatabaseLoader::open(const std::string& folder) {
    *this = ReplayDatabaseLoader();
    files_ = listDatabaseFiles(folder);
}

bool ReplayDatabaseLoader::loadNextFile() {
    if (stopped_ || nextFile_ >= files_.size()) return false;
    const std::string& path = files_[nextFile_++];
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        records_.clear();
        nextRecord_ = 0;
        return true;
    }
    DatabaseContents db = decodeDatabase(bytes, stem(path));
    if (!db.magicOk) {
        stopped_ = true;
        return false;
    }
    records_ = std::move(db.records);
    nextRecord_ = 0;
    return true;
}

bool ReplayDatabaseLoader::next() {
    while (nextRecord_ >= records_.size()) {
        if (!loadNextFile()) return false;
    }
    current_ = std::move(records_[nextRecord_++]);
    return true;
}

}  // namespace movrane
