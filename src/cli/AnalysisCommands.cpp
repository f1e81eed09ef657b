// movrane-cli ratings, gears and traction: the analysis windows of loaded laps as text;
// racegraph and racereport: the two race pictures of a replay, drawn or as their numbers.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/LapArgs.h"
#include "cli/OrvOption.h"
#include "cli/Output.h"
#include "cli/ReplayLookup.h"
#include "core/analysis/GearChanges.h"
#include "core/analysis/RacePictures.h"
#include "core/analysis/Ratings.h"
#include "core/analysis/TractionCircle.h"
#include "core/app/Commands.h"
#include "core/image/RgbImage.h"
#include "core/platform/Paths.h"

namespace cli {

namespace {

struct LapsRequest {
    std::string orv;
    std::vector<LapSpec> laps;
    std::string replay;
};

// "--orv DIR", the laps and one REPLAY; false when anything else is left or no lap is named.
bool takeLapsRequest(Args& args, LapsRequest& request, std::size_t most) {
    if (!takeOrvOption(args, request.orv) || !takeLapSpecs(args, request.laps, most)) return false;
    if (request.laps.empty() || args.size() != 1 || hasOption(args)) return false;
    request.replay = resolveReplay(args.front(), request.orv);
    return true;
}

// Loads the laps into a document of their own; false (messages on stderr) when one fails.
bool loadLaps(const LapsRequest& request, LoadedLaps& loaded) {
    const auto settings = documentSettings(request.orv);
    return settings && loaded.load(request.replay, request.laps, *settings);
}

std::string joined(const std::vector<int>& values, const char* separator) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) text.append(i ? separator : "").append(std::to_string(values[i]));
    return text;
}

struct RaceRequest {
    bool data = false;
    std::optional<std::string> out;
    std::optional<std::string> maximum;
    std::string replay;
};

bool takeRaceRequest(Args& args, RaceRequest& request, bool withMaximum) {
    request.data = takeFlag(args, "--data");
    if (!takeValue(args, "--out", request.out)) return false;
    if (withMaximum && !takeValue(args, "--max", request.maximum)) return false;
    int seconds = 0;
    if (request.maximum && !parseIndex(*request.maximum, seconds)) {
        std::fprintf(stderr, "--max %s: expected a whole number of seconds\n", request.maximum->c_str());
        return false;
    }
    if (request.data == request.out.has_value() || args.size() != 1 || hasOption(args)) return false;
    if (request.out && *request.out != "-" && !movrane::hasExtension(*request.out, ".bmp") &&
        !movrane::hasExtension(*request.out, ".png")) {
        std::fprintf(stderr, "--out %s: the picture is a .bmp or .png file\n", request.out->c_str());
        return false;
    }
    request.replay = args.front();
    return true;
}

// The race of a replay; nothing (message on stderr) when it cannot be read or has no race.
std::optional<movrane::RaceInput> readRace(const std::string& path) {
    ReplayReaders readers;
    if (!readers.load(path)) return std::nullopt;
    if (!readers.drivers.racePresent()) {
        std::fprintf(stderr, "%s\n", movrane::NO_RACE_INFO_MESSAGE);
        return std::nullopt;
    }
    return movrane::RaceInput::of(readers.header, readers.drivers);
}

int writePicture(const std::string& out, int width, int height, const std::function<void(movrane::Painter&)>& paint) {
    movrane::RgbImage image(width, height);
    movrane::ImagePainter painter(image);
    paint(painter);
    return writeOutput(out, movrane::encodeImageFor(out, image));
}

std::string raceGraphData(const movrane::RaceHistoryGraph& graph) {
    std::string text = "title\t" + graph.defaultTitle() + "\naverage\t" + graph.averageText() + "\nrange\t" +
                       std::to_string(graph.range()) + "\n";
    const auto& order = graph.resultOrder();
    for (std::size_t p = 0; p < order.size(); ++p) {
        const int d = order[p];
        const movrane::Colour c = movrane::resultColour(static_cast<int>(p));
        const auto& driver = graph.input().drivers[d];
        text += std::to_string(p + 1) + "\t" + std::to_string(d) + "\t" + std::to_string(c.red) + "," +
                std::to_string(c.green) + "," + std::to_string(c.blue) + "\t" + driver.first + " " + driver.last;
        for (const int64_t value : graph.values(d)) text.append("\t").append(std::to_string(value));
        text += "\n";
    }
    return text;
}

std::string raceReportData(const movrane::GraphicalRaceReport& report) {
    std::string text = "start\t" + joined(report.input().startingOrder, ",") + "\n";
    for (int lap = 1; lap <= report.lapColumns(); ++lap) {
        text += "lap\t" + std::to_string(lap) + "\t" + joined(report.positionsAt(lap), ",") + "\t" +
                std::to_string(report.leadLapCount(lap)) + "\n";
    }
    return text;
}

}  // namespace

void printRatingsUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli ratings --orv DIR --lap SESSION:DRIVER:LAP [--lap ...] REPLAY\n"
                 "  prints the ratings table as \"Copy Table To Clipboard\" puts it on the clipboard\n"
                 "  (CR LF line ends), up to five laps in the order given\n"
                 "  exit status: 0 success, 1 usage error, 2 a lap cannot be loaded\n");
}

int runRatings(const Args& arguments) {
    Args args = arguments;
    LapsRequest request;
    if (!takeLapsRequest(args, request, movrane::CZodEvadiDoc::MAX_LAPS)) {
        printRatingsUsage(stderr);
        return EXIT_USAGE;
    }
    LoadedLaps loaded;
    if (!loadLaps(request, loaded)) return EXIT_UNREADABLE;
    return writeOutput("-", movrane::Ratings(loaded.document()).clipboardText());
}

void printGearsUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli gears --orv DIR --lap SESSION:DRIVER:LAP REPLAY\n"
                 "  prints the gear change list (tab-separated cells), the neutral times, the\n"
                 "  upshift statistics and the speedshift verdict of one lap\n"
                 "  exit status: 0 success, 1 usage error, 2 the lap cannot be loaded\n");
}

int runGears(const Args& arguments) {
    Args args = arguments;
    LapsRequest request;
    if (!takeLapsRequest(args, request, 1)) {
        printGearsUsage(stderr);
        return EXIT_USAGE;
    }
    LoadedLaps loaded;
    if (!loadLaps(request, loaded)) return EXIT_UNREADABLE;
    movrane::GearChangeAnalyser analyser(loaded.document());
    analyser.chooseLap(0);
    const auto& a = analyser.analysis();
    std::string text;
    for (const auto& row : a.rows) {
        for (std::size_t k = 0; k < row.size(); ++k) text += (k ? "\t" : "") + row[k];
        text += "\n";
    }
    text += "No of gearchanges:\t" + std::to_string(a.changes) + "\n-during upshift:\t" + a.upshiftNeutralTime +
            "\n-during downshift:\t" + a.downshiftNeutralTime + "\n";
    for (int row = 0; row < movrane::GearChangeAnalysis::UPSHIFT_ROWS; ++row) {
        const auto& cells = a.statistics[row];
        text += std::string(movrane::GearChangeAnalysis::statisticsRows()[row]) + "\t" + cells[0] + "\t" + cells[1] +
                "\t" + cells[2] + "\n";
    }
    return writeOutput("-", text + a.verdict + "\n");
}

void printTractionUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli traction --orv DIR --lap SESSION:DRIVER:LAP [--lap ...] [--start M]\n"
                 "                            [--end M] REPLAY\n"
                 "  prints the traction circle's range (start, end, length in metres) and each loaded\n"
                 "  lap's time over it; the range defaults to the whole lap\n"
                 "  exit status: 0 success, 1 usage error, 2 a lap cannot be loaded\n");
}

int runTraction(const Args& arguments) {
    Args args = arguments;
    LapsRequest request;
    std::optional<std::string> start, end;
    if (!takeValue(args, "--start", start) || !takeValue(args, "--end", end) ||
        !takeLapsRequest(args, request, movrane::CZodEvadiDoc::MAX_LAPS)) {
        printTractionUsage(stderr);
        return EXIT_USAGE;
    }
    LoadedLaps loaded;
    if (!loadLaps(request, loaded)) return EXIT_UNREADABLE;
    auto circle = movrane::TractionCircle::ofDocument(loaded.document());
    if ((start && !circle.setStartText(*start)) || (end && !circle.setEndText(*end))) {
        printTractionUsage(stderr);
        return EXIT_USAGE;
    }
    std::string text = "range\t" + std::to_string(circle.start()) + "\t" + std::to_string(circle.end()) + "\t" +
                       std::to_string(circle.length()) + "\n";
    for (int slot = 0; slot < movrane::TractionCircle::SLOTS; ++slot)
        if (circle.loaded(slot)) text += std::to_string(slot + 1) + "\t" + circle.timeText(slot) + "\n";
    return writeOutput("-", text);
}

void printRaceGraphUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli racegraph --out FILE.bmp|FILE.png [--max SECONDS] REPLAY\n"
                 "       movrane-cli racegraph --data [--max SECONDS] REPLAY\n"
                 "  draws the race history graph, or prints its title, the winner's average lap,\n"
                 "  the vertical range (ms) and each driver's values in result order; --max scales\n"
                 "  to SECONDS behind instead of automatically\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read or holds no\n"
                 "  race, 3 FILE cannot be written\n");
}

int runRaceGraph(const Args& arguments) {
    Args args = arguments;
    RaceRequest request;
    if (!takeRaceRequest(args, request, true)) {
        printRaceGraphUsage(stderr);
        return EXIT_USAGE;
    }
    const auto race = readRace(request.replay);
    if (!race) return EXIT_UNREADABLE;
    movrane::RaceHistoryGraph graph(*race);
    if (request.maximum) {
        graph.scaleAutomatically = false;
        graph.maximumSecondsText = *request.maximum;
    }
    if (request.data) return writeOutput("-", raceGraphData(graph));
    return writePicture(*request.out, movrane::RACE_GRAPH_WIDTH, movrane::RACE_GRAPH_HEIGHT,
                        [&](movrane::Painter& p) { graph.paint(p); });
}

void printRaceReportUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli racereport --out FILE.bmp|FILE.png REPLAY\n"
                 "       movrane-cli racereport --data REPLAY\n"
                 "  draws the graphical race report, or prints its starting order and, per lap, the\n"
                 "  drivers in position order and the number on the lead lap\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read or holds no\n"
                 "  race, 3 FILE cannot be written\n");
}

int runRaceReport(const Args& arguments) {
    Args args = arguments;
    RaceRequest request;
    if (!takeRaceRequest(args, request, false)) {
        printRaceReportUsage(stderr);
        return EXIT_USAGE;
    }
    const auto race = readRace(request.replay);
    if (!race) return EXIT_UNREADABLE;
    const movrane::GraphicalRaceReport report(*race);
    if (request.data) return writeOutput("-", raceReportData(report));
    const auto size = report.preferredSize();
    return writePicture(*request.out, size[0], size[1], [&](movrane::Painter& p) { report.paint(p); });
}

}  // namespace cli
