#include "RawReplay.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace rawreplay {

uint16_t u16(const std::vector<uint8_t>& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("read past the end");
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t u32(const std::vector<uint8_t>& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("read past the end");
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::string text(const std::vector<uint8_t>& b, std::size_t at, std::size_t width) {
    std::string s;
    for (std::size_t i = 0; i < width && b.at(at + i) != 0; ++i) s.push_back(static_cast<char>(b[at + i]));
    return s;
}

std::string tag(const std::vector<uint8_t>& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("tag past the end");
    return std::string(reinterpret_cast<const char*>(b.data() + at), 4);
}

uint32_t bits(const uint8_t* data, unsigned& position, unsigned width) {
    uint32_t v = 0;
    for (unsigned j = 0; j < width; ++j, ++position)
        if (data[position / 8] & (1u << (position % 8))) v |= 1u << j;
    return v;
}

int32_t signedBits(const uint8_t* data, unsigned& position, unsigned width) {
    const uint32_t v = bits(data, position, width);
    return (v & (1u << (width - 1))) ? static_cast<int32_t>(v) - (int32_t{1} << width) : static_cast<int32_t>(v);
}

Replay Replay::load(const std::filesystem::path& path) {
    Replay r;
    std::ifstream in(path, std::ios::binary);
    r.bytes.assign(std::istreambuf_iterator<char>(in), {});
    const auto& b = r.bytes;
    if (tag(b, 0) != "YLPR" || tag(b, 296) != "SLRD") throw std::runtime_error("not a replay");
    r.driverCount = u32(b, 304) / 152;
    std::size_t at = 308 + u32(b, 304);
    while (true) {
        Chunk c{tag(b, at), at, u32(b, at + 8)};
        r.chunks.push_back(c);
        if (c.tag == "PTPR") break;
        at += 12 + c.size;
    }
    r.stream = at;
    const std::size_t end = at + 12 + r.chunks.back().size;
    if (end != b.size()) throw std::runtime_error("stream does not end at the end of the file");
    uint16_t previous = 0;
    for (std::size_t f = at + 12; f < end;) {
        Frame fr;
        fr.offset = f;
        fr.length = u16(b, f);
        fr.previous = u16(b, f + 2);
        fr.word = u32(b, f + 4);
        if (fr.previous != previous) throw std::runtime_error("previous length does not match");
        if (fr.length < 8 || f + fr.length > end) throw std::runtime_error("bad frame length");
        std::size_t i = f + 8;
        while (i < f + fr.length) {
            Item it{u16(b, i), u16(b, i + 2), i};
            if (it.length < 4) throw std::runtime_error("bad item length");
            fr.items.push_back(it);
            i += (it.length + 3u) & ~3u;
        }
        if (i != f + fr.length) throw std::runtime_error("items overrun the frame");
        previous = fr.length;
        f += fr.length;
        r.frames.push_back(std::move(fr));
    }
    return r;
}

std::vector<LapEntry> Replay::lapEntries(const Chunk& table) const {
    std::vector<LapEntry> out;
    for (std::size_t e = table.offset + 12; e < table.offset + 12 + table.size;) {
        if (tag(bytes, e) != "ORPL") throw std::runtime_error("lap entry without its tag");
        const uint32_t size = u32(bytes, e + 8);
        LapEntry le{u32(bytes, e + 12), u32(bytes, e + 16), {}};
        for (uint32_t k = 0; k < (size - 8) / 4; ++k) le.stamps.push_back(u32(bytes, e + 20 + 4 * k));
        out.push_back(std::move(le));
        e += size + 12;
    }
    return out;
}

const Chunk* Replay::chunk(const std::string& t) const {
    for (const Chunk& c : chunks)
        if (c.tag == t) return &c;
    return nullptr;
}

std::vector<Stamp> stamps(const Replay& r) {
    std::vector<Stamp> out;
    for (std::size_t f = 0; f < r.frames.size(); ++f)
        for (const Item& it : r.frames[f].items)
            if (it.type == 13) {
                const uint32_t w = u32(r.bytes, it.offset + 4);
                out.push_back({f, static_cast<uint8_t>(w & 0xFF), (w >> 8) * 10});
            }
    return out;
}

}  // namespace rawreplay
