// The lap finder's scan over a library of 1,000 race replays of 20 drivers on one track:
// every file's header and driver table is read. "Cold" evicts the files from the page
// cache before each scan, so it pays the disk reads; "warm" scans again at once.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/library/LapFinder.h"
#include "core/platform/SilentUi.h"
#include "samplekit/SampleData.h"
#include "samplekit/Simulator.h"

namespace {

namespace fs = std::filesystem;

constexpr int REPLAYS = 1000;

class ReplayLibrary {
public:
    ReplayLibrary() : root_(fs::temp_directory_path() / ("movrane-bench-library-" + std::to_string(::getpid()))) {
        fs::create_directories(root_ / "replay");
        const fs::path first = root_ / "replay" / "race0000.rpy";
        samplekit::writeSimulatedReplay(first, samplekit::sampleRaceSpec(20, 1, 1, 11), samplekit::sampleHeader(false));
        fileBytes_ = fs::file_size(first);
        for (int i = 1; i < REPLAYS; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "race%04d.rpy", i);
            fs::copy_file(first, root_ / "replay" / name);
        }
    }
    ~ReplayLibrary() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    std::string installation() const { return root_.string(); }
    uintmax_t fileBytes() const { return fileBytes_; }

    // Writes the files out and drops their pages from the page cache.
    void evict() const {
        for (const auto& entry : fs::directory_iterator(root_ / "replay")) {
            const int fd = ::open(entry.path().c_str(), O_RDONLY);
            if (fd < 0) continue;
            ::fdatasync(fd);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
        }
    }

private:
    fs::path root_;
    uintmax_t fileBytes_ = 0;
};

const ReplayLibrary& library() {
    static const ReplayLibrary instance;
    return instance;
}

void scan(benchmark::State& state, bool cold) {
    const ReplayLibrary& lib = library();
    movrane::SilentUi ui(nullptr);
    std::size_t rows = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            lib.evict();
            state.ResumeTiming();
        }
        movrane::LapFinder finder({lib.installation(), {}, false}, ui);
        finder.chooseFilter(movrane::LapFinder::Filter::All);
        finder.chooseTrack("harbour");
        rows = finder.rows().size();
        if (finder.filesScanned() != REPLAYS) state.SkipWithError("not every replay was scanned");
    }
    state.counters["replays"] = REPLAYS;
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["replay_MB"] = static_cast<double>(lib.fileBytes()) / 1e6;
}

void BM_LapFinderScanCold(benchmark::State& state) { scan(state, true); }
BENCHMARK(BM_LapFinderScanCold)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LapFinderScanWarm(benchmark::State& state) { scan(state, false); }
BENCHMARK(BM_LapFinderScanWarm)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
