// movrane-cli cddb create MOUNTPOINT NAME: a replay CD database of a mounted medium.
#include <cstdio>

#include "cli/ArgParsing.h"
#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/library/ReplayCDDatabaseCreator.h"
#include "core/platform/SilentUi.h"

namespace cli {

void printCddbUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli cddb create MOUNTPOINT NAME [--orv DIR] [--overwrite]\n"
                 "  writes the replay CD database NAME.rdb into the installation's replay/MOVRN_CDDB\n"
                 "  folder for every replay below MOUNTPOINT; the medium label is that of the mount\n"
                 "  (volume name and file system). An existing database is kept unless --overwrite\n"
                 "  exit status: 0 success, 1 usage error, 2 no usable installation or no replay on the\n"
                 "  medium, 3 the database was not written\n");
}

namespace {

// The name comes from the command line, once.
class GivenName : public movrane::RpyDBFilename {
public:
    explicit GivenName(std::string name) : name_(std::move(name)) {}
    std::optional<std::string> askName(const std::string&) override {
        if (used_) return std::nullopt;
        used_ = true;
        return name_;
    }

private:
    std::string name_;
    bool used_ = false;
};

// Answers the overwrite question as the command line said.
class CddbUi : public movrane::SilentUi {
public:
    explicit CddbUi(bool overwrite) : SilentUi(stderr), overwrite_(overwrite) {}
    Answer askYesNoCancel(const std::string& text, const std::string& caption) override {
        if (overwrite_) return Answer::Yes;
        const Answer answer = SilentUi::askYesNoCancel(text, caption);
        std::fprintf(stderr, "The existing database is kept; --overwrite replaces it.\n");
        return answer;
    }

private:
    bool overwrite_;
};

class NoDrives : public movrane::DriveList {
public:
    std::vector<movrane::DriveInfo> removableDrives() const override { return {}; }
};

}  // namespace

int runCddb(const Args& arguments) {
    Args args = arguments;
    std::string orv;
    const bool overwrite = takeFlag(args, "--overwrite");
    if (!takeOrvOption(args, orv) || args.size() != 3 || args[0] != "create" || args[2].empty() ||
        hasOption(args)) {
        printCddbUsage(stderr);
        return EXIT_USAGE;
    }
    const auto installation = chooseInstallation(orv);
    if (!installation) return EXIT_UNREADABLE;
    if (movrane::replayFilesBelow(args[1]).empty()) {
        std::fprintf(stderr, "No replay files found on selected media, aborting...\n");
        return EXIT_UNREADABLE;
    }
    CddbUi ui(overwrite);
    NoDrives drives;
    movrane::ReplayCDDatabaseCreator creator(installation->directory(), drives, ui);
    GivenName name(args[2]);
    const auto written = creator.create(movrane::DriveInfo{args[1], movrane::mediumLabelOf(args[1])}, name);
    if (!written) return EXIT_WRITE_FAILED;
    std::printf("%s\n", written->c_str());
    return EXIT_OK;
}

}  // namespace cli
