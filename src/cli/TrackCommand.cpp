// movrane-cli track: the geometry of a track, as text and optionally as an SVG map.
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "cli/Output.h"
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
    std::string orvOverride;
    std::optional<std::string> trackName;
    std::optional<std::string> file;
    std::optional<std::string> svg;
};

std::optional<TrackOptions> parseTrackOptions(const Args& arguments) {
    Args args = arguments;
    TrackOptions options;
    if (!takeOrvOption(args, options.orvOverride)) return std::nullopt;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--file" && hasValue) {
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
    if (options.file && !options.orvOverride.empty()) return std::nullopt;
    return options;
}

// The track of an installation, or a file given directly; nothing, with a message,
// when there is no usable installation.
std::unique_ptr<movrane::Track> loadRequestedTrack(const TrackOptions& options) {
    if (options.file) return movrane::Track::load(*options.file);
    const auto installation = chooseInstallation(options.orvOverride);
    if (!installation) return nullptr;
    return movrane::loadInstalledTrack(installation->directory(), *options.trackName);
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

void printTrack(const movrane::Track& track) {
    std::printf("file: %s\n", track.path().c_str());
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

std::string svgMap(const movrane::Track& track) {
    SvgDisplay display(movrane::fitMap(track.mapExtent(), SVG_SIZE, SVG_SIZE, SVG_MARGIN, SVG_MARGIN), SVG_SIZE,
                       SVG_SIZE);
    movrane::drawTrack(track, display);
    return display.document();
}

}  // namespace

void printTrackUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli track [--orv DIR] TRACKNAME [--svg OUT.svg]\n"
                 "       movrane-cli track --file PATH [--svg OUT.svg]\n"
                 "  prints the lap length, the stated length, every section (type, lap-distance start\n"
                 "  and end, heading in degrees) and the extents of a track's geometry\n"
                 "  TRACKNAME  a track directory of the installation (--orv DIR, else the\n"
                 "             preferences' OrvDirectory); its .trk file is read, its .dat archive\n"
                 "             when that fails\n"
                 "  --file     a track file or archive\n"
                 "  --svg      also draws the map: surfaces, centre line and distance markers;\n"
                 "             \"-\" writes only the map, to standard output\n"
                 "  exit status: 0 success, 1 usage error, 2 the track cannot be read, 3 the map\n"
                 "  cannot be written\n");
}

int runTrack(const Args& args) {
    const std::optional<TrackOptions> options = parseTrackOptions(args);
    if (!options) {
        printTrackUsage(stderr);
        return EXIT_USAGE;
    }
    std::unique_ptr<movrane::Track> track;
    try {
        track = loadRequestedTrack(*options);
    } catch (const movrane::MOVRNException& e) {
        std::fprintf(stderr, "%s\n", e.message().c_str());
        return EXIT_UNREADABLE;
    }
    if (!track) return EXIT_UNREADABLE;
    // A map written to standard output has it to itself.
    if (options->svg != "-") printTrack(*track);
    return options->svg ? writeOutput(*options->svg, svgMap(*track)) : EXIT_OK;
}

}  // namespace cli
