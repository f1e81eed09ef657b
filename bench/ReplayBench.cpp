// Reading a race replay of about 100 MB: the driver-table load, a full forward walk of all
// frames and items, and plain sequential reading of the same file for comparison. The
// replay is written once per run into a temporary folder; the writer streams its frames,
// so the peak resident size stays that of a small replay whatever the file's length.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/replay/BufferedFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"

namespace {

constexpr int RACE_LAPS = 98;  // about 100 MB with 20 cars

struct BigReplay {
    std::filesystem::path dir;
    std::string path;
    uint64_t size = 0;
    uint64_t streamOffset = 0;
    double writeSeconds = 0;
    double peakRssMB = 0;
    double rawBytesPerSecond = 0;

    BigReplay() {
        std::string pattern = (std::filesystem::temp_directory_path() / "movrane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        dir = pattern;
        path = (dir / "long_race.rpy").string();
        const auto t0 = std::chrono::steady_clock::now();
        samplekit::writeSimulatedReplay(path, samplekit::sampleRaceSpec(20, 0, RACE_LAPS, 99), samplekit::sampleHeader(false));
        writeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        size = std::filesystem::file_size(path);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        peakRssMB = usage.ru_maxrss / 1024.0;
        movrane::Drivers d;
        if (d.load(path) != movrane::Drivers::OK) throw std::runtime_error("the written replay does not load");
        streamOffset = d.streamOffset();
        // Best of three plain reads gives the reference throughput.
        double best = 1e9;
        for (int i = 0; i < 3; ++i) {
            const auto s = std::chrono::steady_clock::now();
            rawRead();
            best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - s).count());
        }
        rawBytesPerSecond = static_cast<double>(size) / best;
    }

    ~BigReplay() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    uint64_t rawRead() const {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) throw std::runtime_error("cannot open the replay");
        std::vector<char> buffer(1 << 20);
        uint64_t total = 0;
        uint64_t sum = 0;
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            total += static_cast<uint64_t>(got);
            sum += static_cast<unsigned char>(buffer[static_cast<std::size_t>(got - 1)]);
        }
        ::close(fd);
        benchmark::DoNotOptimize(sum);
        return total;
    }
};

const BigReplay& replay() {
    static const BigReplay r;
    return r;
}

void BM_RawSequentialRead(benchmark::State& state) {
    const BigReplay& r = replay();
    for (auto _ : state) benchmark::DoNotOptimize(r.rawRead());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * r.size));
    state.counters["file_MB"] = static_cast<double>(r.size) / 1e6;
    state.counters["write_s"] = r.writeSeconds;
    state.counters["writer_peak_rss_MB"] = r.peakRssMB;
}
BENCHMARK(BM_RawSequentialRead)->Unit(benchmark::kMillisecond);

void BM_DriversLoad(benchmark::State& state) {
    const BigReplay& r = replay();
    for (auto _ : state) {
        movrane::Drivers d;
        if (d.load(r.path) != movrane::Drivers::OK) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(d.count());
    }
}
BENCHMARK(BM_DriversLoad)->Unit(benchmark::kMillisecond);

void BM_FrameWalkAllItems(benchmark::State& state) {
    const BigReplay& r = replay();
    uint64_t frames = 0, items = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        movrane::BufferedFile file;
        if (!file.open(r.path)) state.SkipWithError("open failed");
        movrane::FrameWalker walker(file, r.streamOffset);
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
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * r.size));
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["items"] = static_cast<double>(items);
    // Walk throughput (wall clock) as a share of plain sequential reading of the same file.
    const double walkBytesPerSecond = static_cast<double>(state.iterations() * r.size) / elapsed;
    state.counters["walk_vs_raw_read"] = walkBytesPerSecond / r.rawBytesPerSecond;
}
BENCHMARK(BM_FrameWalkAllItems)->Unit(benchmark::kMillisecond);

}  // namespace
