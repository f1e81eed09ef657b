// Corrupted variants of a valid replay must give the readers' error codes or success,
// never a crash, a hang or a read outside the file (the sanitizers watch the reads).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "samplekit/CarRecords.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using testsupport::TempDir;

namespace {

constexpr uint32_t LAP_POSITIONS = 2000 * 2000;  // a 2 km lap in raw units

// A race replay with a practice table, an unnamed chunk and a race table, whose stream
// holds player, controls and other-car items, so every reader path has something to read.
std::vector<unsigned char> validReplay(const TempDir& dir) {
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(3);
    d.practiceTable = samplekit::LapTable{"LBTP", {testsupport::evenLaps(0, 1500, 4000, 3),
                                                   testsupport::evenLaps(1, 1600, 4100, 3)}};
    d.unnamedChunk = samplekit::RawChunk{"ABCD", 0, std::vector<uint8_t>(24, 1)};
    d.raceTable = samplekit::LapTable{"BTPL", {testsupport::evenLaps(0, 1200, 4000, 4),
                                               testsupport::evenLaps(1, 1300, 4200, 4),
                                               testsupport::evenLaps(2, 1400, 4300, 3)}};
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
        if (n % 50 == 0) f.addU32Item(14, static_cast<uint32_t>(n));
    };
    testsupport::writeStampedReplay(dir.file("valid.rpy"), d, {{0, 1000, 14}, {1, 1000, 18}}, carItems);
    return testsupport::readFileBytes(dir.file("valid.rpy"));
}

// Loads a variant with every reader; only the codes may be observed.
void readVariant(const std::string& path) {
    movrane::Header header;
    const int headerCode = header.load(path);
    EXPECT_GE(headerCode, 0);
    EXPECT_LE(headerCode, 3);
    movrane::Drivers drivers;
    const int code = drivers.load(path);
    ASSERT_TRUE(code == 0 || code == 3);
    if (code != 0) return;
    for (uint32_t driver = 0; driver < drivers.count() && driver < 4; ++driver) {
        for (movrane::Session s : {movrane::PRACTICE, movrane::RACE}) {
            for (int lap = 1; lap <= drivers.lapCount(driver, s) && lap < 3; ++lap) {
                movrane::GetRpyInfo info;
                const int lapCode = info.load(drivers, driver, lap, s);
                ASSERT_GE(lapCode, 0);
                ASSERT_LE(lapCode, 5);
                if (lapCode == 0) info.trim(1);
            }
        }
    }
}

void putU32(std::vector<unsigned char>& b, std::size_t at, uint32_t v) {
    if (at + 4 > b.size()) return;
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

TEST(ReplayRobustness, ValidReplayReadsWhole) {
    TempDir dir;
    validReplay(dir);
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("valid.rpy")), 0);
    EXPECT_TRUE(drivers.practicePresent());
    EXPECT_TRUE(drivers.racePresent());
    EXPECT_TRUE(drivers.lapValid(1, movrane::RACE, 2));
    movrane::GetRpyInfo lap;
    EXPECT_EQ(lap.load(drivers, 1, 2, movrane::RACE), 0);
    EXPECT_GT(lap.samplesWithData(), 100);
}

TEST(ReplayRobustness, TruncationsAtEveryLength) {
    TempDir dir;
    const auto valid = validReplay(dir);
    const std::string path = dir.file("variant.rpy");
    // Every length through the header, the drivers and the tables, then a stride through the stream.
    for (std::size_t length = 0; length < valid.size(); length += length < 1200 ? 1 : 97) {
        testsupport::writeFileBytes(path, std::vector<unsigned char>(valid.begin(), valid.begin() + length));
        readVariant(path);
        if (testing::Test::HasFatalFailure()) FAIL() << "length " << length;
    }
}

TEST(ReplayRobustness, RandomByteFlips) {
    TempDir dir;
    const auto valid = validReplay(dir);
    const std::string path = dir.file("variant.rpy");
    std::mt19937 random(20261206);
    std::uniform_int_distribution<std::size_t> anywhere(0, valid.size() - 1);
    std::uniform_int_distribution<std::size_t> early(0, 1400);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int variant = 0; variant < 1500; ++variant) {
        auto bytes = valid;
        const int flips = 1 + variant % 8;
        for (int i = 0; i < flips; ++i) {
            const std::size_t at = variant % 2 ? anywhere(random) : early(random);
            bytes[at] = static_cast<unsigned char>(byte(random));
        }
        testsupport::writeFileBytes(path, bytes);
        readVariant(path);
        if (testing::Test::HasFatalFailure()) FAIL() << "variant " << variant;
    }
}

TEST(ReplayRobustness, HugeSizesAndCounts) {
    TempDir dir;
    const auto valid = validReplay(dir);
    const std::string path = dir.file("variant.rpy");
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("valid.rpy")), 0);
    const std::size_t stream = drivers.streamOffset();
    const std::size_t table = 308 + 3 * 152;
    // Size and count fields: file size, last frame length, player index, driver list size,
    // first table size, first entry size, entry slot, stream length, first frame length.
    const std::vector<std::size_t> fields = {8, 48, 52, 304, table + 8, table + 20, table + 24, stream + 8,
                                             stream + 12};
    for (std::size_t field : fields) {
        for (uint32_t value : {0u, 1u, 7u, 8u, 151u, 152u, 0x7FFFu, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFF0u,
                               0xFFFFFFFFu}) {
            auto bytes = valid;
            putU32(bytes, field, value);
            testsupport::writeFileBytes(path, bytes);
            readVariant(path);
            if (testing::Test::HasFatalFailure()) FAIL() << "field " << field << " value " << value;
        }
    }
}
