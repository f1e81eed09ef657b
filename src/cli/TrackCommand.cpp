// movrane-cli track: the geometry of a track, as text and optionally as an SVG map.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/SvgDisplay.h"
#include "core/track/CoreDisplay.h"
#include "core/track/Curve.h"
#include "core/track/MOVRNException.h"
#include "core/track/MapFitting.h"
#include "core/track/Track.h"
#include "core/track/TrackLocation.h"

namespace cli {

namespace {

constexpr int SVG_SIZE = 1024;
constexpr int SVG_MARGIN = 10;

struct TrackOptions {
    std::string orvDirectory = ".";
    std::optional<std::string> trackName;
    std::optional<std::string> file;
    std::optional<std::string> svg;
};

std::optional<TrackOptions> parseTrackOptions(const Args& args) {
    TrackOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--orv" && hasValue) {
            options.orvDirectory = args[++i];
        } else if (a == "--file" && hasValue) {
            options.file = args[++i];
        } else if (a == "--svg" && hasValue) {
            options.svg = args[++i];
        } else if (!a.empty() && a[0] != '-' && !options.trackName) {
            options.trackName = a;
        } else {
            return std::nullopt;
        }
    }
    if (options.file.has_value() == options.trackName.has_value()) return std::nullopt;
    return options;
}

double degrees(double radians) {
    const double d = std::fmod(radians * 180.0 / std::numbers::pi, 360.0);
    return d < 0 ? d + 360.0 : d;
}

const char* sectionTypeName(const movrane::Section& section) {
    return dynamic_cast<const movrane::Curve*>(&section) ? "curve" : "straight";
}

void printExtent(const char* name, const movrane::Extent& e) {
    if (e.empty()) {
        std::printf("%s: empty\n", name);
        return;
    }
    std::printf("%s: x %.3f .. %.3f, y %.3f .. %.3f (%.3f x %.3f m)\n", name, e.minX(), e.maxX(), e.minY(), e.maxY(),
                e.width(), e.height());
}

void printTrack(const std::string& path, const movrane::Track& track) {
    std::printf("file: %s\n", path.c_str());
    std::printf("lap length: %.3f m\n", track.lapLength());
    std::printf("stated lap length: %.3f m\n", track.statedLapLength());
    std::printf("traces: %u\n", track.numberOfTraces());
    std::printf("sections: %zu\n", track.numberOfSections());
    std::printf("%7s  %-8s  %10s  %10s  %8s\n", "section", "type", "start m", "end m", "heading");
    for (std::size_t k = 0; k < track.numberOfSections(); ++k) {
        const movrane::Section& s = track.sectionAt(k);
        std::printf("%7zu  %-8s  %10.3f  %10.3f  %8.3f\n", k, sectionTypeName(s), s.lapStart(), s.lapEnd(),
                    degrees(s.startHeading()));
    }
    printExtent("centre-line extent", track.centreLineExtent());
    printExtent("strip extent", track.stripExtent());
}

bool writeSvg(const std::string& path, const movrane::Track& track) {
    SvgDisplay display(movrane::fitMap(track.mapExtent(), SVG_SIZE, SVG_SIZE, SVG_MARGIN, SVG_MARGIN), SVG_SIZE,
                       SVG_SIZE);
    movrane::drawTrack(track, display);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << display.document();
    return static_cast<bool>(out);
}

}  // namespace

void printTrackUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli track [--orv DIR] TRACKNAME [--svg OUT.svg]\n"
                 "       movrane-cli track --file PATH [--svg OUT.svg]\n"
                 "  prints the lap length, the stated length, every section (type, lap-distance start\n"
                 "  and end, heading in degrees) and the extents of a track's geometry\n"
                 "  TRACKNAME  the track directory in the installation DIR (default: the current\n"
                 "             folder); its .trk file is read, its .dat archive when that fails\n"
                 "  --file     a track file or archive\n"
                 "  --svg      also draws the map: surfaces, centre line and distance markers\n"
                 "  exit status: 0 success, 1 usage error, 2 the track cannot be read or the map\n"
                 "  cannot be written\n");
}

int runTrack(const Args& args) {
    const std::optional<TrackOptions> options = parseTrackOptions(args);
    if (!options) {
        printTrackUsage(stderr);
        return EXIT_USAGE;
    }
    const std::string path =
        options->file ? *options->file : movrane::trackFilePath(options->orvDirectory, *options->trackName).string();
    std::unique_ptr<movrane::Track> track;
    try {
        track = options->file ? movrane::Track::load(path) : movrane::loadTrackOrArchive(path);
    } catch (const movrane::MOVRNException& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return EXIT_UNREADABLE;
    }
    printTrack(path, *track);
    if (options->svg && !writeSvg(*options->svg, *track)) {
        std::fprintf(stderr, "cannot write %s\n", options->svg->c_str());
        return EXIT_UNREADABLE;
    }
    return EXIT_OK;
}

}  // namespace cli
