#pragma once

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

private:
    std::string path_;
    uint64_t size_ = 0;
    movrane::Header header_;
    movrane::Drivers drivers_;
    double writeSeconds_ = 0;
    double writerPeakRssMB_ = 0;
    mutable double rawBytesPerSecond_ = 0;
};

// About 100 MB: a practice of two laps and a race of 92 laps of 20 cars.
const BenchReplay& largeRace();

}  // namespace bench
