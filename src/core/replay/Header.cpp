#include "core/replay/Header.h"

#include <cctype>

#include "core/replay/BufferedFile.h"
#include "core/replay/ByteOrder.h"
#include "core/replay/ReplayLayout.h"

namespace movrane {

namespace {
constexpr uint32_t FIELD_WIDTH = 16;
}

int Header::load(const std::string& path) {
    *this = Header();
    BufferedFile file(FIXED_PART_SIZE);
    if (!file.open(path)) return fail(CANNOT_OPEN, Failure::CannotOpen);
    if (file.size() == 0) return fail(NO_SIZE, Failure::Empty);

    uint8_t fixed[FIXED_PART_SIZE] = {};
    if (!file.readAt(0, fixed, 12)) return fail(NOT_A_REPLAY, Failure::TooShort);
    version_ = readU32LE(fixed + 4);  // taken before the checks: the caller's message depends on it
    if (readU32LE(fixed) != TAG_YLPR) return fail(NOT_A_REPLAY, Failure::NotAReplay);
    if (version_ > MAX_FORMAT_VERSION) return fail(NOT_A_REPLAY, Failure::UnsupportedVersion);
    if (!file.readAt(12, fixed + 12, 88) || !file.readAt(100, fixed + 100, 196))
        return fail(NOT_A_REPLAY, Failure::TooShort);
    file.close();

    sizePlus12_ = readU32LE(fixed + 8) + 12;
    recordedFrames_ = readU32LE(fixed + 40);
    streamLengthField_ = readU32LE(fixed + 44);
    lastFrameLength_ = readU16LE(fixed + 48);
    playerIndex_ = readU32LE(fixed + 52);
    playerName1_ = readFixedText(fixed + 56, FIELD_WIDTH);
    playerName2_ = readFixedText(fixed + 72, FIELD_WIDTH);
    trackName_ = readFixedText(fixed + 112, FIELD_WIDTH);
    for (char& c : trackName_) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    carSetName_ = readFixedText(fixed + 128, FIELD_WIDTH);
    sessionKind_ = fixed[225];
    sessionType_ = readU32LE(fixed + 148);
    if (sessionType_ == 0 && sessionKind_ == 1) sessionType_ = -1;
    count156_ = readU16LE(fixed + 156);
    scheduledLaps_ = sessionKind_ == 3 ? readU16LE(fixed + 247) : readU16LE(fixed + 239);
    difficulty_ = (fixed[169] >> 5) & 3;
    return fail(OK, Failure::None);
}

int Header::fail(int code, Failure failure) {
    failure_ = failure;
    return code_ = code;
}

const char* Header::failureText() const {
    switch (failure_) {
        case Failure::None: return "no failure";
        case Failure::CannotOpen: return "the file cannot be opened";
        case Failure::Empty: return "the file is empty";
        case Failure::TooShort: return "the file is too short for a replay header";
        case Failure::NotAReplay: return "the file is not a replay";
        case Failure::UnsupportedVersion: return "the replay's format version is not supported";
    }
    return "unknown failure";
}

const char* Header::errorMessage() const {
    return versionByte() == 3 ? "HeaderClass: Kelsun 4 replays not supported!" : "HeaderClass: Error reading file!";
}

const char* Header::versionText() const { return version_ == 0 ? "<1.2" : ">=1.2"; }

const char* Header::sessionTypeName() const { return movrane::sessionTypeName(sessionType_); }

const char* Header::difficultyName() const { return movrane::difficultyName(difficulty_); }

const char* sessionTypeName(int64_t sessionType) {
    static const char* const NAMES[] = {"Novice", "Int Short", "Int Long", "Pro Short", "Pro Long", "Grand Prix"};
    if (sessionType == -1) return "Training";
    if (sessionType >= 0 && sessionType <= 5) return NAMES[sessionType];
    return "Unknown";
}

const char* difficultyName(int difficulty) {
    static const char* const NAMES[] = {"None", "Novice", "Advanced", "Realistic"};
    return difficulty >= 0 && difficulty <= 3 ? NAMES[difficulty] : "Unknown";
}

}  // namespace movrane
