// Loading one lap as the document does (both passes, trim, derivation) from a 100 MB race
// replay: a lap near its start and one near its end, beside the time of reading the whole
// file. A lap's load costs about the bytes up to its window, not the whole file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "BenchReplay.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapDerivation.h"
#include "core/track/Track.h"
#include "core/track/TrackProjection.h"
#include "samplekit/SampleCircuit.h"

namespace {

const movrane::Track& sampleTrack() {
    static const std::unique_ptr<movrane::Track> track = [] {
        const auto folder = std::filesystem::temp_directory_path() / "movrane-bench-track";
        samplekit::writeSampleTrack(folder, "harbour");
        auto loaded = movrane::Track::load((folder / "tracks/harbour/harbour.trk").string());
        std::filesystem::remove_all(folder);
        return loaded;
    }();
    return *track;
}

void loadLap(benchmark::State& state, int lap) {
    const bench::BenchReplay& r = bench::largeRace();
    const movrane::TrackProjection projection(sampleTrack());
    const double rawSeconds = static_cast<double>(r.size()) / r.rawBytesPerSecond();
    for (auto _ : state) {
        movrane::GetRpyInfo info;
        if (info.load(r.drivers(), 1, lap, movrane::RACE) != movrane::GetRpyInfo::OK) state.SkipWithError("load failed");
        info.trim(1);
        movrane::deriveLapQuantities(info, projection);
        benchmark::DoNotOptimize(info.sample(2).speed);
    }
    state.counters["raw_read_whole_file_ms"] = rawSeconds * 1000;
}

void BM_LoadLapNearStart(benchmark::State& state) { loadLap(state, 2); }
BENCHMARK(BM_LoadLapNearStart)->Unit(benchmark::kMillisecond);

void BM_LoadLapNearEnd(benchmark::State& state) { loadLap(state, 90); }
BENCHMARK(BM_LoadLapNearEnd)->Unit(benchmark::kMillisecond);

}  // namespace
