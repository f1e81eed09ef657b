// movrane-cli players [--orv DIR]: the player list as the player choosers show it.
#include <cstdio>

#include "cli/Commands.h"
#include "cli/OrvOption.h"

namespace cli {

void printPlayersUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli players [--orv DIR]\n"
                 "  prints the player list entries, one a line: the entry text, a tab, the player's folder\n"
                 "  players whose player.ini cannot be read are left out\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation directory\n");
}

int runPlayers(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    if (!takeOrvOption(args, orv) || !args.empty()) {
        printPlayersUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    for (const auto& player : installation->players())
        std::printf("%s\t%s\n", player.text.c_str(), player.directory.c_str());
    return EXIT_OK;
}

}  // namespace cli
