#include "core/platform/Files.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace movrane {

namespace fs = std::filesystem;

// Opened without waiting (a named pipe would block the open until a writer came) and
// read only when it is a regular file: a pipe, a device such as /dev/zero or a folder
// standing where a file belongs would hang the reader or never end; a huge file would
// exhaust the memory.
bool readWholeFile(const std::string& path, std::string& contents) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<uint64_t>(info.st_size) <= MAX_WHOLE_FILE_SIZE;
    std::string bytes;
    if (ok) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            ok = errno == EINTR;
            continue;
        }
        // A file that grows past the limit while it is read is refused too.
        ok = bytes.size() + static_cast<std::size_t>(n) <= MAX_WHOLE_FILE_SIZE;
        if (ok) bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (ok) contents = std::move(bytes);
    return ok;
}

std::string temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

namespace {

// The test seam's state: write(2) calls left until the one that fails (0: none fails).
int writesUntilFailure = 0;
int injectedError = 0;

ssize_t writeOnce(int fd, const char* data, std::size_t size) {
    if (writesUntilFailure > 0 && --writesUntilFailure == 0) {
        errno = injectedError;
        return -1;
    }
    return ::write(fd, data, size);
}

// Writing into a pipe whose reader has gone raises SIGPIPE, which would end the program.
// While an instance lives the signal is held back, so the write fails with EPIPE instead;
// a signal raised meanwhile is taken off the thread before it is let through again.
class HeldBackSigpipe {
public:
    HeldBackSigpipe() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
    }
    ~HeldBackSigpipe() {
        sigset_t pending;
        sigpending(&pending);
        if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
            const timespec immediately{};
            sigtimedwait(&pipeOnly_, nullptr, &immediately);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    HeldBackSigpipe(const HeldBackSigpipe&) = delete;
    HeldBackSigpipe& operator=(const HeldBackSigpipe&) = delete;

private:
    sigset_t pipeOnly_{};
    sigset_t previous_{};
    bool wasPending_ = false;
};

// The file a path names once its symbolic links are followed (a link may point to a file
// that does not exist yet); the path itself when it is no link. Nothing for a loop of links.
std::optional<std::string> followLinks(const std::string& path) {
    constexpr int MOST_LINKS = 40;
    std::string current = path;
    for (int followed = 0; followed <= MOST_LINKS; ++followed) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::error_code ec;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) return std::nullopt;
        current = link.is_absolute() ? link.string() : (fs::path(current).parent_path() / link).string();
    }
    return std::nullopt;
}

// Beside the file and named after it, the name cut so that even the longest file name
// leaves room for the suffix.
std::string temporaryPattern(const std::string& file) {
    constexpr std::size_t KEPT_NAME = 200;
    const fs::path path(file);
    return (path.parent_path() / (path.filename().string().substr(0, KEPT_NAME) + ".tmp-XXXXXX")).string();
}

std::string folderOf(const std::string& file) {
    const fs::path folder = fs::path(file).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// Makes the rename itself durable: the folder's entry is flushed too.
void syncFolderOf(const std::string& file) {
    const int fd = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string target, unsigned mode) : target_(std::move(target)) {
    struct stat info {};
    const bool exists = ::stat(target_.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) {
        openDirectly();
        return;
    }
    const std::optional<std::string> file = followLinks(target_);
    if (!file) {
        failed_ = true;
        return;
    }
    openTemporaryBeside(*file, exists ? (info.st_mode & 07777) : mode);
    // The replacement belongs to whoever owned the file (it matters when root writes it).
    // A user who may not give files away keeps the replacement.
    if (!failed_ && exists && (info.st_uid != ::geteuid() || info.st_gid != ::getegid())) {
        const int ignored = ::fchown(fd_, info.st_uid, info.st_gid);
        (void)ignored;
    }
}

void AtomicFile::openTemporaryBeside(const std::string& file, unsigned mode) {
    std::string pattern = temporaryPattern(file);
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) {
        failed_ = true;
        return;
    }
    temporary_ = pattern;
    replaced_ = file;
    if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) failed_ = true;
}

void AtomicFile::openDirectly() {
    fd_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) failed_ = true;
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool AtomicFile::write(const std::string& bytes) {
    const HeldBackSigpipe heldBack;
    std::size_t done = 0;
    while (!failed_ && done < bytes.size()) {
        const ssize_t n = writeOnce(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failed_ = true;
        else done += static_cast<std::size_t>(n);
    }
    return !failed_;
}

bool AtomicFile::commit() {
    if (failed_ || fd_ < 0) return false;
    const bool replacing = !temporary_.empty();
    const bool synced = !replacing || ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || (replacing && ::rename(temporary_.c_str(), replaced_.c_str()) != 0)) {
        failed_ = true;
        return false;
    }
    if (replacing) {
        temporary_.clear();
        syncFolderOf(replaced_);
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, unsigned mode) {
    AtomicFile file(path, mode);
    return file.write(contents) && file.commit();
}

bool FileBatch::write(const std::string& path, const std::string& contents, unsigned mode) {
    if (failed()) return false;
    if (!writeFileAtomically(path, contents, mode)) {
        failedPath_ = path;
        return false;
    }
    written_.push_back(path);
    return true;
}

FailingWrite::FailingWrite(int nth, int error) {
    writesUntilFailure = nth;
    injectedError = error;
}

FailingWrite::~FailingWrite() { writesUntilFailure = 0; }

}  // namespace movrane
