// Reports: the mechanical scan of a 100 MB race replay beside raw sequential reading of the
// same file (target: at least 0.7 of the raw throughput), and all basic reports of a
// 20-driver, 80-lap race (target: well under 50 ms).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"
#include "samplekit/SampleData.h"

namespace {

namespace fs = std::filesystem;

// A generated race replay with its readers, written once per run and removed at exit.
class BenchReplay {
public:
    BenchReplay(const std::string& name, int raceLaps) {
        path_ = (fs::temp_directory_path() / ("movrane-bench-" + std::to_string(::getpid()) + "-" + name)).string();
        samplekit::writeSimulatedReplay(path_, samplekit::sampleRaceSpec(20, 2, raceLaps, 11),
                                        samplekit::sampleHeader(false));
        if (header_.load(path_) != 0 || drivers_.load(path_) != 0) throw std::runtime_error("unreadable bench replay");
    }
    ~BenchReplay() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    const std::string& path() const { return path_; }
    movrane::Report report() const { return movrane::Report(header_, drivers_, path_); }
    int64_t size() const { return static_cast<int64_t>(fs::file_size(path_)); }

private:
    std::string path_;
    movrane::Header header_;
    movrane::Drivers drivers_;
};

// 92 laps of the sample field make a replay of about 100 MB.
const BenchReplay& largeRace() {
    static const BenchReplay replay("large.rpy", 92);
    return replay;
}

const BenchReplay& eightyLapRace() {
    static const BenchReplay replay("eighty.rpy", 80);
    return replay;
}

void BM_MechanicalScanRawRead(benchmark::State& state) {
    const BenchReplay& replay = largeRace();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(replay.path().c_str(), O_RDONLY);
        int64_t total = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) total += got;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * replay.size());
}
BENCHMARK(BM_MechanicalScanRawRead)->Unit(benchmark::kMillisecond);

void BM_MechanicalScan(benchmark::State& state) {
    const BenchReplay& replay = largeRace();
    for (auto _ : state) {
        movrane::Report report = replay.report();
        benchmark::DoNotOptimize(report.generate(movrane::ReportKind::Mechanical).size());
    }
    state.SetBytesProcessed(state.iterations() * replay.size());
}
BENCHMARK(BM_MechanicalScan)->Unit(benchmark::kMillisecond);

void BM_BasicReports(benchmark::State& state) {
    const BenchReplay& replay = eightyLapRace();
    for (auto _ : state) {
        movrane::Report report = replay.report();
        for (auto kind : {movrane::ReportKind::Practice, movrane::ReportKind::Race, movrane::ReportKind::LapChart,
                          movrane::ReportKind::LapByLap, movrane::ReportKind::Complete}) {
            benchmark::DoNotOptimize(report.generate(kind).size());
        }
    }
}
BENCHMARK(BM_BasicReports)->Unit(benchmark::kMillisecond);

}  // namespace
