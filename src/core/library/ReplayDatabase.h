#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/ReplaySummary.h"

namespace movrane {

// A replay CD database (".rdb"): the magic, a format version, the label of the medium,
// the number of replay files found on it, then one record per replay that could be
// read, to the end of the file. Records carry the replay's path on the medium, its
// header fields and its whole driver and lap data, so the lap finder and the records
// collector can use them as if the replay were on disk.
inline constexpr std::string_view CDDB_MAGIC = "MOVRNCDDB";
inline constexpr uint8_t CDDB_VERSION = 2;
inline constexpr const char* CDDB_FOLDER = "replay/MOVRN_CDDB";
inline constexpr const char* CDDB_EXTENSION = ".rdb";

// The start of a database file.
std::string encodeDatabaseStart(std::string_view mediumLabel, uint32_t fileCount, uint8_t version = CDDB_VERSION);
// One record in the layout of `version` (1 lacks the formula byte and the last four
// header values).
std::string encodeDatabaseRecord(std::string_view mediumPath, const ReplaySummary& replay,
                                 uint8_t version = CDDB_VERSION);

// The contents of one database file. A wrong magic makes `magicOk` false; records end
// where the file ends or where a record is cut short or out of bounds.
struct DatabaseContents {
    bool magicOk = false;
    uint8_t version = 0;
    std::string mediumLabel;
    uint32_t fileCount = 0;
    std::vector<ReplaySummary> records;  // with their medium path and label set
};
DatabaseContents decodeDatabase(std::string_view bytes, const std::string& databaseName);

// Reads every database of a folder (and its subfolders), record by record, in file
// name order. A file with a wrong magic ends the whole walk.
class ReplayDatabaseLoader {
public:
    void open(const std::string& folder);
    // Advances to the next record; false after the last.
    bool next();
    const ReplaySummary& current() const { return current_; }
    const std::vector<std::string>& files() const { return files_; }

private:
    bool loadNextFile();

    std::vector<std::string> files_;
    std::size_t nextFile_ = 0;
    std::vector<ReplaySummary> records_;
    std::size_t nextRecord_ = 0;
    bool stopped_ = false;
    ReplaySummary current_;
};

// Every database file under `folder`, sorted by path.
std::vector<std::string> listDatabaseFiles(const std::string& folder);

}  // namespace movrane
