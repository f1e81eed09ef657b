#include "BenchReplay.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "samplekit/SampleData.h"

namespace bench {

namespace fs = std::filesystem;

BenchReplay::BenchReplay(const std::string& name, int practiceLaps, int raceLaps) {
    path_ = (fs::temp_directory_path() / ("movrane-bench-" + std::to_string(::getpid()) + "-" + name)).string();
    const auto start = std::chrono::steady_clock::now();
    samplekit::writeSimulatedReplay(path_, samplekit::sampleRaceSpec(20, practiceLaps, raceLaps, 11),
                                    samplekit::sampleHeader(false));
    writeSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    writerPeakRssMB_ = usage.ru_maxrss / 1024.0;
    size_ = fs::file_size(path_);
    if (header_.load(path_) != 0 || drivers_.load(path_) != 0) throw std::runtime_error("unreadable bench replay");
}

BenchReplay::~BenchReplay() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

uint64_t BenchReplay::rawRead() const {
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) throw std::runtime_error("cannot open the bench replay");
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

double BenchReplay::rawBytesPerSecond() const {
    if (rawBytesPerSecond_ > 0) return rawBytesPerSecond_;
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        rawRead();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    rawBytesPerSecond_ = static_cast<double>(size_) / best;
    return rawBytesPerSecond_;
}

void BenchReplay::dropFromPageCache() const {
    const int fd = ::open(path_.c_str(), O_RDONLY);
    if (fd < 0) throw std::runtime_error("cannot open the bench replay");
    // Only clean pages leave the cache: the written bytes go to the disk first.
    const bool dropped = ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    if (!dropped) throw std::runtime_error("cannot drop the bench replay from the page cache");
}

const BenchReplay& largeRace() {
    static const BenchReplay replay("large.rpy", 2, 92);
    return replay;
}

}  // namespace bench
