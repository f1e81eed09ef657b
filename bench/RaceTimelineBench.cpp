// The race timeline of a race replay of about 100 MB: its load timed beside a plain
// sequential read of the same file (timeline_vs_raw_read), its memory, and one playback
// tick of the race with 20 cars, which must stay well under 10 ms.
#include <benchmark/benchmark.h>

#include "BenchReplay.h"
#include "core/app/RaceReplay.h"
#include "core/platform/SilentUi.h"
#include "core/replay/RaceTimeline.h"

namespace {

void BM_RaceTimelineLoad(benchmark::State& state) {
    const bench::BenchReplay& r = bench::largeRace();
    movrane::SilentUi ui;
    uint32_t frames = 0;
    bench::timeBesideRawRead(state, r, "timeline_vs_raw_read", [&] {
        movrane::RaceTimeline timeline;
        frames = timeline.load(r.path(), r.header(), r.drivers(), ui);
        if (frames == 0) state.SkipWithError(timeline.failureText().c_str());
    });
    state.counters["frames"] = frames;
    // Per frame: time and status code; per car: lap position, lateral and orientation.
    state.counters["memory_MB"] = frames * (5.0 + r.drivers().count() * 10.0) / 1e6;
}
BENCHMARK(BM_RaceTimelineLoad)->Unit(benchmark::kMillisecond);

// What a race tick computes: the frame two steps on, its cars in the order on track, the
// bar's texts for a focused driver and the car the map follows.
void BM_RaceTick(benchmark::State& state) {
    const bench::BenchReplay& r = bench::largeRace();
    movrane::SilentUi ui;
    movrane::RaceReplay race;
    if (!race.load(r.path(), r.header(), r.drivers(), ui)) {
        state.SkipWithError(race.failureText().c_str());
        return;
    }
    race.chooseDriver(5);
    int frame = 0;
    for (auto _ : state) {
        frame = (frame + 2) % static_cast<int>(race.frameCount());
        race.showFrame(frame);
        benchmark::DoNotOptimize(race.followedCar());
    }
    state.counters["cars"] = static_cast<double>(race.timeline().driverCount());
}
BENCHMARK(BM_RaceTick)->Unit(benchmark::kMicrosecond);

}  // namespace
