#pragma once

#include <cstdint>

namespace movrane {

// Chunk tags compared as little-endian words.
constexpr uint32_t TAG_YLPR = 0x52504c59;  // "YLPR": the whole file
constexpr uint32_t TAG_BTPL = 0x4c505442;  // "BTPL": race lap table
constexpr uint32_t TAG_PTPR = 0x52505450;  // "PTPR": record stream

constexpr uint32_t CHUNK_HEADER_SIZE = 12;
constexpr uint32_t FIXED_PART_SIZE = 296;
constexpr uint32_t DRIVER_LIST_OFFSET = 296;
constexpr uint32_t DRIVER_RECORDS_OFFSET = 308;
constexpr uint32_t DRIVER_RECORD_SIZE = 152;
constexpr uint32_t MAX_FORMAT_VERSION = 2;

constexpr int MAX_SLOTS = 20;
constexpr uint32_t SLOT_CODES = 64;  // the six slot bits of an other-car record
constexpr int MAX_LAP_WORDS = 150;  // the base word and up to 149 laps

constexpr double FRAME_MS = 27.777778;  // one frame is 1/36 second
constexpr int FRAMES_PER_SECOND = 36;

// Lap words: low 24 bits a time in ms, top 8 bits flags.
constexpr uint32_t LAP_TIME_MASK = 0x00FFFFFF;
constexpr uint32_t LAP_FLAG_INVALID = 1u << 28;
constexpr uint32_t LAP_FLAG_OFF_TRACK = 1u << 30;
constexpr uint32_t EMPTY_BASE_WORD = 0xCDCDCDCD;

enum Session : int { PRACTICE = 0, RACE = 1 };

}  // namespace movrane
