// Reading a race replay of about 100 MB: the driver-table load and a full forward walk of
// all frames and items, each walk timed beside a plain sequential read of the same file.
// Target for the walk: at least 0.7 of the raw read throughput (walk_vs_raw_read).
#include <benchmark/benchmark.h>

#include "BenchReplay.h"
#include "core/replay/BufferedFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"

namespace {

void BM_RawSequentialRead(benchmark::State& state) {
    const bench::BenchReplay& r = bench::largeRace();
    for (auto _ : state) benchmark::DoNotOptimize(r.rawRead());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * r.size()));
    state.counters["file_MB"] = static_cast<double>(r.size()) / 1e6;
    state.counters["write_s"] = r.writeSeconds();
    state.counters["writer_peak_rss_MB"] = r.writerPeakRssMB();
}
BENCHMARK(BM_RawSequentialRead)->Unit(benchmark::kMillisecond);

void BM_DriversLoad(benchmark::State& state) {
    const bench::BenchReplay& r = bench::largeRace();
    for (auto _ : state) {
        movrane::Drivers d;
        if (d.load(r.path()) != movrane::Drivers::OK) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(d.count());
    }
}
BENCHMARK(BM_DriversLoad)->Unit(benchmark::kMillisecond);

void BM_FrameWalkAllItems(benchmark::State& state) {
    const bench::BenchReplay& r = bench::largeRace();
    uint64_t frames = 0, items = 0;
    bench::timeBesideRawRead(state, r, "walk_vs_raw_read", [&] {
        movrane::BufferedFile file;
        if (!file.open(r.path())) state.SkipWithError("open failed");
        movrane::FrameWalker walker(file, r.drivers().streamOffset());
        frames = items = 0;
        uint64_t types = 0;
        while (walker.nextFrame()) {
            ++frames;
            while (walker.nextItem()) {
                ++items;
                types += walker.item().type;
            }
        }
        if (walker.failed()) state.SkipWithError("walk failed");
        benchmark::DoNotOptimize(types);
    });
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_FrameWalkAllItems)->Unit(benchmark::kMillisecond);

}  // namespace
