#pragma once

#include <string>

#include "cli/Commands.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace cli {

// Takes "--orv DIR" out of args (see OrvOption.h); false, with a message, when it has no DIR.
bool takeReplayInstallation(Args& args, std::string& orv);

// A replay not found as given is looked up in the replay folder of the installation `orv`
// (when one was named).
std::string resolveReplay(const std::string& replay, const std::string& orv);

// A replay's header and driver table.
struct ReplayReaders {
    movrane::Header header;
    movrane::Drivers drivers;
    // Reads both; false, with the failing reader's fixed message and the path on stderr,
    // when one of them fails.
    bool load(const std::string& path);
};

}  // namespace cli
