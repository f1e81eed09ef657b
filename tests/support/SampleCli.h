#pragma once

// movrane-cli runs for the command-line tests; the program's path comes from the test
// program's build definitions.

#include <string>

#include "support/SampleLaps.h"
#include "support/TempDir.h"

namespace testsupport {

inline CommandResult cli(const std::string& arguments) {
    return runCommand(std::string(MOVRANE_CLI_PATH) + " " + arguments);
}

// "--orv DIR " naming the sample installation.
inline std::string sampleOrv() { return "--orv " + sampleInstallation().path().string() + " "; }

}  // namespace testsupport
