#include <filesystem>
#include <system_error>

#include "core/library/PlayerIni.h"
#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/Profile.h"

namespace movrane {

namespace {

constexpr std::size_t NAME_BUFFER = 17;
constexpr std::size_t LAP_TIME_BUFFER = 50;
constexpr const char* NO_VALUE = "default";
constexpr const char* TEMP_SUFFIX = ".MOVRN";

// The text with every "from" replaced by "to", built in one pass (linear in the text).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(from, start)) != std::string_view::npos; start = pos + from.size())
        result.append(text.substr(start, pos - start)).append(to);
    return result.append(text.substr(start));
}

// The simulator writes "[ Section ]"; the profile reader wants "[Section]".
std::string repairSectionHeaders(std::string_view text) { return replaceAll(replaceAll(text, "[ ", "["), " ]", "]"); }

// The repaired copy beside player.ini; removed when it goes out of scope.
class TemporaryCopy {
public:
    TemporaryCopy(std::string path, const std::string& contents)
        : path_(std::move(path)), written_(writeFileAtomically(path_, contents)) {}
    // Removes only a copy that was written: a failed write leaves a foreign entry alone.
    ~TemporaryCopy() {
        std::error_code ignored;
        if (written_) std::filesystem::remove(path_, ignored);
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    bool written() const { return written_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool written_ = false;
};

SessionTime readSessionTime(const ProfileSnapshot& ini, const std::string& section, const std::string& key) {
    const std::string value = ini.getString(section, key, NO_VALUE, LAP_TIME_BUFFER);
    if (value == NO_VALUE) return {};
    const auto ms = lapTimeValueToMs(value);
    if (!ms) return {};
    return SessionTime{*ms, 0};
}

EventBests readEventBests(const ProfileSnapshot& ini, const std::string& track) {
    EventBests event;
    event.trackDirectory = track;
    if (track.empty() || !ini.hasSection(track)) return event;
    event.inPlayerIni = true;
    for (int car = 0; car < CAR_MAKE_COUNT; ++car) {
        for (int session = 0; session < BEST_SESSION_COUNT; ++session) {
            const std::string key = std::string(CAR_PREFIXES[car]) + BEST_SESSION_LETTERS[session];
            event.cars[car].sessions[session] = readSessionTime(ini, track, key);
        }
    }
    return event;
}

}  // namespace

std::string cleanPlayerName(std::string_view name) {
    std::string result(name);
    const std::size_t semicolon = result.find(';');
    if (semicolon == 0) result.clear();
    else if (semicolon != std::string::npos && semicolon > 1) result.resize(semicolon);
    while (!result.empty() && (result.back() == ' ' || result.back() == '\t')) result.pop_back();
    return result;
}

PlayerIni readPlayerIni(const std::string& path, const std::vector<std::string>* seasonTracks) {
    PlayerIni result;
    result.path = path;
    std::string text;
    if (!readWholeFile(path, text)) return result;
    const TemporaryCopy copy(path + TEMP_SUFFIX, repairSectionHeaders(text));
    if (!copy.written()) {
        result.status = PlayerIni::Status::CannotWriteTemp;
        return result;
    }
    const ProfileSnapshot ini(copy.path());
    result.names.firstName = cleanPlayerName(ini.getString("Personal Information", "firstName", NO_VALUE, NAME_BUFFER));
    result.names.lastName = cleanPlayerName(ini.getString("Personal Information", "lastName", NO_VALUE, NAME_BUFFER));
    if (seasonTracks) {
        for (const std::string& track : *seasonTracks) result.bests.push_back(readEventBests(ini, track));
    }
    result.status = PlayerIni::Status::Ok;
    return result;
}

}  // namespace movrane
