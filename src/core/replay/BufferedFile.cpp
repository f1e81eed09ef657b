#include "core/replay/BufferedFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/replay/ByteOrder.h"

namespace movrane {

namespace {
constexpr uint64_t PAGE = 4096;
}  // namespace

BufferedFile::BufferedFile(std::size_t windowSize) : windowCapacity_(std::max<std::size_t>(windowSize, 64)) {}

BufferedFile::~BufferedFile() { close(); }

bool BufferedFile::open(const std::string& path) {
    close();
    // Without O_NONBLOCK, opening a named pipe waits for a writer that may never come; the
    // flag does not change reads of the regular files that are accepted below.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) return false;
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        close();
        return false;
    }
    size_ = static_cast<uint64_t>(st.st_size);
    fillSize_ = std::min(FIRST_FILL, windowCapacity_);
    return true;
}

void BufferedFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    size_ = 0;
    windowStart_ = 0;
    windowLength_ = 0;
    window_.reset();
    windowSize_ = 0;
}

bool BufferedFile::readAt(uint64_t offset, void* dst, std::size_t count) {
    if (fd_ < 0 || !contains(offset, count)) return false;
    if (count == 0) return true;
    if (count > windowCapacity_) {
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
    const uint8_t* bytes = view(offset, count);
    if (!bytes) return false;
    std::memcpy(dst, bytes, count);
    return true;
}

const uint8_t* BufferedFile::viewAfterFill(uint64_t offset, std::size_t count) {
    if (fd_ < 0 || count == 0 || count > windowCapacity_ || !contains(offset, count)) return nullptr;
    if (!fill(offset, count)) return nullptr;
    return window_.get() + (offset - windowStart_);
}

bool BufferedFile::readU16At(uint64_t offset, uint16_t& value) {
    const uint8_t* b = view(offset, 2);
    if (!b) return false;
    value = readU16LE(b);
    return true;
}

bool BufferedFile::readU32At(uint64_t offset, uint32_t& value) {
    const uint8_t* b = view(offset, 4);
    if (!b) return false;
    value = readU32LE(b);
    return true;
}

// Loads a window that holds [offset, offset + count). A request just past the window (a
// forward walk) or before it (a backward walk) continues the previous fill and reads twice
// as much; the window of a backward walk reaches half its size past the request.
bool BufferedFile::fill(uint64_t offset, std::size_t count) {
    const bool continues = windowLength_ > 0 && offset + count > windowStart_ &&
                           offset <= windowStart_ + windowLength_ + FIRST_FILL;
    const bool backward = windowLength_ > 0 && offset < windowStart_;
    fillSize_ = std::min(continues || backward ? fillSize_ * 2 : FIRST_FILL, windowCapacity_);
    const std::size_t wanted = std::max(fillSize_, count);
    uint64_t start = offset;
    if (backward) {
        // Keep what follows the request (the rest of its frame) in the window too.
        const uint64_t end = std::min<uint64_t>(size_, offset + count + wanted / 2);
        start = end > wanted ? end - wanted : 0;
    }
    // Fills start on a page boundary of the file: the copy out of the page cache is then
    // whole pages.
    const uint64_t pageStart = start - start % PAGE;
    const std::size_t length =
        static_cast<std::size_t>(std::min<uint64_t>(wanted + (start - pageStart), size_ - pageStart));
    start = pageStart;
    if (windowSize_ < length) {
        // One allocation of the whole window: its pages are touched only as the fills grow,
        // and a walk never copies into fresh memory twice.
        windowSize_ = std::max(length, static_cast<std::size_t>(std::min<uint64_t>(windowCapacity_ + PAGE, size_)));
        window_ = std::make_unique_for_overwrite<uint8_t[]>(windowSize_);
    }
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd_, window_.get() + done, length - done, static_cast<off_t>(start + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    windowStart_ = start;
    windowLength_ = done;
    ++fillCount_;
    return offset >= start && offset + count <= start + done;
}

}  // namespace movrane
