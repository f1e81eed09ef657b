#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/library/ReplayLibrary.h"

struct sqlite3;

namespace movrane {

// What the library scans learned of each replay file: its track and, once its driver
// table was read, its summary; kept in a small database in the configuration folder,
// keyed by path, size and modification time, so a second scan reads no replay at all.
// An entry is served only while the file has the size and modification time it was
// read with, and not when the file was modified so shortly before it was read that a
// change within the same clock tick could go unnoticed; anything else reads the file
// again. Without a usable database every read goes to the file.
class ReplayIndex {
public:
    // The index file in the configuration folder.
    static std::string defaultPath();
    // An empty path gives an index that reads every file.
    explicit ReplayIndex(const std::string& databasePath);
    ~ReplayIndex();
    ReplayIndex(const ReplayIndex&) = delete;
    ReplayIndex& operator=(const ReplayIndex&) = delete;

    bool usable() const { return db_ != nullptr; }

    // readReplay through the index. The header's track name is set in `summary` also
    // when the replay is not wanted.
    ReplayRead read(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                    ReplaySummary& summary);
    // Drops the entries of files that were not met since the index was opened; called
    // after a scan of every library folder.
    void forgetUnseen();

    int fileReads() const { return fileReads_; }

private:
    struct FileStamp {
        int64_t size = 0;
        int64_t mtimeNs = 0;
    };
    void store(const std::string& path, const FileStamp& stamp, const std::string& track, const std::string* record);

    sqlite3* db_ = nullptr;
    std::vector<std::string> seen_;
    int fileReads_ = 0;
};

}  // namespace movrane
