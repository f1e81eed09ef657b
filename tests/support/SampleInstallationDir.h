#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

namespace testsupport {

// The bundled sample installation, written by movrane-sample once per test program into a
// folder of its own (writing it takes a few seconds).
inline const TempDir& sampleInstallationDir() {
    static const TempDir dir;
    static const bool written =
        runCommand(std::string(MOVRANE_SAMPLE_PATH) + " " + dir.path().string()).exitCode == 0;
    EXPECT_TRUE(written);
    return dir;
}

}  // namespace testsupport
