#include "cli/Output.h"

#include <cstdio>

#include "cli/Commands.h"
#include "core/platform/Files.h"

namespace cli {

int writeOutput(const std::string& path, const std::string& bytes) {
    if (path == "-") {
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
        if (written && std::fflush(stdout) == 0) return EXIT_OK;
    } else if (movrane::writeFileAtomically(path, bytes)) {
        return EXIT_OK;
    }
    std::fprintf(stderr, "Error creating file!\n%s\n", path.c_str());
    return EXIT_WRITE_FAILED;
}

}  // namespace cli
