#include "core/library/ReplayIndex.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>

#include "core/library/ReplayDatabase.h"
#include "core/platform/Paths.h"
#include "core/platform/RegistryStore.h"

namespace movrane {

namespace {

constexpr const char* INDEX_FILE = "replay-index.sqlite";
// A file modified less than this before it was read may change again within the same
// tick of a coarse file-system clock without its stamp changing: such an entry is
// never served.
constexpr int64_t RACY_WINDOW_NS = 2'000'000'000;

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return stmt_ != nullptr; }
    void text(int i, const std::string& s) { sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT); }
    void blob(int i, const std::string& s) { sqlite3_bind_blob(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT); }
    void integer(int i, int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
    bool step() { return sqlite3_step(stmt_) == SQLITE_ROW; }
    int64_t columnInt(int i) { return sqlite3_column_int64(stmt_, i); }
    std::string columnText(int i) {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, i));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i))) : std::string();
    }
    bool isNull(int i) { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

std::string ReplayIndex::defaultPath() { return joinPath(StoreLocations::fromEnvironment().configDir, INDEX_FILE); }

ReplayIndex::ReplayIndex(const std::string& databasePath) {
    if (databasePath.empty()) return;
    std::error_code ec;
    std::filesystem::create_directories(cutAtLastSeparator(databasePath), ec);
    if (sqlite3_open(databasePath.c_str(), &db_) != SQLITE_OK ||
        sqlite3_exec(db_,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                     "CREATE TABLE IF NOT EXISTS replays (path TEXT PRIMARY KEY, size INTEGER, mtime_ns INTEGER,"
                     " read_ns INTEGER, track TEXT, record BLOB);"
                     "BEGIN;",
                     nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

ReplayIndex::~ReplayIndex() {
    if (!db_) return;
    sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

ReplayRead ReplayIndex::read(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                             ReplaySummary& summary) {
    struct stat info {};
    const bool stamped = ::stat(path.c_str(), &info) == 0;
    const FileStamp stamp{info.st_size, static_cast<int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
    seen_.push_back(path);
    if (db_ && stamped) {
        Statement find(db_, "SELECT track, record FROM replays WHERE path = ?1 AND size = ?2 AND mtime_ns = ?3"
                            " AND read_ns - mtime_ns > ?4");
        find.text(1, path);
        find.integer(2, stamp.size);
        find.integer(3, stamp.mtimeNs);
        find.integer(4, RACY_WINDOW_NS);
        if (find.ok() && find.step()) {
            const std::string track = find.columnText(0);
            if (!wanted(track)) {
                summary.header.trackName = track;
                return ReplayRead::NotWanted;
            }
            if (!find.isNull(1)) {
                DatabaseContents cached = decodeDatabase(encodeDatabaseStart("", 1) + find.columnText(1), "");
                if (cached.records.size() == 1) {
                    summary = std::move(cached.records[0]);
                    summary.fromDatabase = false;
                    summary.mediumPath.clear();
                    return ReplayRead::Read;
                }
            }
        }
    }
    ++fileReads_;
    const ReplayRead result = readReplay(path, wanted, summary);
    if (stamped && result == ReplayRead::Read) {
        const std::string record = encodeDatabaseRecord("", summary);
        store(path, stamp, summary.header.trackName, &record);
    } else if (stamped && result == ReplayRead::NotWanted) {
        store(path, stamp, summary.header.trackName, nullptr);
    }
    return result;
}

void ReplayIndex::store(const std::string& path, const FileStamp& stamp, const std::string& track,
                        const std::string* record) {
    if (!db_) return;
    Statement put(db_, "INSERT OR REPLACE INTO replays (path, size, mtime_ns, read_ns, track, record)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    put.text(1, path);
    put.integer(2, stamp.size);
    put.integer(3, stamp.mtimeNs);
    put.integer(4, nowNs());
    put.text(5, track);
    if (record) put.blob(6, *record);
    put.step();
}

void ReplayIndex::forgetUnseen() {
    if (!db_) return;
    sqlite3_exec(db_, "CREATE TEMP TABLE IF NOT EXISTS seen (path TEXT PRIMARY KEY); DELETE FROM seen;", nullptr,
                 nullptr, nullptr);
    for (const std::string& path : seen_) {
        Statement add(db_, "INSERT OR IGNORE INTO seen (path) VALUES (?1)");
        add.text(1, path);
        add.step();
    }
    sqlite3_exec(db_, "DELETE FROM replays WHERE path NOT IN (SELECT path FROM seen);", nullptr, nullptr, nullptr);
}

}  // namespace movrane
