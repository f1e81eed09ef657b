#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/ExportRecords.h"

namespace movrane {

// The personal bests the viewer keeps in the settings store between runs: per row the
// track's short name and each make's overall best.
struct StoredBestsRow {
    std::string shortName;
    std::array<uint32_t, CAR_MAKE_COUNT> best{};
};

inline constexpr const char* PB_NUM = "PB_num";
inline constexpr const char* PB_TRACKS = "PB_tracks";
inline constexpr const char* PB_TIMES = "PB_times";

// Serialised arrays: the element count as 16 bits (or 0xFFFF and 32 bits from 65535
// on); each string as a length byte (or 0xFF and 16 bits, or 0xFF 0xFFFF and 32
// bits) and its bytes; numbers little-endian 32-bit.
std::string serialiseStrings(const std::vector<std::string>& strings);
std::string serialiseNumbers(const std::vector<uint32_t>& numbers);
// Nothing when the bytes are cut short or hold more than they announce.
std::optional<std::vector<std::string>> parseStrings(std::string_view bytes);
std::optional<std::vector<uint32_t>> parseNumbers(std::string_view bytes);

std::vector<StoredBestsRow> storedRowsOf(const RecordsTable& table);
// Writes PB_num, PB_tracks and PB_times; false when a value could not be written.
bool storePersonalBests(const std::vector<StoredBestsRow>& rows);
// Nothing when PB_num is missing; rows that the stored values do not hold are left out.
std::optional<std::vector<StoredBestsRow>> loadStoredPersonalBests();

}  // namespace movrane
