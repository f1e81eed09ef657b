#include "cli/OrvOption.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/library/Prefs.h"
#include "core/platform/RegistryStore.h"

namespace cli {

bool takeOrvOption(Args& args, std::string& orvOverride) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--orv=", 0) == 0) {
            orvOverride = args[i].substr(6);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else if (args[i] == "--orv") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "movrane-cli: --orv needs a directory\n");
                return false;
            }
            orvOverride = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else {
            continue;
        }
        if (orvOverride.empty()) {
            std::fprintf(stderr, "movrane-cli: --orv needs a directory\n");
            return false;
        }
        --i;
    }
    return true;
}

std::optional<movrane::Installation> chooseInstallation(const std::string& orvOverride) {
    std::string directory = orvOverride;
    if (directory.empty()) {
        directory = movrane::Prefs::get().orvDirectory();
        printStoreNotices();
    }
    if (directory.empty()) {
        std::fprintf(stderr,
                     "movrane-cli: no installation directory: set it with 'movrane-cli settings set OrvDirectory "
                     "DIR' or give --orv DIR\n");
        return std::nullopt;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(directory, ec)) {
        std::fprintf(stderr, "movrane-cli: the installation directory %s is not a folder\n", directory.c_str());
        return std::nullopt;
    }
    movrane::Installation installation(directory);
    if (!installation.isValid())
        std::fprintf(stderr, "movrane-cli: warning: %s does not hold orv.exe\n", directory.c_str());
    return installation;
}

void printStoreNotices() {
    for (const std::string& notice : movrane::takeStoreNotices()) std::fprintf(stderr, "movrane-cli: %s\n", notice.c_str());
}

movrane::LibraryFolders libraryFolders(const movrane::Installation& installation) {
    movrane::LibraryFolders folders = movrane::LibraryFolders::fromPrefs();
    folders.installation = installation.directory();
    return folders;
}

std::optional<movrane::RecordsTable> collectPlayerBests(const std::string& orvOverride, int index,
                                                        const movrane::CollectOptions& options, movrane::Ui& ui) {
    const auto installation = chooseInstallation(orvOverride);
    if (!installation) return std::nullopt;
    return movrane::collectPersonalBests(libraryFolders(*installation), index, options, ui);
}

}  // namespace cli
