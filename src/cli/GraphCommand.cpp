// movrane-cli graph: the series the "Telemetry Graph" window hands its graph engine for
// one channel of laps loaded from a replay, as CSV, and the time difference of two laps.
#include <cstdio>
#include <map>
#include <optional>
#include <string>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/LapArgs.h"
#include "cli/OrvOption.h"
#include "cli/Output.h"
#include "cli/ReplayLookup.h"
#include "core/analysis/TelemetryGraph.h"
#include "gui/graph/GraphImage.h"

namespace cli {

namespace {

using movrane::AxisRange;
using movrane::GraphPoint;

// Keeps the series in the order the window adds them, as the desktop's engine shows them.
class RecordingEngine : public movrane::GraphEngine {
public:
    struct Series {
        std::string key;
        std::string name;
        std::vector<GraphPoint> points;
    };
    std::map<SeriesId, Series> series;

    SeriesId addSeries(const std::string& key, const std::string& name, movrane::Colour,
                       const std::vector<GraphPoint>& points) override {
        series[next_] = {key, name, points};
        return next_++;
    }
    void removeSeries(SeriesId id) override { series.erase(id); }
    void setXRange(AxisRange r) override { x_ = r; }
    void setYRange(AxisRange r) override { y_ = r; }
    AxisRange xRange() const override { return x_; }
    AxisRange yRange() const override { return y_; }
    void setXCaption(const std::string&, const std::string&) override {}
    void setYCaption(const std::string&, const std::string&) override {}
    void redraw() override {}

private:
    SeriesId next_ = 1;
    AxisRange x_{0, 1};
    AxisRange y_{0, 1};
};

struct GraphRequest {
    std::string orv;
    std::vector<LapSpec> laps;
    int channel = 0;
    std::vector<int> wheels;
    bool mph = false;
    bool timeDifference = false;
    std::optional<std::string> csv;
    std::optional<std::string> image;
    std::string replay;
};

bool parseInt(const std::optional<std::string>& text, int low, int high, int& value) {
    if (!text || text->empty() || text->size() > 3 || text->find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(*text);
    return value >= low && value <= high;
}

bool takeWheels(Args& args, std::vector<int>& wheels) {
    for (;;) {
        std::optional<std::string> text;
        if (!takeValue(args, "--wheel", text)) return false;
        if (!text) return true;
        int wheel = 0;
        if (!parseInt(text, 1, movrane::WHEEL_COUNT, wheel)) return false;
        wheels.push_back(wheel - 1);
    }
}

bool takeGraphRequest(Args& args, GraphRequest& request) {
    std::optional<std::string> channel;
    if (!takeOrvOption(args, request.orv) || !takeLapSpecs(args, request.laps) || !takeValue(args, "--channel", channel) ||
        !takeWheels(args, request.wheels) || !takeValue(args, "--csv", request.csv) ||
        !takeValue(args, "--out", request.image)) {
        return false;
    }
    request.mph = takeFlag(args, "--mph");
    request.timeDifference = takeFlag(args, "--timediff");
    if (!parseInt(channel, 1, movrane::CHANNEL_COUNT, request.channel) || request.laps.empty() || args.size() != 1 ||
        hasOption(args)) {
        return false;
    }
    if (request.image && !movrane::gui::imageFormatOf(*request.image)) {
        std::fprintf(stderr, "--out %s: the image is a .png, .pdf or .svg file\n", request.image->c_str());
        return false;
    }
    if (!request.csv && !request.image && !request.timeDifference) {
        std::fprintf(stderr, "graph writes nothing without --csv OUT, --out IMAGE or --timediff\n");
        return false;
    }
    if (request.timeDifference && request.laps.size() != 2) {
        std::fprintf(stderr, "--timediff compares exactly two laps\n");
        return false;
    }
    request.replay = resolveReplay(args[0], request.orv);
    return true;
}

void appendRow(std::string& csv, const std::string& key, const std::string& name, const GraphPoint& p) {
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, ",%.6f,%.6f\n", p.x, p.y);
    csv += key + "," + name + numbers;
}

// Every lap series point by point, then the time difference in ms over the grid distance.
std::string seriesCsv(const RecordingEngine& engine, const movrane::TelemetryGraph& graph) {
    std::string csv = "series,name,x,y\n";
    std::string timeDifferenceName;
    for (const auto& [id, s] : engine.series) {
        if (s.key == "timediff") timeDifferenceName = s.name;
        if (s.key == "timediff" || s.key == "zero") continue;
        for (const GraphPoint& p : s.points)
            if (!movrane::isGap(p)) appendRow(csv, s.key, s.name, p);
    }
    if (graph.timeDifference())
        for (const GraphPoint& p : graph.timeDifference()->points()) appendRow(csv, "timediff", timeDifferenceName, p);
    return csv;
}

}  // namespace

void printGraphUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli graph --orv DIR --lap SESSION:DRIVER:LAP... --channel NO [--wheel 1|2|3|4]...\n"
                 "                         [--mph] [--timediff] [--csv OUT] [--out IMAGE] REPLAY\n"
                 "  loads the laps (up to five) from REPLAY as the program does, ticks them in the order\n"
                 "  given and builds channel NO (1..21) as the Telemetry Graph window does\n"
                 "  --wheel     ticks a wheel for the by-wheel channels 12 and 17 (1 left front,\n"
                 "              2 right front, 3 left rear, 4 right rear)\n"
                 "  --mph       speeds in miles per hour for this call\n"
                 "  --csv OUT   writes every series as CSV: series,name,x,y, one row per point; series\n"
                 "              is lapN or lapN-wheelW (N the lap's place on the command line)\n"
                 "  --timediff  exactly two laps: adds the series timediff (x the grid distance in\n"
                 "              metres, y the difference in ms, the finish line last) and prints the\n"
                 "              Time Difference Info fields as label<TAB>text\n"
                 "  --out IMAGE draws the graph as the window does into IMAGE (.png, .pdf or .svg)\n"
                 "  exit status: 0 success, 1 usage error, 2 a lap cannot be loaded, 3 OUT cannot be written\n");
}

int runGraph(const Args& arguments) {
    Args args = arguments;
    GraphRequest request;
    if (!takeGraphRequest(args, request)) {
        printGraphUsage(stderr);
        return EXIT_USAGE;
    }
    auto settings = documentSettings(request.orv);
    if (!settings) return EXIT_USAGE;
    if (request.mph) settings->speedUnit = 1;
    LoadedLaps laps;
    if (!laps.load(request.replay, request.laps, *settings)) return EXIT_UNREADABLE;

    RecordingEngine engine;
    movrane::TelemetryGraph graph(laps.document(), engine);
    for (int wheel : request.wheels) graph.setWheelTicked(wheel, true);
    for (std::size_t slot = 0; slot < request.laps.size(); ++slot) graph.setLapTicked(static_cast<int>(slot), true);
    graph.chooseChannel(request.channel);
    graph.setTimeDifference(request.timeDifference);

    if (graph.infoShown()) {
        for (const auto& [label, text] : graph.info().fields()) std::printf("%s\t%s\n", label.c_str(), text.c_str());
        std::fflush(stdout);
    }
    if (request.csv) {
        const int status = writeOutput(*request.csv, seriesCsv(engine, graph));
        if (status != EXIT_OK) return status;
    }
    if (request.image) {
        const std::string image =
            movrane::gui::renderGraphImage(laps.document(), graph, *movrane::gui::imageFormatOf(*request.image));
        if (image.empty()) {
            std::fprintf(stderr, "the graph could not be drawn\n");
            return EXIT_WRITE_FAILED;
        }
        return writeOutput(*request.image, image);
    }
    return EXIT_OK;
}

}  // namespace cli
