// Reports: the mechanical scan of a 100 MB race replay as a share of raw sequential reading
// of the same file (scan_vs_raw_read, target: at least 0.7), and all basic reports of a
// 20-driver, 80-lap race (target: well under 50 ms).
#include <benchmark/benchmark.h>

#include <chrono>

#include "BenchReplay.h"
#include "core/reports/Report.h"

namespace {

const bench::BenchReplay& eightyLapRace() {
    static const bench::BenchReplay replay("eighty.rpy", 2, 80);
    return replay;
}

movrane::Report reportOf(const bench::BenchReplay& replay) {
    return movrane::Report(replay.header(), replay.drivers(), replay.path());
}

void BM_MechanicalScan(benchmark::State& state) {
    const bench::BenchReplay& replay = bench::largeRace();
    const double rawBytesPerSecond = replay.rawBytesPerSecond();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        movrane::Report report = reportOf(replay);
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::Mechanical).size());
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * replay.size()));
    state.counters["scan_vs_raw_read"] =
        static_cast<double>(state.iterations() * replay.size()) / elapsed / rawBytesPerSecond;
}
BENCHMARK(BM_MechanicalScan)->Unit(benchmark::kMillisecond);

void BM_BasicReports(benchmark::State& state) {
    const bench::BenchReplay& replay = eightyLapRace();
    for (auto _ : state) {
        movrane::Report report = reportOf(replay);
        for (auto kind : {movrane::ReportKind::Practice, movrane::ReportKind::Race, movrane::ReportKind::LapChart,
                          movrane::ReportKind::LapByLap, movrane::ReportKind::Complete}) {
            benchmark::DoNotOptimize(report.generate(kind).size());
        }
    }
}
BENCHMARK(BM_BasicReports)->Unit(benchmark::kMillisecond);

}  // namespace
