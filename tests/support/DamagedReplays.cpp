#include "support/DamagedReplays.h"

#include <array>
#include <random>

#include "samplekit/CarRecords.h"
#include "support/SmallReplay.h"

namespace testsupport {

namespace {

constexpr uint32_t LAP_POSITIONS = 2000 * 2000;  // a 2 km lap in raw units
constexpr std::size_t DRIVERS = 3;

void putU32(std::vector<unsigned char>& b, std::size_t at, uint32_t v) {
    if (at + 4 > b.size()) return;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// The offset of the "PTPR" chunk: the stream (0 when there is none).
std::size_t streamOffset(const std::vector<unsigned char>& bytes) {
    for (std::size_t i = 296; i + 4 <= bytes.size(); ++i) {
        if (bytes[i] == 'P' && bytes[i + 1] == 'T' && bytes[i + 2] == 'P' && bytes[i + 3] == 'R') return i;
    }
    return 0;
}

}  // namespace

std::vector<unsigned char> validDamageBase(const TempDir& dir) {
    samplekit::ReplayDescription d;
    d.drivers = namedDrivers(DRIVERS);
    d.practiceTable = samplekit::LapTable{"LBTP", {evenLaps(0, 1500, 4000, 3), evenLaps(1, 1600, 4100, 3)}};
    d.unnamedChunk = samplekit::RawChunk{"ABCD", 0, std::vector<uint8_t>(24, 1)};
    d.raceTable = samplekit::LapTable{"BTPL", {evenLaps(0, 1200, 4000, 4), evenLaps(1, 1300, 4200, 4),
                                               evenLaps(2, 1400, 4300, 3)}};
    auto carItems = [](samplekit::Frame& f, int n) {
        const uint32_t position = static_cast<uint32_t>(n) * 40000 % LAP_POSITIONS;
        samplekit::PlayerCarFields player;
        player.lapPosition = position;
        player.gearCode = 4;
        f.addItem(1, samplekit::encodePlayerCar(player));
        f.addItem(2, samplekit::encodePlayerControls({100, 90, 60, 0}));
        std::vector<uint8_t> others;
        for (uint32_t slot : {1u, 2u}) {
            samplekit::OtherCarFields other;
            other.slot = slot;
            other.lapPosition = (position + slot * 1000) % LAP_POSITIONS;
            const auto raw = samplekit::encodeOtherCar(other);
            others.insert(others.end(), raw.begin(), raw.end());
        }
        f.addItem(3, others.data(), others.size());
        if (n % 40 == 0) {
            std::array<uint8_t, 14> condition{};
            condition[7] = static_cast<uint8_t>(n / 40);
            f.addItem(10, samplekit::encodeCarCondition(static_cast<uint32_t>(n / 40) % 3, condition));
        }
        if (n % 50 == 0) f.addU32Item(14, static_cast<uint32_t>(n));
    };
    writeStampedReplay(dir.file("valid.rpy"), d, {{0, 1000, 14}, {1, 1000, 18}}, carItems);
    return readFileBytes(dir.file("valid.rpy"));
}

void forEachTruncation(const TempDir& dir, std::size_t stride,
                       const std::function<void(const std::string&, const std::string&)>& visit) {
    const auto valid = validDamageBase(dir);
    const std::string path = dir.file("variant.rpy");
    std::size_t seen = 0;
    for (std::size_t length = 0; length < valid.size(); length += length < 1200 ? 1 : 97) {
        if (seen++ % stride != 0) continue;
        writeFileBytes(path, std::vector<unsigned char>(valid.begin(), valid.begin() + length));
        visit(path, "cut to " + std::to_string(length) + " bytes");
    }
}

void forEachByteFlip(const TempDir& dir, int variants,
                     const std::function<void(const std::string&, const std::string&)>& visit) {
    const auto valid = validDamageBase(dir);
    const std::string path = dir.file("variant.rpy");
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> anywhere(0, valid.size() - 1);
    std::uniform_int_distribution<std::size_t> early(0, 1400);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int variant = 0; variant < variants; ++variant) {
        auto bytes = valid;
        const int flips = 1 + variant % 8;
        for (int i = 0; i < flips; ++i) {
            const std::size_t at = variant % 2 ? anywhere(random) : early(random);
            bytes[at] = static_cast<unsigned char>(byte(random));
        }
        writeFileBytes(path, bytes);
        visit(path, "byte flip variant " + std::to_string(variant));
    }
}

void forEachWildField(const TempDir& dir, const std::function<void(const std::string&, const std::string&)>& visit) {
    const auto valid = validDamageBase(dir);
    const std::string path = dir.file("variant.rpy");
    const std::size_t stream = streamOffset(valid);
    const std::size_t table = 308 + DRIVERS * 152;
    // Size and count fields: file size, last frame length, player index, driver list size,
    // first table size, first entry size, entry slot, stream length, first frame length.
    const std::vector<std::size_t> fields = {8, 48, 52, 304, table + 8, table + 20, table + 24, stream + 8, stream + 12};
    for (std::size_t field : fields) {
        for (uint32_t value : {0u, 1u, 7u, 8u, 151u, 152u, 0x7FFFu, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFF0u,
                               0xFFFFFFFFu}) {
            auto bytes = valid;
            putU32(bytes, field, value);
            writeFileBytes(path, bytes);
            visit(path, "field " + std::to_string(field) + " = " + std::to_string(value));
        }
    }
}

}  // namespace testsupport
