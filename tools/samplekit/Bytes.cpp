#include "samplekit/Bytes.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace samplekit {

void ByteBuffer::ensure(std::size_t end) {
    if (bytes_.size() < end) bytes_.resize(end, 0);
}

void ByteBuffer::putU8(std::size_t offset, uint8_t value) {
    ensure(offset + 1);
    bytes_[offset] = value;
}

void ByteBuffer::putU16(std::size_t offset, uint16_t value) {
    ensure(offset + 2);
    bytes_[offset] = static_cast<uint8_t>(value);
    bytes_[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void ByteBuffer::putU32(std::size_t offset, uint32_t value) {
    ensure(offset + 4);
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void ByteBuffer::putBytes(std::size_t offset, const void* data, std::size_t count) {
    ensure(offset + count);
    if (count > 0) std::memcpy(bytes_.data() + offset, data, count);
}

void ByteBuffer::putText(std::size_t offset, std::string_view text, std::size_t width) {
    ensure(offset + width);
    std::fill(bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
              bytes_.begin() + static_cast<std::ptrdiff_t>(offset + width), 0);
    std::memcpy(bytes_.data() + offset, text.data(), std::min(text.size(), width));
}

void ByteBuffer::putTag(std::size_t offset, std::string_view tag) {
    if (tag.size() != 4) throw std::invalid_argument("a chunk tag has four bytes");
    putBytes(offset, tag.data(), 4);
}

void ByteBuffer::padTo(std::size_t size) { ensure(size); }

BitWriter::BitWriter(uint8_t* buffer, std::size_t byteCount) : buffer_(buffer), bitCapacity_(byteCount * 8) {}

void BitWriter::write(uint32_t value, unsigned width) {
    if (width > 32) throw std::invalid_argument("a bit field has at most 32 bits");
    if (position_ + width > bitCapacity_) throw std::out_of_range("bit field past the end of the record");
    for (unsigned j = 0; j < width; ++j, ++position_) {
        const uint8_t mask = static_cast<uint8_t>(1u << (position_ % 8));
        if ((value >> j) & 1u)
            buffer_[position_ / 8] |= mask;
        else
            buffer_[position_ / 8] &= static_cast<uint8_t>(~mask);
    }
}

}  // namespace samplekit
