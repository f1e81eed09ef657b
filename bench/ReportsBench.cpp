// Reports: the mechanical scan of a 100 MB race replay as a share of raw sequential reading
// of the same file (scan_vs_raw_read, target: at least 0.7), the other scanning reports on
// the same replay (engine detection, detailed race report, and the lap-time verifier of the
// winner's last lap, which walks the stream up to the lap twice; target: at least 0.5),
// and all basic reports of a 20-driver, 80-lap race (target: well under 50 ms). The scans
// run with the replay in the page cache (cold:0) and read from the disk (cold:1).
#include <benchmark/benchmark.h>

#include "BenchReplay.h"
#include "core/reports/LapTimeReports.h"
#include "core/reports/Report.h"
#include "samplekit/SampleData.h"

namespace {

const bench::BenchReplay& eightyLapRace() {
    static const bench::BenchReplay replay("eighty.rpy", 2, 80);
    return replay;
}

movrane::Report reportOf(const bench::BenchReplay& replay) {
    return movrane::Report(replay.header(), replay.drivers(), replay.path());
}

bench::Cache cacheOf(const benchmark::State& state) { return state.range(0) != 0 ? bench::Cache::Cold : bench::Cache::Warm; }

void warmAndCold(benchmark::internal::Benchmark* b) { b->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond); }

void BM_MechanicalScan(benchmark::State& state) {
    const bench::BenchReplay& replay = bench::largeRace();
    bench::timeBesideRawRead(state, replay, "scan_vs_raw_read", [&] {
        movrane::Report report = reportOf(replay);
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::Mechanical).size());
    }, cacheOf(state));
}
BENCHMARK(BM_MechanicalScan)->Apply(warmAndCold);

void BM_EngineDetection(benchmark::State& state) {
    const bench::BenchReplay& replay = bench::largeRace();
    bench::timeBesideRawRead(state, replay, "scan_vs_raw_read", [&] {
        movrane::Report report = reportOf(replay);
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::EngineDetection).size());
    }, cacheOf(state));
}
BENCHMARK(BM_EngineDetection)->Apply(warmAndCold);

void BM_DetailedRace(benchmark::State& state) {
    const bench::BenchReplay& replay = bench::largeRace();
    bench::timeBesideRawRead(state, replay, "scan_vs_raw_read", [&] {
        movrane::Report report = reportOf(replay);
        report.setLaps({{}, samplekit::sampleLapLength(), false});
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::DetailedRace).size());
    }, cacheOf(state));
}
BENCHMARK(BM_DetailedRace)->Apply(warmAndCold);

void BM_VerifyLastLap(benchmark::State& state) {
    const bench::BenchReplay& replay = bench::largeRace();
    const movrane::Drivers& drivers = replay.drivers();
    const int lap = drivers.lapCount(0, movrane::RACE);
    bench::timeBesideRawRead(state, replay, "scan_vs_raw_read", [&] {
        const auto v = movrane::verifyLap(drivers, 0, lap, movrane::RACE, samplekit::sampleLapLength());
        benchmark::DoNotOptimize(v.methodA);
    }, cacheOf(state));
}
BENCHMARK(BM_VerifyLastLap)->Apply(warmAndCold);

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
