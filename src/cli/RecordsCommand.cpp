// movrane-cli records PLAYER_INDEX --out FOLDER: the lap-times file and the records site.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/library/Prefs.h"
#include "core/library/RecordsExport.h"
#include "core/platform/Paths.h"
#include "core/platform/SilentUi.h"
#include "core/platform/Singleton.h"

namespace cli {

void printRecordsUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli records PLAYER_INDEX [--orv DIR] --out FOLDER [--complete-laps]\n"
                 "                           [--scan-replays]\n"
                 "  collects the personal bests of a player (player.ini, improved from the replay\n"
                 "  library) and writes FOLDER/OrvLapTimes.ini and the HTML records site into\n"
                 "  FOLDER/<player name>_<Month>_<DD>_<YYYY> (FOLDER is made when missing);\n"
                 "  --complete-laps counts only complete laps, --scan-replays also looks for\n"
                 "  better times than player.ini holds\n"
                 "  PLAYER_INDEX counts from 0 in the list of 'movrane-cli players' (entry number - 1)\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation or the collection\n"
                 "  stopped, 3 a file was not written\n");
}

int runRecords(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    std::optional<std::string> out;
    movrane::CollectOptions options;
    options.onlyCompleteLaps = takeFlag(args, "--complete-laps");
    options.scanReplays = takeFlag(args, "--scan-replays");
    int index = -1;
    const bool parsed =
        takeOrvOption(args, orv) && takeValue(args, "--out", out) && out && args.size() == 1 && parseIndex(args[0], index);
    if (!parsed) {
        printRecordsUsage(stderr);
        return EXIT_USAGE;
    }
    movrane::SilentUi ui(stderr);
    const auto table = collectPlayerBests(orv, index, options, ui);
    if (!table) return EXIT_UNREADABLE;
    std::error_code ignored;
    std::filesystem::create_directories(*out, ignored);
    const std::string iniPath = movrane::joinPath(*out, "OrvLapTimes.ini");
    if (!movrane::writeLapTimesFile(iniPath, *table)) {
        std::fprintf(stderr, "Error creating file!\n%s\n", iniPath.c_str());
        return EXIT_WRITE_FAILED;
    }
    const auto site = movrane::writeRecordsSite(*table, *out,
                                                movrane::Singleton<movrane::Prefs>::instance().programDirectory(),
                                                movrane::CalendarDate::today(), ui);
    if (!site) return EXIT_WRITE_FAILED;
    std::printf("%s\n%s\n", iniPath.c_str(), movrane::joinPath(*site, "index.html").c_str());
    return EXIT_OK;
}

}  // namespace cli
