#pragma once

#include <string>

namespace movrane {

// Reads a whole file as bytes. False when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

// Replaces a file so that a crash at any moment leaves either the old or the new
// contents, never a mixture: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target. An uncommitted
// temporary file is removed by the destructor.
class AtomicFile {
public:
    // `mode` applies when the temporary file is created (0600 keeps others out).
    explicit AtomicFile(std::string target, unsigned mode = 0644);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes all bytes to the temporary file; false on any failure.
    bool write(const std::string& bytes);
    // Flushes and renames the temporary file over the target; false on failure, in
    // which case the target is unchanged.
    bool commit();

    const std::string& temporaryPath() const { return temporary_; }

private:
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool failed_ = false;
};

// Writes a whole file through AtomicFile.
bool writeFileAtomically(const std::string& path, const std::string& contents, unsigned mode = 0644);

}  // namespace movrane
