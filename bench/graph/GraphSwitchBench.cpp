// Switching the telemetry graph's channel with five laps of a 5 km track (3,000 samples
// each): building the series alone, and building plus the replot on the graph engine. A
// switch has to stay well within one frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <memory>
#include <qcustomplot.h>

#include "core/analysis/TelemetryGraph.h"
#include "core/platform/SilentUi.h"
#include "core/replay/GetRpyInfo.h"
#include "gui/graph/GraphView.h"

namespace {

constexpr int SAMPLES = 3000;
constexpr double LAP_LENGTH = 5000;

class NoChooser : public movrane::LapChooserDialog {
public:
    std::optional<movrane::Chooselap::Selection> choose(movrane::Chooselap&) override { return std::nullopt; }
};

// A lap whose channels vary along the track, a little differently per lap.
std::unique_ptr<movrane::GetRpyInfo> syntheticLap(int lap) {
    std::vector<movrane::LapSample> samples(SAMPLES + 1);
    for (int k = 1; k <= SAMPLES; ++k) {
        movrane::LapSample& s = samples[static_cast<std::size_t>(k)];
        const double phase = k * 0.01 + lap;
        s.distance = (k - 1.5) * LAP_LENGTH / SAMPLES;
        s.speed = 180 + 80 * std::sin(phase);
        s.engineSpeed = 7000 + 3000 * std::sin(phase * 1.3);
        s.gear = static_cast<int16_t>(3 + 2 * std::sin(phase));
        s.latAcc = 1.2 * std::sin(phase * 0.7);
        s.totalAcc = std::fabs(s.latAcc) + 0.3;
        s.suspension = {10, 12, 14, 16};
    }
    return std::make_unique<movrane::GetRpyInfo>(movrane::GetRpyInfo::fromSamples(std::move(samples)));
}

struct FiveLaps {
    movrane::SilentUi ui;
    NoChooser chooser;
    movrane::CZodEvadiDoc doc{ui, chooser};
    FiveLaps() {
        for (int slot = 0; slot < movrane::CZodEvadiDoc::MAX_LAPS; ++slot) {
            movrane::LapSlot& s = doc.slot(slot);
            s.inUse = true;
            s.colour = movrane::CZodEvadiDoc::DEFAULT_COLOURS[static_cast<std::size_t>(slot)];
            s.lap = syntheticLap(slot);
        }
    }
};

// Records nothing: what building the series costs by itself.
class NullEngine : public movrane::GraphEngine {
public:
    SeriesId addSeries(const std::string&, const std::string&, movrane::Colour,
                       const std::vector<movrane::GraphPoint>&) override {
        return next_++;
    }
    void removeSeries(SeriesId) override {}
    void setXRange(movrane::AxisRange r) override { x_ = r; }
    void setYRange(movrane::AxisRange r) override { y_ = r; }
    movrane::AxisRange xRange() const override { return x_; }
    movrane::AxisRange yRange() const override { return y_; }
    void setXCaption(const std::string&, const std::string&) override {}
    void setYCaption(const std::string&, const std::string&) override {}
    void redraw() override {}

private:
    SeriesId next_ = 1;
    movrane::AxisRange x_, y_;
};

void BM_BuildChannelSeries(benchmark::State& state) {
    FiveLaps laps;
    NullEngine engine;
    movrane::TelemetryGraph graph(laps.doc, engine);
    graph.open();
    int channel = 1;
    for (auto _ : state) {
        channel = channel == 1 ? 3 : 1;
        graph.chooseChannel(channel);
        benchmark::DoNotOptimize(graph.series().size());
    }
}
BENCHMARK(BM_BuildChannelSeries)->Unit(benchmark::kMillisecond);

void BM_SwitchChannelAndReplot(benchmark::State& state) {
    FiveLaps laps;
    movrane::gui::GraphView view;
    view.resize(1000, 600);
    view.show();
    movrane::TelemetryGraph graph(laps.doc, view);
    graph.open();
    graph.setTimeDifference(false);
    int channel = 1;
    for (auto _ : state) {
        channel = channel == 1 ? 3 : 1;
        graph.chooseChannel(channel);
        view.plot()->replot(QCustomPlot::rpImmediateRefresh);
    }
}
BENCHMARK(BM_SwitchChannelAndReplot)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
