#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace movrane {

// Read-only access to a file by absolute offsets through one window buffer.
// Reads are all-or-nothing: a read that would pass the end of the file fails and
// copies nothing, so callers never see half-filled fields. The window follows the
// direction of access, which keeps forward and backward frame walks to a few large
// reads instead of one system call per field.
class BufferedFile {
public:
    static constexpr std::size_t DEFAULT_WINDOW = 256 * 1024;

    explicit BufferedFile(std::size_t windowSize = DEFAULT_WINDOW);
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    uint64_t size() const { return size_; }

    bool readAt(uint64_t offset, void* dst, std::size_t count);
    bool readU16At(uint64_t offset, uint16_t& value);
    bool readU32At(uint64_t offset, uint32_t& value);
    bool contains(uint64_t offset, uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }

private:
    bool fill(uint64_t offset, std::size_t count);

    int fd_ = -1;
    uint64_t size_ = 0;
    std::size_t windowCapacity_;
    std::vector<uint8_t> window_;
    uint64_t windowStart_ = 0;
    std::size_t windowLength_ = 0;
};

}  // namespace movrane
