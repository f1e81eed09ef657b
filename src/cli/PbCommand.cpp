// movrane-cli pb PLAYER_INDEX [--orv DIR]: a player's personal bests from player.ini.
#include <charconv>
#include <cstdio>

#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/replay/Cars.h"

namespace cli {

void printPbUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli pb PLAYER_INDEX [--orv DIR]\n"
                 "  prints the personal-best table of a player for every season event: per car the\n"
                 "  training, practice and race times, '-' where player.ini holds none\n"
                 "  PLAYER_INDEX counts from 0 in the list of 'movrane-cli players' (entry number - 1)\n"
                 "  exit status: 0 success, 1 usage error or no such player, 2 no usable installation\n"
                 "  or player.ini cannot be read\n");
}

namespace {

std::string timeText(uint32_t ms) {
    if (ms == movrane::MISSING_TIME) return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
    return buf;
}

bool hasAnyTime(const movrane::CarBests& car) { return car.best() != movrane::MISSING_TIME; }

void printEvent(const movrane::Installation& installation, std::size_t number, const movrane::EventBests& event) {
    const auto names = installation.trackNames(event.trackDirectory);
    std::printf("event %zu: %s (%s)\n", number, event.trackDirectory.c_str(),
                names ? names->longName.c_str() : "no track.ini");
    bool any = false;
    for (int car = 0; car < movrane::CAR_MAKE_COUNT; ++car) {
        const movrane::CarBests& bests = event.cars[car];
        if (!hasAnyTime(bests)) continue;
        any = true;
        std::printf("  %-8s T %-9s P %-9s R %s\n", movrane::carMakeName(car),
                    timeText(bests.sessions[movrane::BEST_TRAINING].ms).c_str(),
                    timeText(bests.sessions[movrane::BEST_PRACTICE].ms).c_str(),
                    timeText(bests.sessions[movrane::BEST_RACE].ms).c_str());
    }
    if (!any) {
        std::printf("  no personal bests\n");
        return;
    }
    const int car = event.bestCar();
    std::printf("  best: %s %s\n", movrane::carMakeName(car), timeText(event.cars[car].best()).c_str());
}

}  // namespace

int runPb(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    std::size_t index = 0;
    const bool parsed = takeOrvOption(args, orv) && args.size() == 1 &&
                        std::from_chars(args[0].data(), args[0].data() + args[0].size(), index).ptr ==
                            args[0].data() + args[0].size();
    if (!parsed) {
        printPbUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    const auto players = installation->players();
    if (index >= players.size()) {
        std::fprintf(stderr, "movrane-cli pb: there is no player %zu (the list has %zu)\n", index, players.size());
        return EXIT_USAGE;
    }
    const movrane::PlayerIni ini = installation->readPlayer(players[index].directory, true);
    if (ini.status != movrane::PlayerIni::Status::Ok) {
        std::fprintf(stderr, "movrane-cli pb: cannot read %s%s\n", ini.path.c_str(),
                     ini.status == movrane::PlayerIni::Status::CannotWriteTemp ? " (cannot write its temporary copy)"
                                                                               : "");
        return EXIT_UNREADABLE;
    }
    std::printf("player: %s (%s)\n", players[index].text.c_str(), ini.path.c_str());
    for (std::size_t i = 0; i < ini.bests.size(); ++i) printEvent(*installation, i + 1, ini.bests[i]);
    return EXIT_OK;
}

}  // namespace cli
