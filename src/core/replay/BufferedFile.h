#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace movrane {

// Read-only access to a file by absolute offsets through one window buffer.
// Reads are all-or-nothing: a read that would pass the end of the file fails and
// copies nothing, so callers never see half-filled fields. The window follows the
// direction of access, which keeps forward and backward frame walks to a few large
// reads instead of one system call per field.
class BufferedFile {
public:
    static constexpr std::size_t DEFAULT_WINDOW = 1024 * 1024;
    // The first fill after a jump is small; each fill that continues the previous one in
    // either direction doubles, up to the window size.
    static constexpr std::size_t FIRST_FILL = 16 * 1024;

    explicit BufferedFile(std::size_t windowSize = DEFAULT_WINDOW);
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    uint64_t size() const { return size_; }

    bool readAt(uint64_t offset, void* dst, std::size_t count);
    // The bytes [offset, offset + count) inside the window, loading it when needed; null
    // when they lie outside the file or are more than a window. Valid until the next read.
    const uint8_t* view(uint64_t offset, std::size_t count) {
        if (offset >= windowStart_ && count <= windowLength_ && offset - windowStart_ <= windowLength_ - count) {
            return window_.get() + (offset - windowStart_);
        }
        return viewAfterFill(offset, count);
    }
    bool readU16At(uint64_t offset, uint16_t& value);
    bool readU32At(uint64_t offset, uint32_t& value);
    // Counts the window's refills: a view taken before a refill is no longer valid.
    uint64_t fillCount() const { return fillCount_; }
    bool contains(uint64_t offset, uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }

private:
    bool fill(uint64_t offset, std::size_t count);
    const uint8_t* viewAfterFill(uint64_t offset, std::size_t count);

    int fd_ = -1;
    uint64_t size_ = 0;
    std::size_t windowCapacity_;  // largest window
    std::unique_ptr<uint8_t[]> window_;  // not zeroed: only bytes read from the file are looked at
    std::size_t windowSize_ = 0;  // allocated
    std::size_t fillSize_ = FIRST_FILL;
    uint64_t fillCount_ = 0;
    uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
};

}  // namespace movrane
