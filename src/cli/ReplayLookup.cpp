#include "cli/ReplayLookup.h"

#include <filesystem>

#include "cli/OrvOption.h"

namespace cli {

bool takeReplayInstallation(Args& args, std::string& orv) { return takeOrvOption(args, orv); }

std::string resolveReplay(const std::string& replay, const std::string& orv) {
    std::error_code ec;
    if (orv.empty() || std::filesystem::exists(replay, ec)) return replay;
    return movrane::Installation(orv).path("replay/" + replay);
}

const char* ReplayReaders::load(const std::string& path) {
    if (header.load(path) != movrane::Header::OK) return header.errorMessage();
    if (drivers.load(path) != movrane::Drivers::OK) return movrane::Drivers::errorMessage();
    return nullptr;
}

}  // namespace cli
