#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace bench {

// A generated race replay of the sample field, written once into the temporary folder and
// removed at exit, with its header and driver table read. The writer streams its frames,
// so writing a large replay keeps the memory of a small one.
class BenchReplay {
public:
    BenchReplay(const std::string& name, int practiceLaps, int raceLaps);
    ~BenchReplay();
    BenchReplay(const BenchReplay&) = delete;
    BenchReplay& operator=(const BenchReplay&) = delete;

    const std::string& path() const { return path_; }
    uint64_t size() const { return size_; }
    const movrane::Header& header() const { return header_; }
    const movrane::Drivers& drivers() const { return drivers_; }
    double writeSeconds() const { return writeSeconds_; }
    double writerPeakRssMB() const { return writerPeakRssMB_; }

    // Reads the whole file with plain large reads; gives the bytes read.
    uint64_t rawRead() const;
    // The best of three plain reads, in bytes per second.
    double rawBytesPerSecond() const;
    // Drops the file's pages from the page cache, so that the next read comes from the disk
    // as the first read of a replay just copied or downloaded does.
    void dropFromPageCache() const;

private:
    std::string path_;
    uint64_t size_ = 0;
    movrane::Header header_;
    movrane::Drivers drivers_;
    double writeSeconds_ = 0;
    double writerPeakRssMB_ = 0;
    mutable double rawBytesPerSecond_ = 0;
};

// Where the file's bytes come from in a timing: the page cache (a replay read before), or
// the disk (a replay read for the first time).
enum class Cache { Warm, Cold };

// Runs `work` once per benchmark iteration, each time beside a plain read of the same
// file, and sets the counter `name` to the work's throughput as a share of the plain
// read's. Timing both side by side keeps the share steady on a busy machine. Cold, the
// file leaves the page cache before the plain read and before the work.
template <class Work>
void timeBesideRawRead(benchmark::State& state, const BenchReplay& replay, const char* name, Work&& work,
                       Cache cache = Cache::Warm) {
    double rawSeconds = 0;
    double workSeconds = 0;
    for (auto _ : state) {
        if (cache == Cache::Cold) replay.dropFromPageCache();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(replay.rawRead());
        const auto middle = std::chrono::steady_clock::now();
        if (cache == Cache::Cold) replay.dropFromPageCache();
        const auto restart = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        rawSeconds += std::chrono::duration<double>(middle - start).count();
        workSeconds += std::chrono::duration<double>(end - restart).count();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * replay.size()));
    state.counters["raw_read_ms"] = rawSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters[name] = workSeconds > 0 ? rawSeconds / workSeconds : 0;
}

// About 100 MB: a practice of two laps and a race of 92 laps of 20 cars.
const BenchReplay& largeRace();

}  // namespace bench
