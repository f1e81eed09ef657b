#include "core/library/PersonalBestStore.h"

#include "core/library/Settings.h"
#include "core/platform/CRegistry.h"
#include "core/replay/ByteOrder.h"

namespace movrane {

namespace {

void putU8(std::string& out, uint8_t v) { out += static_cast<char>(v); }
void putU16(std::string& out, uint16_t v) {
    putU8(out, static_cast<uint8_t>(v));
    putU8(out, static_cast<uint8_t>(v >> 8));
}
void putU32(std::string& out, uint32_t v) {
    putU16(out, static_cast<uint16_t>(v));
    putU16(out, static_cast<uint16_t>(v >> 16));
}

void putCount(std::string& out, std::size_t count) {
    if (count < 0xFFFF) {
        putU16(out, static_cast<uint16_t>(count));
    } else {
        putU16(out, 0xFFFF);
        putU32(out, static_cast<uint32_t>(count));
    }
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    bool atEnd() const { return pos_ == bytes_.size(); }
    uint8_t u8() { return static_cast<uint8_t>(bytes_[pos_++]); }
    uint16_t u16() { return take<uint16_t>(2, readU16LE); }
    uint32_t u32() { return take<uint32_t>(4, readU32LE); }
    std::string text(std::size_t n) {
        std::string s(bytes_.substr(pos_, n));
        pos_ += n;
        return s;
    }
    // The element count; nothing when it is cut short.
    std::optional<std::size_t> count() {
        if (!has(2)) return std::nullopt;
        const uint16_t small = u16();
        if (small != 0xFFFF) return small;
        if (!has(4)) return std::nullopt;
        return u32();
    }
    std::optional<std::size_t> stringLength() {
        if (!has(1)) return std::nullopt;
        const uint8_t small = u8();
        if (small != 0xFF) return small;
        if (!has(2)) return std::nullopt;
        const uint16_t medium = u16();
        if (medium != 0xFFFF) return medium;
        if (!has(4)) return std::nullopt;
        return u32();
    }

private:
    template <class T, class F>
    T take(std::size_t n, F read) {
        const T v = read(reinterpret_cast<const uint8_t*>(bytes_.data() + pos_));
        pos_ += n;
        return v;
    }
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

}  // namespace

std::string serialiseStrings(const std::vector<std::string>& strings) {
    std::string out;
    putCount(out, strings.size());
    for (const std::string& s : strings) {
        if (s.size() < 0xFF) {
            putU8(out, static_cast<uint8_t>(s.size()));
        } else if (s.size() < 0xFFFF) {
            putU8(out, 0xFF);
            putU16(out, static_cast<uint16_t>(s.size()));
        } else {
            putU8(out, 0xFF);
            putU16(out, 0xFFFF);
            putU32(out, static_cast<uint32_t>(s.size()));
        }
        out += s;
    }
    return out;
}

std::string serialiseNumbers(const std::vector<uint32_t>& numbers) {
    std::string out;
    putCount(out, numbers.size());
    for (const uint32_t n : numbers) putU32(out, n);
    return out;
}

std::optional<std::vector<std::string>> parseStrings(std::string_view bytes) {
    Reader in(bytes);
    const auto count = in.count();
    if (!count) return std::nullopt;
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < *count; ++i) {
        const auto length = in.stringLength();
        if (!length || !in.has(*length)) return std::nullopt;
        strings.push_back(in.text(*length));
    }
    return strings;
}

std::optional<std::vector<uint32_t>> parseNumbers(std::string_view bytes) {
    Reader in(bytes);
    const auto count = in.count();
    if (!count || *count > bytes.size() / 4) return std::nullopt;
    std::vector<uint32_t> numbers;
    for (std::size_t i = 0; i < *count; ++i) {
        if (!in.has(4)) return std::nullopt;
        numbers.push_back(in.u32());
    }
    return numbers;
}

std::vector<StoredBestsRow> storedRowsOf(const RecordsTable& table) {
    std::vector<StoredBestsRow> rows;
    for (const RecordsRow& row : table.rows) {
        StoredBestsRow stored{row.shortName, {}};
        for (int car = 0; car < CAR_MAKE_COUNT; ++car) stored.best[car] = row.cars[car].best();
        rows.push_back(std::move(stored));
    }
    return rows;
}

bool storePersonalBests(const std::vector<StoredBestsRow>& rows) {
    std::vector<std::string> tracks;
    std::vector<uint32_t> times;
    for (const StoredBestsRow& row : rows) {
        tracks.push_back(row.shortName);
        times.insert(times.end(), row.best.begin(), row.best.end());
    }
    CRegistry key;
    if (!key.createKey(RootKey::CurrentUser, SETTINGS_KEY)) return false;
    const bool num = key.writeDword(PB_NUM, static_cast<uint32_t>(rows.size()));
    const bool names = key.writeBinary(PB_TRACKS, serialiseStrings(tracks));
    const bool bests = key.writeBinary(PB_TIMES, serialiseNumbers(times));
    return num && names && bests;
}

std::optional<std::vector<StoredBestsRow>> loadStoredPersonalBests() {
    CRegistry key;
    uint32_t count = 0;
    if (!key.openKey(RootKey::CurrentUser, SETTINGS_KEY) || !key.readDword(PB_NUM, count)) return std::nullopt;
    std::string trackBytes, timeBytes;
    key.readBinary(PB_TRACKS, trackBytes);
    key.readBinary(PB_TIMES, timeBytes);
    const auto tracks = parseStrings(trackBytes).value_or(std::vector<std::string>{});
    const auto times = parseNumbers(timeBytes).value_or(std::vector<uint32_t>{});
    std::vector<StoredBestsRow> rows;
    for (std::size_t i = 0; i < count && i < tracks.size() && (i + 1) * CAR_MAKE_COUNT <= times.size(); ++i) {
        StoredBestsRow row{tracks[i], {}};
        for (int car = 0; car < CAR_MAKE_COUNT; ++car) row.best[car] = times[i * CAR_MAKE_COUNT + car];
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace movrane
