// movrane-cli report KIND REPLAY and movrane-cli export REPLAY... --prefix PREFIX.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/LapArgs.h"
#include "cli/Output.h"
#include "cli/ReplayLookup.h"
#include "core/app/ExportReports.h"
#include "core/app/ReportCommands.h"
#include "core/platform/Paths.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "core/reports/ReportFiles.h"
#include "core/reports/ReportText.h"

namespace cli {

namespace {

using movrane::Drivers;
using movrane::Header;
using movrane::Report;
using movrane::ReportKind;

// The guard of a kind that needs loaded laps; null when the laps given are enough.
const char* missingLapMessage(ReportKind kind, bool lapsGiven) {
    if (lapsGiven) return nullptr;
    if (Report::isLapBased(kind)) return movrane::NO_LAP_LOADED_MESSAGE;
    if (kind == ReportKind::DetailedRace) return movrane::DETAILED_NEEDS_LAP_MESSAGE;
    return nullptr;
}

}  // namespace

void printReportUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli report KIND [--orv DIR] [--lap SESSION:DRIVER:LAP]... [--out FILE]\n"
                 "                          [--retire] [--offtrack] REPLAY\n"
                 "  prints one report of a replay (lines end in \"\\n\"), or writes it to FILE (\"-\" is\n"
                 "  standard output)\n"
                 "  KIND: practice, race, lapchart, lapbylap, complete, mechanical, engines,\n"
                 "        modset, detailed, verify, sectors, speed\n"
                 "  --lap       a lap of REPLAY loaded as the desktop loads it (SESSION practice or\n"
                 "              race, DRIVER the index in the driver table), up to five; verify,\n"
                 "              sectors and speed run on these laps, detailed needs one\n"
                 "  --retire    show the retirement reasons in the race report (RetireInRaceReport)\n"
                 "  --offtrack  write the off-the-track lines of the lap-by-lap report\n"
                 "              (OffTheTrackInRaceReport); without these the preferences decide\n"
                 "  --orv DIR   a REPLAY not found as given is taken from DIR's replay folder\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read,\n"
                 "  3 FILE (or standard output) cannot be written\n");
}

int runReport(const Args& given) {
    Args args = given;
    std::string orv;
    std::optional<std::string> out;
    std::vector<LapSpec> lapSpecs;
    if (!takeReplayInstallation(args, orv) || !takeValue(args, "--out", out) || !takeLapSpecs(args, lapSpecs)) {
        printReportUsage(stderr);
        return EXIT_USAGE;
    }
    movrane::ReportPrefs prefs = movrane::currentReportPrefs();
    if (takeFlag(args, "--retire")) prefs.retireInRaceReport = true;
    if (takeFlag(args, "--offtrack")) prefs.offTheTrackInRaceReport = true;
    const std::optional<ReportKind> kind = args.size() == 2 ? Report::kindFromName(args[0]) : std::nullopt;
    if (!kind || hasOption(args)) {
        printReportUsage(stderr);
        return EXIT_USAGE;
    }
    if (const char* missing = missingLapMessage(*kind, !lapSpecs.empty())) {
        std::fprintf(stderr, "%s\n", missing);
        return EXIT_USAGE;
    }
    const std::string path = resolveReplay(args[1], orv);
    ReplayReaders replay;
    if (!replay.load(path)) return EXIT_UNREADABLE;
    LoadedLaps laps;
    if (!lapSpecs.empty()) {
        const auto settings = documentSettings(orv);
        if (!settings) return EXIT_UNREADABLE;
        if (!laps.load(path, lapSpecs, *settings)) return EXIT_UNREADABLE;
    }
    Report report(replay.header, replay.drivers, path, prefs);
    report.setLaps(movrane::reportLapsOf(laps.document()));
    return writeOutput(out.value_or("-"), movrane::toFileText(report.generate(*kind)));
}

void printExportUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli export [--mech] REPLAY... --prefix PREFIX\n"
                 "  writes the practice, race, lap chart, lap-by-lap and complete report (with\n"
                 "  --mech also the mechanical report) of every replay to PREFIX + the replay's\n"
                 "  base name + \"_Practice.txt\" and so on; a PREFIX ending in \"/\" is a folder;\n"
                 "  the folder of PREFIX is made when it is missing\n"
                 "  one progress line per replay and a summary go to stderr\n"
                 "  exit status: 0 every file written, 1 usage error, 2 a replay cannot be read,\n"
                 "  3 a report file cannot be created\n");
}

int runExport(const Args& given) {
    Args args = given;
    std::optional<std::string> prefix;
    const bool withMechanical = takeFlag(args, "--mech");
    if (!takeValue(args, "--prefix", prefix) || !prefix || args.empty() || hasOption(args)) {
        printExportUsage(stderr);
        return EXIT_USAGE;
    }
    // The folder the prefix names is made as the records and site commands make theirs;
    // when that fails, writing the first file tells.
    if (const std::string folder = movrane::cutAtLastSeparator(*prefix); !folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
    }
    const movrane::ReportPrefs prefs = movrane::currentReportPrefs();
    const int wanted = Report::batchFileCount(withMechanical);
    int complete = 0;
    int status = EXIT_OK;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& path = args[i];
        std::fprintf(stderr, "[%zu/%zu] %s: ", i + 1, args.size(), path.c_str());
        ReplayReaders replay;
        if (!replay.load(path)) {
            status = EXIT_UNREADABLE;
            continue;
        }
        Report report(replay.header, replay.drivers, path, prefs);
        const movrane::FileBatch batch = report.exportBatch(*prefix, withMechanical);
        const std::string stem = *prefix + movrane::replayBaseName(path);
        std::fprintf(stderr, "%zu of %d files written as %s_*.txt\n", batch.writtenPaths().size(), wanted,
                     stem.c_str());
        if (!batch.failed()) {
            ++complete;
            continue;
        }
        std::fprintf(stderr, "Error creating file!\n%s\n", batch.failedPath().c_str());
        if (status == EXIT_OK) status = EXIT_WRITE_FAILED;
    }
    std::fprintf(stderr, "exported %d of %zu replays\n", complete, args.size());
    return status;
}

}  // namespace cli
