#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/replay/ReplayLayout.h"

namespace movrane {

// One lap named on the command line after -loadrpy.
struct CommandLineLap {
    std::string replayPath;
    int session = 0;  // 0 practice/qualifying lap table, 1 race lap table
    int driver = 0;   // position in the replay's driver list
    int lap = 0;
};

// What the program was asked to do at start-up.
struct StartRequest {
    enum class Mode {
        Ordinary,       // empty window
        OpenReplay,     // one file argument: open it as the shell does
        LoadLaps,       // -loadrpy
        ExportReports,  // -expreports
        ShowUsage,      // --help as the only argument
        ShowVersion,    // --version as the only argument
    };
    Mode mode = Mode::Ordinary;
    std::string replayPath;  // OpenReplay and ExportReports
    // LoadLaps: the laps whose four arguments are all present, in argument order, and the
    // count the arguments announced. Laps announced without their arguments are not loaded;
    // the caller reports them (announcedLaps - laps.size()).
    std::vector<CommandLineLap> laps;
    int announcedLaps = 0;
    // ExportReports: the output prefix (empty when the argument is missing) and "-mech".
    std::string prefix;
    bool withMechanical = false;
};

// Reads the argument vector (argument 0 is the program). Tags of tagged arguments are any
// two characters and are not checked.
StartRequest parseCommandLine(const std::vector<std::string>& args);

// What `movrane --help` prints: the program's command-line forms.
std::string programUsage();
// What `movrane --version` prints.
std::string programVersion();

// The message for -loadrpy laps announced without their four arguments, shown once after
// the complete laps were loaded; nothing when every announced lap had its arguments.
std::optional<std::string> missingLapsMessage(const StartRequest& request);

// The lap table a -loadrpy lap's session names: 0 practice/qualifying, 1 race; nothing for
// any other number, whose lap is told (`unknownSessionMessage`) and not loaded.
std::optional<Session> lapTableOf(const CommandLineLap& lap);
std::string unknownSessionMessage(const CommandLineLap& lap);

// The value of a tagged argument: everything after its first two characters.
std::string taggedValue(const std::string& arg);
// The leading run of decimal digits of a tagged argument's value as a number (0 without
// digits; very long runs saturate).
int taggedNumber(const std::string& arg);

}  // namespace movrane
