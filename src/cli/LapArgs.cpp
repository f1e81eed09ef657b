#include "cli/LapArgs.h"

#include <cstdio>
#include <cstdlib>

#include "cli/ArgParsing.h"
#include "cli/OrvOption.h"
#include "core/library/Prefs.h"
#include "core/replay/Drivers.h"

namespace cli {

namespace {

const char* sessionName(movrane::Session s) { return s == movrane::RACE ? "race" : "practice"; }

// Why a named lap could not be loaded, when the reason lies in the numbers given: the reader's
// fixed message alone does not tell a mistyped driver or lap from a damaged replay.
void explainRefusedLap(const std::string& replay, const LapSpec& lap) {
    movrane::Drivers drivers;
    if (drivers.load(replay) != movrane::Drivers::OK) return;
    const std::string named = std::string("--lap ") + sessionName(lap.session) + ":" + std::to_string(lap.driver) +
                              ":" + std::to_string(lap.lap) + ": ";
    if (lap.driver >= drivers.count()) {
        std::fprintf(stderr, "%sthe replay has drivers 0 to %u\n", named.c_str(), drivers.count() - 1);
        return;
    }
    const int laps = drivers.lapCount(lap.driver, lap.session);
    if (laps == 0) {
        std::fprintf(stderr, "%sdriver %u has no %s laps\n", named.c_str(), lap.driver, sessionName(lap.session));
    } else if (lap.lap < 1 || lap.lap > laps) {
        std::fprintf(stderr, "%sdriver %u has %s laps 1 to %d\n", named.c_str(), lap.driver, sessionName(lap.session),
                     laps);
    } else if (!drivers.lapValid(lap.driver, lap.session, lap.lap)) {
        std::fprintf(stderr, "%sthe replay does not hold that lap's data ('movrane-cli laps' marks the laps it holds "
                             "with '*')\n", named.c_str());
    }
}

bool parseBounded(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 6) return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return value >= low && value <= high;
}

}  // namespace

std::optional<LapSpec> parseLapSpec(const std::string& text) {
    const auto first = text.find(':');
    const auto second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos) return std::nullopt;
    const std::string session = text.substr(0, first);
    long driver = 0, lap = 0;
    if ((session != "practice" && session != "race") ||
        !parseBounded(text.substr(first + 1, second - first - 1), 0, movrane::Drivers::INVALID_COUNT, driver) ||
        !parseBounded(text.substr(second + 1), 0, movrane::MAX_LAP_WORDS, lap)) {
        return std::nullopt;
    }
    return LapSpec{session == "race" ? movrane::RACE : movrane::PRACTICE, static_cast<uint32_t>(driver),
                   static_cast<int>(lap)};
}

bool takeLapSpecs(Args& args, std::vector<LapSpec>& laps, std::size_t most) {
    for (;;) {
        std::optional<std::string> text;
        if (!takeValue(args, "--lap", text)) {
            std::fprintf(stderr, "--lap needs SESSION:DRIVER:LAP\n");
            return false;
        }
        if (!text) return true;
        const auto lap = parseLapSpec(*text);
        if (!lap) {
            std::fprintf(stderr, "--lap %s: expected SESSION:DRIVER:LAP (SESSION practice or race)\n", text->c_str());
            return false;
        }
        if (laps.size() == most) {
            std::fprintf(stderr, "at most %zu laps can be named\n", most);
            return false;
        }
        laps.push_back(*lap);
    }
}

std::optional<movrane::DocumentSettings> documentSettings(const std::string& orvOverride) {
    const auto installation = chooseInstallation(orvOverride);
    if (!installation) return std::nullopt;
    movrane::DocumentSettings settings = movrane::DocumentSettings::fromPrefs(movrane::Prefs::get());
    settings.orvDirectory = installation->directory();
    return settings;
}

LoadedLaps::LoadedLaps() = default;

bool LoadedLaps::load(const std::string& replay, const std::vector<LapSpec>& laps,
                      const movrane::DocumentSettings& settings) {
    doc_.setSettings(settings);
    for (const LapSpec& lap : laps) {
        if (doc_.commandLineLoad(replay, lap.session, lap.driver, lap.lap) !=
            movrane::CZodEvadiDoc::LoadResult::Loaded) {
            explainRefusedLap(replay, lap);
            return false;
        }
    }
    return true;
}

}  // namespace cli
