#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// Exit statuses shared by every command.
constexpr int EXIT_OK = 0;
constexpr int EXIT_USAGE = 1;
constexpr int EXIT_UNREADABLE = 2;  // an input file could not be read
constexpr int EXIT_WRITE_FAILED = 3;  // an output file could not be written

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const Args& args);
    void (*usage)(std::FILE* out);
};

int runInfo(const Args& args);
void printInfoUsage(std::FILE* out);
int runSettings(const Args& args);
void printSettingsUsage(std::FILE* out);
int runPlayers(const Args& args);
void printPlayersUsage(std::FILE* out);
int runPb(const Args& args);
int runReport(const Args& args);
void printReportUsage(std::FILE* out);
int runExport(const Args& args);
void printExportUsage(std::FILE* out);
void printPbUsage(std::FILE* out);

int runLaps(const Args& args);
void printLapsUsage(std::FILE* out);
int runTelemetry(const Args& args);
void printTelemetryUsage(std::FILE* out);
int runGroove(const Args& args);
void printGrooveUsage(std::FILE* out);
int runTimeline(const Args& args);
void printTimelineUsage(std::FILE* out);
int runGraph(const Args& args);
void printGraphUsage(std::FILE* out);
int runSite(const Args& args);
void printSiteUsage(std::FILE* out);
int runTrack(const Args& args);
void printTrackUsage(std::FILE* out);

int runRatings(const Args& args);
void printRatingsUsage(std::FILE* out);
int runGears(const Args& args);
void printGearsUsage(std::FILE* out);
int runTraction(const Args& args);
void printTractionUsage(std::FILE* out);
int runRaceGraph(const Args& args);
void printRaceGraphUsage(std::FILE* out);
int runRaceReport(const Args& args);
void printRaceReportUsage(std::FILE* out);
int runFinder(const Args& args);
void printFinderUsage(std::FILE* out);
int runCddb(const Args& args);
void printCddbUsage(std::FILE* out);
int runRecords(const Args& args);
void printRecordsUsage(std::FILE* out);
int runSeason(const Args& args);
void printSeasonUsage(std::FILE* out);
int runExtract(const Args& args);
void printExtractUsage(std::FILE* out);
int runMerge(const Args& args);
void printMergeUsage(std::FILE* out);

}  // namespace cli
