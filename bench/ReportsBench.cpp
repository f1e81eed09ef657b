// Reports: the mechanical scan of a 100 MB race replay as a share of raw sequential reading
// of the same file (scan_vs_raw_read, target: at least 0.7), and all basic reports of a
// 20-driver, 80-lap race (target: well under 50 ms).
#include <benchmark/benchmark.h>

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
    bench::timeBesideRawRead(state, replay, "scan_vs_raw_read", [&] {
        movrane::Report report = reportOf(replay);
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::Mechanical).size());
    });
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
