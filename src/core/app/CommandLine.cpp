#include "core/app/CommandLine.h"

#include <climits>

namespace movrane {

namespace {
constexpr std::size_t TAG_LENGTH = 2;
constexpr std::size_t ARGUMENTS_PER_LAP = 4;
constexpr std::size_t FIRST_LAP_ARGUMENT = 3;
}  // namespace

std::string taggedValue(const std::string& arg) { return arg.size() > TAG_LENGTH ? arg.substr(TAG_LENGTH) : ""; }

int taggedNumber(const std::string& arg) {
    long long value = 0;
    for (char c : taggedValue(arg)) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

namespace {

StartRequest loadLaps(const std::vector<std::string>& args) {
    StartRequest request;
    request.mode = StartRequest::Mode::LoadLaps;
    request.announcedLaps = taggedNumber(args[2]);
    for (int i = 0; i < request.announcedLaps; ++i) {
        const std::size_t first = FIRST_LAP_ARGUMENT + ARGUMENTS_PER_LAP * static_cast<std::size_t>(i);
        if (first + ARGUMENTS_PER_LAP > args.size()) break;
        request.laps.push_back(
            {taggedValue(args[first]), taggedNumber(args[first + 1]), taggedNumber(args[first + 2]),
             taggedNumber(args[first + 3])});
    }
    return request;
}

StartRequest exportReports(const std::vector<std::string>& args) {
    StartRequest request;
    request.mode = StartRequest::Mode::ExportReports;
    request.replayPath = taggedValue(args[2]);
    if (args.size() > 3) request.prefix = taggedValue(args[3]);
    // "-mech" is looked at only when it is the last of exactly five arguments.
    request.withMechanical = args.size() == 5 && args[4] == "-mech";
    return request;
}

}  // namespace

std::string programUsage() {
    return "usage: movrane                      the main window\n"
           "       movrane REPLAY               opens the replay as \"Add replay lap...\" does, without the\n"
           "                                    file dialog\n"
           "       movrane -loadrpy -cN -fFILE -sS -dD -lL ...\n"
           "                                    loads N laps without any dialog (S 0 practice, 1 race;\n"
           "                                    D driver; L lap)\n"
           "       movrane -expreports -fREPLAY -oPREFIX [-mech]\n"
           "                                    writes the reports of REPLAY and quits; needs no display\n"
           "       movrane --help | --version   prints this text or the version\n";
}

std::string programVersion() { return "movrane " MOVRANE_VERSION "\n"; }

std::optional<std::string> missingLapsMessage(const StartRequest& request) {
    const auto given = static_cast<int>(request.laps.size());
    if (request.mode != StartRequest::Mode::LoadLaps || request.announcedLaps <= given) return std::nullopt;
    return "The command line announces " + std::to_string(request.announcedLaps) + " laps but gives the arguments of " +
           std::to_string(given) + "; " + std::to_string(request.announcedLaps - given) + " laps are not loaded.";
}

std::optional<Session> lapTableOf(const CommandLineLap& lap) {
    if (lap.session == PRACTICE) return PRACTICE;
    if (lap.session == RACE) return RACE;
    return std::nullopt;
}

std::string unknownSessionMessage(const CommandLineLap& lap) {
    return "The command line names session " + std::to_string(lap.session) + " for lap " + std::to_string(lap.lap) +
           " of driver " + std::to_string(lap.driver) + " in " + lap.replayPath +
           "; only 0 (practice) and 1 (race) exist, so that lap is not loaded.";
}

StartRequest parseCommandLine(const std::vector<std::string>& args) {
    StartRequest request;
    if (args.size() <= 2) {
        if (args.size() == 2 && args[1] == "--help") request.mode = StartRequest::Mode::ShowUsage;
        if (args.size() == 2 && args[1] == "--version") request.mode = StartRequest::Mode::ShowVersion;
        // A lone switch is no file to open.
        if (args.size() == 2 && !args[1].empty() && args[1][0] != '-') {
            request.mode = StartRequest::Mode::OpenReplay;
            request.replayPath = args[1];
        }
        return request;
    }
    if (args[1] == "-loadrpy") return loadLaps(args);
    if (args[1] == "-expreports") return exportReports(args);
    return request;
}

}  // namespace movrane
