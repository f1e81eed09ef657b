#pragma once

#include <string>

#include "cli/Commands.h"

namespace cli {

// Takes "--orv DIR" out of args (see OrvOption.h); false, with a message, when it has no DIR.
bool takeReplayInstallation(Args& args, std::string& orv);

// A replay not found as given is looked up in the replay folder of the installation `orv`
// (when one was named).
std::string resolveReplay(const std::string& replay, const std::string& orv);

}  // namespace cli
