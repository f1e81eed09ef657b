// movrane-sample DIR: writes the sample installation that the demo and the tests use.
#include <cstdio>
#include <exception>

#include "samplekit/SampleInstallation.h"

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: movrane-sample DIR\n  writes a sample simulator installation into DIR\n");
        return argc == 2 ? 0 : 1;
    }
    try {
        samplekit::writeSampleInstallation(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "movrane-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
