// movrane-cli laps, telemetry and groove: the laps of a replay, and one lap loaded as the
// document loads it, written as telemetry text, CSV or a groove file.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/LapArgs.h"
#include "cli/Output.h"
#include "cli/OrvOption.h"
#include "cli/ReplayLookup.h"
#include "core/app/Chooselap.h"
#include "core/platform/Files.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/TelemetryExport.h"
#include "core/track/GrooveExport.h"
#include "core/track/Track.h"

namespace cli {

namespace {

using movrane::Chooselap;

struct LapRequest {
    std::string orv;
    std::string replay;
    LapSpec lap;
    std::string out;
};

bool parseNumber(const std::optional<std::string>& text, long low, long high, long& value) {
    if (!text || text->empty()) return false;
    char* end = nullptr;
    value = std::strtol(text->c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

// The lap as --session practice|race --driver INDEX --lap N.
bool takeSeparateLapOptions(Args& args, LapSpec& lap) {
    std::optional<std::string> session, driver, number;
    if (!takeValue(args, "--session", session) || !takeValue(args, "--driver", driver) ||
        !takeValue(args, "--lap", number)) {
        return false;
    }
    long driverIndex = 0, lapNumber = 0;
    if (!session || (*session != "practice" && *session != "race") ||
        !parseNumber(driver, 0, movrane::Drivers::INVALID_COUNT, driverIndex) ||
        !parseNumber(number, 0, movrane::MAX_LAP_WORDS, lapNumber)) {
        return false;
    }
    lap = {*session == "race" ? movrane::RACE : movrane::PRACTICE, static_cast<uint32_t>(driverIndex),
           static_cast<int>(lapNumber)};
    return true;
}

// The lap as one --lap SESSION:DRIVER:LAP, the replay as the last argument.
bool takeLapAndReplay(Args& args, std::optional<std::string>& replay, LapSpec& lap) {
    if (args.empty() || args.back().empty() || args.back().front() == '-') return false;
    replay = args.back();
    args.pop_back();
    std::vector<LapSpec> laps;
    if (!takeLapSpecs(args, laps, 1) || laps.empty()) return false;
    lap = laps.front();
    return true;
}

// Takes the options that name a lap, in either form (--replay tells the separate one);
// false when one is missing or malformed.
bool takeLapRequest(Args& args, LapRequest& request) {
    std::optional<std::string> replay, out;
    if (!takeOrvOption(args, request.orv) || !takeValue(args, "--replay", replay) || !takeValue(args, "--out", out) ||
        !out) {
        return false;
    }
    const bool named = replay ? takeSeparateLapOptions(args, request.lap) : takeLapAndReplay(args, replay, request.lap);
    if (!named) return false;
    request.replay = resolveReplay(*replay, request.orv);
    request.out = *out;
    return true;
}

bool parseGrooveSettings(Args& args, movrane::GrooveSettings& settings) {
    std::optional<std::string> resolution, way, accel, roll, width;
    if (!takeValue(args, "--resolution", resolution) || !takeValue(args, "--way", way) ||
        !takeValue(args, "--accel", accel) || !takeValue(args, "--roll", roll) || !takeValue(args, "--width", width)) {
        return false;
    }
    if (resolution) {
        const auto texts = movrane::GrooveSettings::resolutionTexts();
        settings.resolutionIndex = -1;
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == *resolution) settings.resolutionIndex = static_cast<int>(i);
        if (settings.resolutionIndex < 0) return false;
    }
    if (way) {
        if (*way != "new" && *way != "old") return false;
        settings.newWay = *way == "new";
    }
    if (accel && !movrane::GrooveSettings::parseFactor(*accel, settings.accelerationFactor)) return false;
    if (roll && !movrane::GrooveSettings::parseFactor(*roll, settings.rollFactor)) return false;
    if (width && !movrane::GrooveSettings::validWidth(*width)) {
        std::fprintf(stderr, "--width %s: the groove width must be a number of meters, such as 3.0\n", width->c_str());
        return false;
    }
    if (width) settings.widthText = *width;
    return true;
}

void printLapTree(const Chooselap& chooser) {
    const Chooselap::Information& i = chooser.information();
    std::printf("track: %s\ncar set: %s\nrecorded length: %s\nrelease: %s\npractice laps: %s\nrace laps: %s\n",
                i.trackName.c_str(), i.carSetName.c_str(), i.recordedLength.c_str(), i.release.c_str(),
                i.practiceLaps.c_str(), i.raceLaps.c_str());
    std::printf("difficulty: %s\nsession type: %s\ndrivers: %s\ncount: %s\nscheduled laps: %s\nsession kind: %s\n",
                i.difficulty.c_str(), i.sessionType.c_str(), i.drivers.c_str(), i.count156.c_str(),
                i.scheduledLaps.c_str(), i.sessionKind.c_str());
    for (const auto& driver : chooser.tree()) {
        std::printf("driver %u: %s\n", driver.driver, driver.text.c_str());
        for (const auto& session : driver.sessions) {
            std::printf("  %s\n", session.text.c_str());
            for (const auto& lap : session.laps) std::printf("  %s %s\n", lap.bold ? "*" : " ", lap.text.c_str());
        }
    }
}

}  // namespace

void printLapsUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli laps [--orv DIR] REPLAY\n"
                 "  prints the lap chooser's information and its tree of drivers and laps;\n"
                 "  laps whose data is in the replay are marked with '*'\n"
                 "  a REPLAY not found as given is looked up in DIR's replay folder\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read\n");
}

int runLaps(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    if (!takeOrvOption(args, orv) || args.size() != 1 || hasOption(args)) {
        printLapsUsage(stderr);
        return EXIT_USAGE;
    }
    ReplayReaders replay;
    if (!replay.load(resolveReplay(args[0], orv))) return EXIT_UNREADABLE;
    printLapTree(Chooselap(replay.header, replay.drivers));
    return EXIT_OK;
}

void printTelemetryUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli telemetry [--orv DIR] --lap SESSION:DRIVER:LAP --out OUTFILE [--csv] REPLAY\n"
                 "       movrane-cli telemetry --orv DIR --replay FILE --session practice|race --driver INDEX\n"
                 "                             --lap N --out OUTFILE [--csv]\n"
                 "  loads the lap as the program does (trimmed to the line, derived quantities when the\n"
                 "  track of DIR is found) and writes its telemetry text, or with --csv every channel\n"
                 "  as comma-separated values with a header row; the program's messages go to stderr\n"
                 "  SESSION practice or race, DRIVER the index in the driver table; OUTFILE \"-\" is\n"
                 "  standard output\n"
                 "  exit status: 0 success, 1 usage error, 2 the lap cannot be loaded (no file is\n"
                 "  written), 3 OUTFILE cannot be written\n");
}

int runTelemetry(const Args& arguments) {
    Args args = arguments;
    LapRequest request;
    const bool csv = takeFlag(args, "--csv");
    if (!takeLapRequest(args, request) || !args.empty()) {
        printTelemetryUsage(stderr);
        return EXIT_USAGE;
    }
    const auto settings = documentSettings(request.orv);
    if (!settings) return EXIT_UNREADABLE;
    LoadedLaps loaded;
    if (!loaded.load(request.replay, {request.lap}, *settings)) return EXIT_UNREADABLE;
    const auto& lap = *loaded.document().slot(0).lap;
    return writeOutput(request.out, csv ? movrane::telemetryCsv(lap) : movrane::telemetryText(lap));
}

void printGrooveUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli groove [--orv DIR] --lap SESSION:DRIVER:LAP [GROOVE OPTIONS] --out OUTFILE\n"
                 "                          REPLAY\n"
                 "       movrane-cli groove --orv DIR --replay FILE --session practice|race --driver INDEX\n"
                 "                          --lap N [GROOVE OPTIONS] --out OUTFILE\n"
                 "  GROOVE OPTIONS: [--resolution 0.5] [--way new|old] [--accel 100] [--roll 100]\n"
                 "                  [--width 3.0]\n"
                 "  writes the groove file of the lap: resolution 0.1 .. 2.0 metres in steps of 0.1,\n"
                 "  darkness from the total acceleration (new) or from acceleration and roll (old,\n"
                 "  with the factors 0..999 per cent), the width written as given; OUTFILE \"-\" is\n"
                 "  standard output\n"
                 "  exit status: 0 success, 1 usage error, 2 the lap or its track cannot be loaded,\n"
                 "  3 OUTFILE cannot be written\n");
}

int runGroove(const Args& arguments) {
    Args args = arguments;
    LapRequest request;
    movrane::GrooveSettings grooveSettings;
    if (!parseGrooveSettings(args, grooveSettings) || !takeLapRequest(args, request) || !args.empty()) {
        printGrooveUsage(stderr);
        return EXIT_USAGE;
    }
    const auto settings = documentSettings(request.orv);
    if (!settings) return EXIT_UNREADABLE;
    LoadedLaps loaded;
    if (!loaded.load(request.replay, {request.lap}, *settings) || !loaded.document().trackFound()) {
        return EXIT_UNREADABLE;
    }
    const auto& doc = loaded.document();
    return writeOutput(request.out, movrane::grooveText(*doc.slot(0).lap, doc.track()->lapLength(), grooveSettings));
}

}  // namespace cli
