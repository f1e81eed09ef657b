#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace samplekit {

// Little-endian field writers into a growable byte buffer. Writes at an offset beyond the
// current end grow the buffer with zero bytes, so fixed layouts can be filled in any order.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::size_t size) : bytes_(size, 0) {}

    void putU8(std::size_t offset, uint8_t value);
    void putU16(std::size_t offset, uint16_t value);
    void putU32(std::size_t offset, uint32_t value);
    void putBytes(std::size_t offset, const void* data, std::size_t count);
    // A fixed-width text field: the text (cut to width bytes), the rest of the field zero.
    // A text of exactly width bytes leaves no terminating NUL, which readers must cope with.
    void putText(std::size_t offset, std::string_view text, std::size_t width);
    // Four tag bytes as they stand in the file ("YLPR", ...).
    void putTag(std::size_t offset, std::string_view tag);

    void appendU16(uint16_t value) { putU16(bytes_.size(), value); }
    void appendU32(uint32_t value) { putU32(bytes_.size(), value); }
    void appendBytes(const void* data, std::size_t count) { putBytes(bytes_.size(), data, count); }
    void padTo(std::size_t size);

    std::size_t size() const { return bytes_.size(); }
    const uint8_t* data() const { return bytes_.data(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    void ensure(std::size_t end);
    std::vector<uint8_t> bytes_;
};

// Writes fields into a little-endian bit string: bit k of the string is bit k mod 8 of
// byte k div 8, fields follow each other without gaps, each field least significant bit
// first. Only the low `width` bits of a value are written, so a negative field value is
// stored in two's complement of its width.
class BitWriter {
public:
    explicit BitWriter(uint8_t* buffer, std::size_t byteCount);

    void write(uint32_t value, unsigned width);
    void writeSigned(int32_t value, unsigned width) { write(static_cast<uint32_t>(value), width); }
    unsigned position() const { return position_; }

private:
    uint8_t* buffer_;
    std::size_t bitCapacity_;
    unsigned position_ = 0;
};

}  // namespace samplekit
