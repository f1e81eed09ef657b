// movrane-cli finder TRACK: the lap finder's list of a track as its clipboard text.
#include <cstdio>
#include <map>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/library/LapFinder.h"
#include "core/library/Prefs.h"
#include "core/platform/Paths.h"
#include "core/platform/SilentUi.h"
#include "core/platform/Singleton.h"

namespace cli {

void printFinderUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli finder TRACK [--orv DIR] [--filter all|noai|local]\n"
                 "                             [--sort driver|laptime|team|class|session|filedate|replay]\n"
                 "  prints the laps the Lap Finder lists for TRACK (a track folder name), found in the\n"
                 "  replay folder, the alternative replay folder and the replay CD databases, exactly\n"
                 "  as its \"Copy to clipboard\" text; --filter defaults to local (the player's laps),\n"
                 "  without --sort the rows stay in the order of the scan\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation\n");
}

namespace {

using movrane::LapFinder;

const std::map<std::string, LapFinder::Filter> FILTERS = {
    {"all", LapFinder::Filter::All}, {"noai", LapFinder::Filter::NoAi}, {"local", LapFinder::Filter::LocalOnly}};
const std::map<std::string, LapFinder::Sort> SORTS = {
    {"driver", LapFinder::Sort::Driver},   {"laptime", LapFinder::Sort::LapTime},
    {"team", LapFinder::Sort::Team},       {"class", LapFinder::Sort::Class},
    {"session", LapFinder::Sort::Session}, {"filedate", LapFinder::Sort::FileDate},
    {"replay", LapFinder::Sort::ReplayFile}};

}  // namespace

int runFinder(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    std::optional<std::string> filter;
    std::optional<std::string> sort;
    const bool parsed = takeOrvOption(args, orv) && takeValue(args, "--filter", filter) &&
                        takeValue(args, "--sort", sort) && args.size() == 1 && !hasOption(args) &&
                        (!filter || FILTERS.contains(*filter)) && (!sort || SORTS.contains(*sort));
    if (!parsed) {
        printFinderUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    movrane::LibraryFolders folders = movrane::LibraryFolders::fromPrefs();
    folders.installation = installation->directory();
    movrane::SilentUi ui(stderr);
    LapFinder finder(folders, ui);
    if (filter) finder.chooseFilter(FILTERS.at(*filter));
    finder.chooseTrack(movrane::toLowerAscii(args[0]));
    if (sort) finder.sort(SORTS.at(*sort));
    const std::string text = finder.clipboardText();
    std::fwrite(text.data(), 1, text.size(), stdout);
    return EXIT_OK;
}

}  // namespace cli
