#include "core/platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/platform/Paths.h"

namespace movrane {

bool readWholeFile(const std::string& path, std::string& contents) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    contents = std::move(bytes);
    return true;
}

namespace {

// Makes the rename itself durable: the folder's entry is flushed too.
void syncFolderOf(const std::string& path) {
    std::string folder = cutAtLastSeparator(path);
    if (folder.empty()) folder = path.empty() || path[0] != '/' ? "." : "/";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string target, unsigned mode) : target_(std::move(target)) {
    std::string pattern = target_ + ".tmp-XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        failed_ = true;
        return;
    }
    temporary_ = pattern;
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) failed_ = true;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool AtomicFile::write(const std::string& bytes) {
    std::size_t done = 0;
    while (!failed_ && done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failed_ = true;
        else done += static_cast<std::size_t>(n);
    }
    return !failed_;
}

bool AtomicFile::commit() {
    if (failed_ || fd_ < 0) return false;
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
        failed_ = true;
        return false;
    }
    temporary_.clear();
    syncFolderOf(target_);
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, unsigned mode) {
    AtomicFile file(path, mode);
    return file.write(contents) && file.commit();
}

}  // namespace movrane
