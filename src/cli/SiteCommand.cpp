// movrane-cli site: the HTML report site of a replay, built without a window.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "cli/ReplayLookup.h"
#include "core/app/Commands.h"
#include "core/app/ExportReports.h"
#include "core/app/MapImage.h"
#include "core/app/ReportSiteCommand.h"
#include "core/library/Prefs.h"
#include "core/reports/ReportSite.h"
#include "core/track/MOVRNException.h"
#include "core/track/Track.h"
#include "core/track/TrackLocation.h"

namespace cli {

namespace {

// The installation's map of the replay's track, or a blank picture (with a warning) when
// the track cannot be loaded.
movrane::RgbImage trackPicture(const std::string& orvDirectory, const std::string& trackName, int size) {
    try {
        if (const auto track = movrane::loadInstalledTrack(orvDirectory, trackName))
            return movrane::trackMapImage(*track, size);
    } catch (const movrane::MOVRNException& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    std::fprintf(stderr, "warning: the track \"%s\" is not in %s; the site's map stays blank\n", trackName.c_str(),
                 orvDirectory.c_str());
    return movrane::RgbImage(size, size);
}

}  // namespace

void printSiteUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli site --orv DIR --out EXPORT_FOLDER REPLAY\n"
                 "  builds the HTML report site of REPLAY in EXPORT_FOLDER/<replay base name>: the\n"
                 "  practice, race, lap chart, lap-by-lap and mechanical reports, the two race pictures\n"
                 "  and the map of the replay's track from DIR, and prints the site folder\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read or holds no race,\n"
                 "  3 a file of the site cannot be written (the earlier site stays as it was)\n");
}

int runSite(const Args& given) {
    Args args = given;
    std::string orv;
    std::optional<std::string> out;
    if (!takeOrvOption(args, orv) || !takeValue(args, "--out", out) || !out || orv.empty() || args.size() != 1 ||
        hasOption(args)) {
        printSiteUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    const std::string path = resolveReplay(args[0], orv);
    ReplayReaders replay;
    if (!replay.load(path)) return EXIT_UNREADABLE;
    if (!replay.drivers.racePresent()) {
        std::fprintf(stderr, "%s\n", movrane::SITE_NEEDS_RACE_MESSAGE);
        return EXIT_UNREADABLE;
    }
    const int side = movrane::bitmapSide(movrane::Prefs::get().bmpSizeInPixel());
    const movrane::RgbImage map = trackPicture(installation->directory(), replay.header.trackName(), side);
    const movrane::SiteResult site = movrane::generateSite(replay.header, replay.drivers, path,
                                                           movrane::currentReportPrefs(), *out, map);
    if (site.folder.empty()) {
        std::fprintf(stderr, "%s\n%s\n", movrane::SITE_FAILED_MESSAGE, site.failedPath.c_str());
        return EXIT_WRITE_FAILED;
    }
    std::printf("%s\n", site.folder.c_str());
    return EXIT_OK;
}

}  // namespace cli
