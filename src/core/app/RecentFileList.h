#pragma once

#include <string>
#include <vector>

#include "core/platform/RegistryStore.h"

namespace movrane {

// The recent-file list of the File menu: the last replays opened, newest first, kept
// under "Recent File List" as "File1" .. "File7", paths of any length.
class RecentFileList {
public:
    static constexpr int SIZE = 7;
    static constexpr const char* KEY = "Software\\Movrane\\Movrane\\Recent File List";

    RecentFileList();  // on the store named by the environment
    explicit RecentFileList(RegistryStore store);

    const std::vector<std::string>& files() const { return files_; }
    // Puts a file first; an entry of the same path moves up instead of doubling. Saved at once.
    void add(const std::string& path);
    void remove(const std::string& path);

private:
    void load();
    void save();

    RegistryStore store_;
    std::vector<std::string> files_;
};

}  // namespace movrane
