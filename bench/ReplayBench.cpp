// Reading a race replay of about 100 MB: the driver-table load and a full forward walk of
// all frames and items, beside plain sequential reading of the same file. Target for the
// walk: at least 0.7 of the raw read throughput (the walk_vs_raw_read counter).
#include <benchmark/benchmark.h>

#include <chrono>

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
    const double rawBytesPerSecond = r.rawBytesPerSecond();
    uint64_t frames = 0, items = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
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
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * r.size()));
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["items"] = static_cast<double>(items);
    const double walkBytesPerSecond = static_cast<double>(state.iterations() * r.size()) / elapsed;
    state.counters["walk_vs_raw_read"] = walkBytesPerSecond / rawBytesPerSecond;
}
BENCHMARK(BM_FrameWalkAllItems)->Unit(benchmark::kMillisecond);

}  // namespace
