#pragma once

#include <cerrno>
#include <cstdint>
#include <string>
#include <vector>

namespace movrane {

// Far more than any settings, profile or CD database file holds.
inline constexpr uint64_t MAX_WHOLE_FILE_SIZE = uint64_t{256} << 20;

// Reads a whole regular file (links followed) as bytes. False when it cannot be opened
// or read, for anything else (a folder, a named pipe, a device) and for a file of more
// than MAX_WHOLE_FILE_SIZE bytes.
bool readWholeFile(const std::string& path, std::string& contents);

// The system's folder for temporary files: $TMPDIR when set, else /tmp.
std::string temporaryFolder();

// The one way the program writes a file, whole or not at all:
// - a regular file (or a path that does not exist yet) is replaced atomically: the bytes
//   go to a temporary file in the same folder, which is flushed to disk and renamed over
//   the target, so a crash or a failure at any step leaves the old file as it was and no
//   temporary file behind; an existing file keeps its mode;
// - a symbolic link is followed, and the file it points to is replaced that way in its
//   own folder, so the link stays a link;
// - anything else that exists (a named pipe, a character device such as /dev/stdout) is
//   opened and written directly, never renamed over; every write and the close are
//   checked, and a reader that went away is a failure, not a signal that ends the program.
class AtomicFile {
public:
    // `mode` applies to a file that does not exist yet (0600 keeps others out).
    explicit AtomicFile(std::string target, unsigned mode = 0644);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes all bytes; false on any failure, and every later call fails too.
    bool write(const std::string& bytes);
    // Makes the written bytes the target's contents; false on failure, in which case a
    // replaced file is unchanged.
    bool commit();

    // The temporary file being written; empty when the target is written directly.
    const std::string& temporaryPath() const { return temporary_; }

private:
    void openTemporaryBeside(const std::string& file, unsigned mode);
    void openDirectly();

    std::string target_;
    std::string replaced_;  // the regular file the temporary file is renamed over
    std::string temporary_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes a whole file through AtomicFile.
bool writeFileAtomically(const std::string& path, const std::string& contents, unsigned mode = 0644);

// The files one run writes (a batch of reports, a site): each whole or not at all, one
// after another; the first that fails stops the run and is kept for the message, the
// files written before it stay complete.
class FileBatch {
public:
    // False when this file or an earlier one of the batch failed (then nothing is written).
    bool write(const std::string& path, const std::string& contents, unsigned mode = 0644);

    bool failed() const { return !failedPath_.empty(); }
    const std::string& failedPath() const { return failedPath_; }
    const std::vector<std::string>& writtenPaths() const { return written_; }

private:
    std::vector<std::string> written_;
    std::string failedPath_;
};

// Test seam: while an instance lives, the `nth` write(2) call the writer makes from now
// on (1 = the next one) fails with `error` (a full disk by default).
class FailingWrite {
public:
    explicit FailingWrite(int nth, int error = ENOSPC);
    ~FailingWrite();
    FailingWrite(const FailingWrite&) = delete;
    FailingWrite& operator=(const FailingWrite&) = delete;
};

}  // namespace movrane
