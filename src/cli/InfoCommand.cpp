// movrane-cli info REPLAY: what a replay holds, for people and scripts.
#include <cstdio>
#include <string>

#include "cli/Commands.h"
#include "cli/ReplayLookup.h"
#include "core/replay/Cars.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace cli {

namespace {

using movrane::Drivers;
using movrane::Header;
using movrane::Session;

std::string windowText(uint32_t start, uint32_t end) {
    if (start == 0 && end == 0) return "none";
    const std::string endText = end == 0xFFFFFFFF ? "open" : std::to_string(end) + " ms";
    return std::to_string(start) + " ms .. " + endText;
}

// Lap numbers as ranges: "1-3 5 7-9", or "none".
std::string lapRanges(const Drivers& drivers, uint32_t driver, Session s) {
    std::string text;
    const int laps = drivers.lapCount(driver, s);
    for (int k = 1; k <= laps; ++k) {
        if (!drivers.lapValid(driver, s, k)) continue;
        int last = k;
        while (last + 1 <= laps && drivers.lapValid(driver, s, last + 1)) ++last;
        if (!text.empty()) text += ' ';
        text += std::to_string(k);
        if (last > k) text += '-' + std::to_string(last);
        k = last;
    }
    return text.empty() ? "none" : text;
}

void printHeader(const Header& h) {
    std::printf("version: %u (%s)\n", h.version(), h.versionText());
    std::printf("track: %s\n", h.trackName().c_str());
    std::printf("car set: %s\n", h.carSetName().c_str());
    std::printf("session type: %s\n", h.sessionTypeName());
    std::printf("session kind: %u\n", h.sessionKind());
    std::printf("difficulty: %s\n", h.difficultyName());
    std::printf("scheduled laps: %u\n", h.scheduledLaps());
    const uint32_t frames = h.recordedFrames();
    std::printf("recorded length: %um %02us (%u frames)\n", frames / 2160, (frames / 36) % 60, frames);
    std::printf("count: %u\n", h.count156());
    std::printf("player names: %s %s\n", h.playerName1().c_str(), h.playerName2().c_str());
}

void printSessions(const Drivers& d) {
    std::printf("file date: %s\n", d.fileDate().c_str());
    std::printf("practice: %s, window %s\n", d.practicePresent() ? "table" : "no table",
                windowText(d.practiceStart(), d.practiceEnd()).c_str());
    std::printf("race: %s, window %s, session id %u\n", d.racePresent() ? "table" : "no table",
                windowText(d.raceStart(), d.raceEnd()).c_str(), d.raceSessionId());
    std::printf("stream: offset %llu, %u bytes\n", static_cast<unsigned long long>(d.streamOffset()),
                d.streamLength());
    std::printf("last frame counter: %u\n", d.lastFrameCounter());
    if (d.playerIndex() < d.count()) {
        std::printf("player: %u%s\n", d.playerIndex(), d.playerMismatch() ? " (found by name)" : "");
    } else {
        std::printf("player: none\n");
    }
}

void printDrivers(const Drivers& d) {
    std::printf("drivers: %u\n", d.count());
    for (uint32_t i = 0; i < d.count(); ++i) {
        const auto& r = d.driver(i);
        std::printf("driver %u: %s %s\n", i, r.name1.c_str(), r.name2.c_str());
        std::printf("  slot %u, car number %u, %s, %s, %s%s\n", r.slot, r.carNumber, r.nationalityCode.c_str(),
                    movrane::carMakeName(r.carMake), r.ai ? "AI" : "human", d.isPlayer(i) ? ", player" : "");
        if (!r.standardCar) {
            std::printf("  mod car: class %u, year %d\n", r.carClass, r.year);
        }
        for (Session s : {movrane::PRACTICE, movrane::RACE}) {
            std::printf("  %s: %d laps, valid: %s\n", s == movrane::PRACTICE ? "practice" : "race",
                        d.lapCount(i, s), lapRanges(d, i, s).c_str());
        }
    }
}

}  // namespace

void printInfoUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli info REPLAY\n"
                 "  prints the header fields, the session windows and every driver of a replay:\n"
                 "  names, nationality, car make, AI flag, slot, and per session the lap count\n"
                 "  and the valid laps (laps whose data is in the file)\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read\n");
}

int runInfo(const Args& args) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        printInfoUsage(stderr);
        return EXIT_USAGE;
    }
    const std::string& path = args[0];
    ReplayReaders replay;
    if (!replay.load(path)) return EXIT_UNREADABLE;
    std::printf("file: %s\n", path.c_str());
    printHeader(replay.header);
    printSessions(replay.drivers);
    printDrivers(replay.drivers);
    return EXIT_OK;
}

}  // namespace cli
