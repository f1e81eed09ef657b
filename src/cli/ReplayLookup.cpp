#include "cli/ReplayLookup.h"

#include <cstdio>
#include <filesystem>

#include "cli/OrvOption.h"

namespace cli {

bool takeReplayInstallation(Args& args, std::string& orv) { return takeOrvOption(args, orv); }

std::string resolveReplay(const std::string& replay, const std::string& orv) {
    std::error_code ec;
    if (orv.empty() || std::filesystem::exists(replay, ec)) return replay;
    return movrane::Installation(orv).path("replay/" + replay);
}

bool ReplayReaders::load(const std::string& path) {
    const char* failure = nullptr;
    if (header.load(path) != movrane::Header::OK) {
        failure = header.errorMessage();
    } else if (drivers.load(path) != movrane::Drivers::OK) {
        failure = movrane::Drivers::errorMessage();
    }
    if (failure) std::fprintf(stderr, "%s\n%s\n", failure, path.c_str());
    return failure == nullptr;
}

}  // namespace cli
