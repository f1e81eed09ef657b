// movrane-cli timeline --frames K1,K2,... REPLAY: the race timeline as the race bar reads it.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/ReplayLookup.h"
#include "core/platform/SilentUi.h"
#include "core/replay/RaceTimeline.h"

namespace cli {

namespace {

// "0,36,720" as frame numbers; nothing when an entry is not a plain decimal number.
std::optional<std::vector<uint32_t>> parseFrames(const std::string& list) {
    std::vector<uint32_t> frames;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string entry = list.substr(start, comma - start);
        if (entry.empty() || entry.size() > 10 || entry.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        const unsigned long long value = std::stoull(entry);
        if (value > 0xFFFFFFFFull) return std::nullopt;
        frames.push_back(static_cast<uint32_t>(value));
        start = comma + 1;
    }
    return frames;
}

void printFrame(const movrane::RaceTimeline& timeline, const movrane::Drivers& drivers, uint32_t k) {
    const movrane::RaceFrameTexts texts = movrane::raceFrameTexts(timeline, drivers, k, std::nullopt);
    std::printf("%u\t%u\t%u\t%s\t%s\t%s\n", k, timeline.time(k), timeline.statusCode(k), texts.status.c_str(),
                texts.elapsed.c_str(), texts.currentLap.c_str());
    for (const movrane::RaceCar& car : timeline.carsOnTrack(k))
        std::printf("\t%u\t%.3f\t%.3f\t%.3f\n", car.driver, car.distance, car.lateral, car.heading);
}

}  // namespace

void printTimelineUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli timeline --frames K1,K2,... REPLAY\n"
                 "  loads the race of a replay frame by frame as the race bar does and prints\n"
                 "  \"frames\\t<K>\", then for each listed frame k, in the order given:\n"
                 "  k, time in ms, display status code, status text, elapsed time and current lap\n"
                 "  (tab-separated, empty where the race bar shows nothing), followed by one line\n"
                 "  per car present in that frame in the order on track:\n"
                 "  \\t<driver index>\\t<lap distance>\\t<lateral>\\t<heading>\n"
                 "  exit status: 0 success, 1 usage error or a frame outside the race,\n"
                 "  2 the replay or its race cannot be read\n");
}

int runTimeline(const Args& arguments) {
    Args args = arguments;
    std::optional<std::string> frameList;
    if (!takeValue(args, "--frames", frameList) || !frameList || hasOption(args) || args.size() != 1 || args[0].empty()) {
        printTimelineUsage(stderr);
        return EXIT_USAGE;
    }
    const std::optional<std::vector<uint32_t>> frames = parseFrames(*frameList);
    if (!frames) {
        std::fprintf(stderr, "--frames takes frame numbers separated by commas: %s\n", frameList->c_str());
        return EXIT_USAGE;
    }
    ReplayReaders replay;
    if (!replay.load(args[0])) return EXIT_UNREADABLE;
    movrane::SilentUi ui;
    movrane::RaceTimeline timeline;
    const uint32_t count = timeline.load(args[0], replay.header, replay.drivers, ui);
    if (count == 0) {
        std::fprintf(stderr, "%s\n", timeline.failureText().c_str());
        return EXIT_UNREADABLE;
    }
    for (const uint32_t k : *frames) {
        if (k >= count) {
            std::fprintf(stderr, "frame %u lies outside the race, which has %u frames\n", k, count);
            return EXIT_USAGE;
        }
    }
    std::printf("frames\t%u\n", count);
    for (const uint32_t k : *frames) printFrame(timeline, replay.drivers, k);
    return EXIT_OK;
}

}  // namespace cli
