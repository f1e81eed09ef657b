// Track geometry: loading the sample circuit and placing a lap's samples on its map.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/track/Track.h"
#include "core/track/TrackProjection.h"
#include "samplekit/SampleCircuit.h"

namespace {

std::string sampleTrackFile() {
    static const std::filesystem::path folder = std::filesystem::temp_directory_path() / "movrane-bench-track";
    samplekit::writeSampleTrack(folder);
    return (folder / "tracks" / "harbour" / "harbour.trk").string();
}

void BM_LoadSampleTrack(benchmark::State& state) {
    const std::string path = sampleTrackFile();
    for (auto _ : state) benchmark::DoNotOptimize(movrane::Track::load(path));
}
BENCHMARK(BM_LoadSampleTrack);

// One lap at 36 samples per second and about 180 km/h: 2500 samples.
void BM_MapPointsOfALap(benchmark::State& state) {
    const auto track = movrane::Track::load(sampleTrackFile());
    const movrane::TrackProjection projection(*track);
    const double step = track->lapLength() / 2500.0;
    for (auto _ : state) {
        for (double d = 0.0; d < track->lapLength(); d += step) benchmark::DoNotOptimize(projection.mapPoint(d, 1.5));
    }
}
BENCHMARK(BM_MapPointsOfALap);

}  // namespace
