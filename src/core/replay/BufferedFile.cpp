#include "core/replay/BufferedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace movrane {

BufferedFile::BufferedFile(std::size_t windowSize) : windowCapacity_(std::max<std::size_t>(windowSize, 64)) {}

BufferedFile::~BufferedFile() { close(); }

bool BufferedFile::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return false;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    // A small file needs no more window than itself.
    window_.resize(static_cast<std::size_t>(std::min<uint64_t>(windowCapacity_, std::max<uint64_t>(size_, 64))));
    return true;
}

void BufferedFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
}

bool BufferedFile::readAt(uint64_t offset, void* dst, std::size_t count) {
    if (fd_ < 0 || !contains(offset, count)) return false;
    if (count == 0) return true;
    if (count > window_.size()) {
        // Larger than the window: read straight into the caller's buffer.
        auto* out = static_cast<uint8_t*>(dst);
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }
    const bool inWindow = offset >= windowStart_ && offset + count <= windowStart_ + windowLength_;
    if (!inWindow && !fill(offset, count)) return false;
    std::memcpy(dst, window_.data() + (offset - windowStart_), count);
    return true;
}

bool BufferedFile::readU16At(uint64_t offset, uint16_t& value) {
    uint8_t b[2];
    if (!readAt(offset, b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool BufferedFile::readU32At(uint64_t offset, uint32_t& value) {
    uint8_t b[4];
    if (!readAt(offset, b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

// Loads a window that holds [offset, offset + count). A request before the current window
// (a backward walk) places the window so that the request sits at its end.
bool BufferedFile::fill(uint64_t offset, std::size_t count) {
    const uint64_t capacity = window_.size();
    uint64_t start = offset;
    if (windowLength_ > 0 && offset < windowStart_) {
        const uint64_t requestEnd = offset + count;
        start = requestEnd > capacity ? requestEnd - capacity : 0;
    }
    const uint64_t length = std::min<uint64_t>(capacity, size_ - start);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, window_.data() + done, length - done, static_cast<off_t>(start + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    windowStart_ = start;
    windowLength_ = done;
    return offset >= start && offset + count <= start + done;
}

}  // namespace movrane
