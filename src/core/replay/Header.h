#pragma once

#include <cstdint>
#include <string>

namespace movrane {

// The header reader: checks a replay file and keeps the fields of its fixed part.
class Header {
public:
    enum Code { OK = 0, CANNOT_OPEN = 1, NO_SIZE = 2, NOT_A_REPLAY = 3 };

    // 0 success; 1 the file cannot be opened; 2 the size cannot be taken or is 0;
    // 3 the magic is wrong, the version is above 2, or the fixed part is incomplete.
    int load(const std::string& path);
    int code() const { return code_; }
    // Why load failed, in words a person can act on ("the file is not a replay", ...).
    const char* failureText() const;

    // The message a caller shows when load failed: the version-3 text when the refused
    // file's version byte is 3, the general text otherwise.
    const char* errorMessage() const;

    uint32_t version() const { return version_; }
    uint8_t versionByte() const { return static_cast<uint8_t>(version_ & 0xFF); }
    // "<1.2" for version 0, ">=1.2" otherwise.
    const char* versionText() const;
    uint32_t sizePlus12() const { return sizePlus12_; }
    uint32_t recordedFrames() const { return recordedFrames_; }
    uint32_t streamLengthField() const { return streamLengthField_; }
    uint16_t lastFrameLength() const { return lastFrameLength_; }
    uint32_t playerIndex() const { return playerIndex_; }
    const std::string& playerName1() const { return playerName1_; }
    const std::string& playerName2() const { return playerName2_; }
    const std::string& trackName() const { return trackName_; }
    const std::string& carSetName() const { return carSetName_; }
    uint8_t sessionKind() const { return sessionKind_; }
    // 0..5, or -1 for a training session.
    int64_t sessionType() const { return sessionType_; }
    const char* sessionTypeName() const;
    uint16_t count156() const { return count156_; }
    uint16_t scheduledLaps() const { return scheduledLaps_; }
    int difficulty() const { return difficulty_; }
    const char* difficultyName() const;

private:
    enum class Failure { None, CannotOpen, Empty, TooShort, NotAReplay, UnsupportedVersion };
    int fail(int code, Failure failure);

    int code_ = CANNOT_OPEN;
    Failure failure_ = Failure::CannotOpen;
    uint32_t version_ = 0;
    uint32_t sizePlus12_ = 0;
    uint32_t recordedFrames_ = 0;
    uint32_t streamLengthField_ = 0;
    uint16_t lastFrameLength_ = 0;
    uint32_t playerIndex_ = 0;
    std::string playerName1_;
    std::string playerName2_;
    std::string trackName_;
    std::string carSetName_;
    uint8_t sessionKind_ = 0;
    int64_t sessionType_ = 0;
    uint16_t count156_ = 0;
    uint16_t scheduledLaps_ = 0;
    int difficulty_ = 0;
};

const char* sessionTypeName(int64_t sessionType);
const char* difficultyName(int difficulty);

}  // namespace movrane
