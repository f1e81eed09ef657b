// movrane-cli settings [set NAME VALUE]: the effective preferences and where they come from.
#include <cstdio>

#include "cli/Commands.h"
#include "cli/OrvOption.h"
#include "core/library/Prefs.h"

namespace cli {

void printSettingsUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: movrane-cli settings\n"
                 "       movrane-cli settings set NAME VALUE\n"
                 "  prints every setting with its type and where its value comes from, or changes one\n"
                 "  setting (NAME as printed, any case; VALUE checked against its type)\n"
                 "  the store is $MOVRANE_CONFIG_DIR, else $XDG_CONFIG_HOME/Movrane, else ~/.config/Movrane\n"
                 "  exit status: 0 success, 1 usage error or bad value, 3 the store cannot be written\n");
}

namespace {

int printSettings() {
    movrane::Prefs& prefs = movrane::Prefs::get();
    printStoreNotices();
    std::printf("store: %s\n", prefs.store().filePath(movrane::RootKey::CurrentUser).c_str());
    for (const auto& entry : prefs.entries()) {
        std::printf("%s = %s  (%s; %s)\n", entry.name.c_str(), entry.value.c_str(), entry.type.c_str(),
                    entry.origin.c_str());
    }
    std::printf("program directory: %s\n", prefs.programDirectory().c_str());
    return EXIT_OK;
}

int setSetting(const std::string& name, const std::string& value) {
    movrane::Prefs& prefs = movrane::Prefs::get();
    printStoreNotices();
    std::string error;
    const auto result = prefs.setAndSave(name, value, error);
    if (result == movrane::Prefs::SetResult::Done) return EXIT_OK;
    std::fprintf(stderr, "movrane-cli settings: %s\n", error.c_str());
    return result == movrane::Prefs::SetResult::NotWritten ? EXIT_WRITE_FAILED : EXIT_USAGE;
}

}  // namespace

int runSettings(const Args& args) {
    if (args.empty()) return printSettings();
    if (args.size() == 3 && args[0] == "set") return setSetting(args[1], args[2]);
    printSettingsUsage(stderr);
    return EXIT_USAGE;
}

}  // namespace cli
