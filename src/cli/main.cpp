// movrane-cli: headless access to the core for scripts and batch work.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace {

const cli::Command COMMANDS[] = {
    {"info", "print the header, session windows and drivers of a replay", cli::runInfo, cli::printInfoUsage},
    {"settings", "print the preferences and where they come from, or set one", cli::runSettings,
     cli::printSettingsUsage},
    {"players", "list the simulator's players", cli::runPlayers, cli::printPlayersUsage},
    {"pb", "print a player's personal bests from player.ini", cli::runPb, cli::printPbUsage},
    {"laps", "print the lap chooser's information and lap tree of a replay", cli::runLaps, cli::printLapsUsage},
    {"telemetry", "load one lap and write its telemetry text or CSV", cli::runTelemetry, cli::printTelemetryUsage},
    {"groove", "load one lap and write its groove file", cli::runGroove, cli::printGrooveUsage},
    {"track", "print the geometry of a track and draw its map as SVG", cli::runTrack, cli::printTrackUsage},
    {"timeline", "print frames of the race timeline of a replay", cli::runTimeline, cli::printTimelineUsage},
    {"graph", "plot a telemetry graph channel of laps of a replay as CSV or a picture", cli::runGraph,
     cli::printGraphUsage},
    {"report", "print or write one report of a replay", cli::runReport, cli::printReportUsage},
    {"export", "write the report files of many replays", cli::runExport, cli::printExportUsage},
    {"site", "build the HTML report site of a replay", cli::runSite, cli::printSiteUsage},
    {"ratings", "print the traction circle ratings table of loaded laps", cli::runRatings, cli::printRatingsUsage},
    {"gears", "print the gear change analysis of one lap", cli::runGears, cli::printGearsUsage},
    {"traction", "print the traction circle's range and lap times", cli::runTraction, cli::printTractionUsage},
    {"racegraph", "draw the race history graph or print its numbers", cli::runRaceGraph, cli::printRaceGraphUsage},
    {"racereport", "draw the graphical race report or print its rows", cli::runRaceReport,
     cli::printRaceReportUsage},
    {"finder", "list the laps of a track found in all replays and CD databases", cli::runFinder,
     cli::printFinderUsage},
    {"cddb", "write a replay CD database of a mounted medium", cli::runCddb, cli::printCddbUsage},
    {"records", "write a player's lap-times file and HTML records site", cli::runRecords, cli::printRecordsUsage},
    {"season", "list or rearrange the events of the season file", cli::runSeason, cli::printSeasonUsage},
    {"rank", "print a player's OrvRank, ChallangeRank and Master of Orv handicaps", cli::runRank,
     cli::printRankUsage},
    {"handicap", "print a player's OrvRank handicaps from player.ini", cli::runHandicap, cli::printHandicapUsage},
    {"upload", "upload a player's personal bests to the OrvRank service", cli::runUpload, cli::printUploadUsage},
    {"extract", "write one loaded lap as a replay of its own", cli::runExtract, cli::printExtractUsage},
    {"merge", "merge loaded laps into one replay, each lap a car of its own", cli::runMerge, cli::printMergeUsage},
};

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage: movrane-cli COMMAND [OPTIONS] [ARGS]\n\ncommands:\n");
    for (const auto& c : COMMANDS) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'movrane-cli COMMAND --help' describes a command; 'movrane-cli --version' prints the\n"
                      "version.\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return cli::EXIT_USAGE;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return cli::EXIT_OK;
    }
    if (name == "--version") {
        std::printf("movrane-cli %s\n", MOVRANE_VERSION);
        return cli::EXIT_OK;
    }
    for (const auto& c : COMMANDS) {
        if (name != c.name) continue;
        std::vector<std::string> args(argv + 2, argv + argc);
        for (const auto& a : args) {
            if (a == "--help" || a == "-h") {
                c.usage(stdout);
                return cli::EXIT_OK;
            }
        }
        return c.run(args);
    }
    std::fprintf(stderr, "movrane-cli: unknown command '%s'\n\n", name.c_str());
    printUsage(stderr);
    return cli::EXIT_USAGE;
}
