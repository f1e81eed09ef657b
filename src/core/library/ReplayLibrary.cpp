#include "core/library/ReplayLibrary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/library/Prefs.h"
#include "core/library/ReplayDatabase.h"
#include "core/library/ReplayIndex.h"
#include "core/platform/Paths.h"
#include "core/platform/Singleton.h"
#include "core/platform/Ui.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"

namespace movrane {

LibraryFolders LibraryFolders::fromPrefs() {
    const Prefs& prefs = Singleton<Prefs>::instance();
    return LibraryFolders{prefs.orvDirectory(), prefs.altRpyPath(), prefs.exclusionMessages() == 1,
                          ReplayIndex::defaultPath()};
}

std::string LibraryFolders::replayFolder() const { return resolveUnder(installation, "replay"); }

std::string LibraryFolders::databaseFolder() const { return resolveUnder(installation, CDDB_FOLDER); }

std::vector<std::string> replayFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    if (folder.empty()) return files;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return files;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (hasExtension(it->path().filename().string(), ".rpy") && it->is_regular_file(ec))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ReplayRead readReplay(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                      ReplaySummary& summary) {
    Header header;
    if (header.load(path) != Header::OK) return ReplayRead::HeaderUnreadable;
    summary.header.trackName = header.trackName();
    if (!wanted(header.trackName())) return ReplayRead::NotWanted;
    Drivers drivers;
    if (drivers.load(path) != Drivers::OK) return ReplayRead::DriversUnreadable;
    summary = summariseReplay(header, drivers);
    return ReplayRead::Read;
}

void reportUnreadableDrivers(const LibraryFolders& folders, Ui& ui, const std::string& path) {
    if (folders.reportUnreadableDrivers) ui.message(path, REPLAY_READ_ERROR_CAPTION, Ui::Icon::Warning);
}

}  // namespace movrane
