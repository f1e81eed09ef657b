#include <gtest/gtest.h>

#include <filesystem>

#include "RawReplay.h"
#include "samplekit/ReplayWriter.h"
#include "support/TempDir.h"

using namespace samplekit;
using rawreplay::u16;
using rawreplay::u32;

namespace {

ReplayDescription twoDrivers() {
    ReplayDescription d;
    d.version = 1;
    d.trackName = "MixedCase";
    d.carSet = "cars67";
    d.sessionType = 4;
    d.count156 = 0x1234;
    d.difficulty = 2;
    d.sessionKind = 3;
    d.scheduledLaps = 0x0102;
    d.scheduledLapsAlt = 0x0A0B;
    d.playerIndex = 1;
    DriverEntry a;
    a.name1 = "Alpha";
    a.name2 = "SixteenCharsLong";  // fills the field: no NUL inside it
    a.nationality = 28;
    a.ai = true;
    a.carMake = 6;
    a.formulaClass = 2;
    a.keptValue = 77;
    a.slot = 9;
    a.carNumber = 42;
    DriverEntry b;
    b.name1 = "Beta";
    b.name2 = "Human";
    b.standardCar = false;
    b.carClass = 1;
    b.year = 1965;
    b.modA = 0xAA;
    b.modB = 0xBB;
    b.modC = {1, 2, 3, 4, 5, 6, 7};
    b.slot = 3;
    d.drivers = {a, b};
    return d;
}

void writeFrames(ReplayWriter& w, int count) {
    for (int i = 0; i < count; ++i) {
        Frame f(static_cast<uint32_t>(i + 1));
        if (i % 36 == 0) f.addU32Item(13, (static_cast<uint32_t>(100 + i / 36 * 100) << 8) | 0);
        const uint8_t p[28] = {};
        f.addItem(1, p, 28);
        if (i == 1) f.addRawItem(8, 6);
        w.writeFrame(f);
    }
}

}  // namespace

TEST(ReplayWriter, FixedPartFieldsStandAtTheirOffsets) {
    testsupport::TempDir dir;
    const auto path = dir.path() / "a.rpy";
    {
        ReplayWriter w(path, twoDrivers());
        writeFrames(w, 40);
        w.finish();
    }
    const auto r = rawreplay::Replay::load(path);
    const auto& b = r.bytes;
    EXPECT_EQ(rawreplay::tag(b, 0), "YLPR");
    EXPECT_EQ(u32(b, 4), 1u);
    EXPECT_EQ(u32(b, 8), b.size() - 12);
    EXPECT_EQ(rawreplay::tag(b, 12), "DHPR");
    EXPECT_EQ(u32(b, 20), 76u);
    EXPECT_EQ(u32(b, 40), 40u);  // frames written
    EXPECT_EQ(u32(b, 44), r.chunks.back().size);
    EXPECT_EQ(u16(b, 48), r.frames.back().length);
    EXPECT_EQ(u32(b, 52), 1u);
    EXPECT_EQ(rawreplay::text(b, 56, 16), "Beta");  // names of the player's record by default
    EXPECT_EQ(rawreplay::text(b, 72, 16), "Human");
    EXPECT_EQ(rawreplay::tag(b, 100), "FNKW");
    EXPECT_EQ(u32(b, 108), 181u);
    EXPECT_EQ(rawreplay::text(b, 112, 16), "MixedCase");
    EXPECT_EQ(rawreplay::text(b, 128, 16), "cars67");
    EXPECT_EQ(u32(b, 148), 4u);
    EXPECT_EQ(u16(b, 156), 0x1234);
    EXPECT_EQ((b[169] >> 5) & 3, 2);
    EXPECT_EQ(b[225], 3);
    EXPECT_EQ(b[239] | (b[240] << 8), 0x0102);
    EXPECT_EQ(b[247] | (b[248] << 8), 0x0A0B);
    EXPECT_EQ(b[293], 0);  // padding before the driver list
    EXPECT_EQ(rawreplay::tag(b, 296), "SLRD");
    EXPECT_EQ(u32(b, 304), 2u * 152u);
    // Without lap tables the stream follows the drivers directly.
    EXPECT_EQ(r.stream, 308u + 2 * 152);
}

TEST(ReplayWriter, DriverRecordsCarryEveryField) {
    testsupport::TempDir dir;
    const auto path = dir.path() / "a.rpy";
    {
        ReplayWriter w(path, twoDrivers());
        w.finish();
    }
    const auto b = rawreplay::Replay::load(path).bytes;
    const std::size_t a = 308, c = 308 + 152;
    EXPECT_EQ(rawreplay::tag(b, a), "TNRD");
    EXPECT_EQ(u32(b, a + 8), 139u);
    EXPECT_EQ(rawreplay::text(b, a + 12, 16), "Alpha");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[a + 28]), 16), "SixteenCharsLong");
    EXPECT_EQ(b[a + 48], 28);
    EXPECT_EQ(rawreplay::text(b, a + 52, 16), "NOT APPLICABLE");
    EXPECT_EQ(rawreplay::text(b, a + 84, 16), "AI");
    EXPECT_EQ(u32(b, a + 116), 1u);
    EXPECT_EQ(u32(b, a + 120), 6u);
    EXPECT_EQ(b[a + 124], 2);
    EXPECT_EQ(u32(b, a + 128), 77u);
    EXPECT_EQ(u32(b, a + 136), 9u);
    EXPECT_EQ(u32(b, a + 140), 42u);
    EXPECT_EQ(u32(b, a + 144), 150u);
    EXPECT_EQ(u32(b, a + 148), 0x20010100u);
    // A modified car: class, year - 1885, mod bytes.
    EXPECT_EQ(b[c + 52], 1);
    EXPECT_EQ(b[c + 53], 80);
    EXPECT_EQ(b[c + 54], 0xAA);
    EXPECT_EQ(b[c + 55], 0xBB);
    EXPECT_EQ(b[c + 57], 1);
    EXPECT_EQ(b[c + 63], 7);
    EXPECT_NE(rawreplay::text(b, c + 84, 16).substr(0, 2), "AI");
    EXPECT_EQ(u32(b, c + 136), 3u);
}

TEST(ReplayWriter, LapTablesAndUnnamedChunkPrecedeTheStream) {
    testsupport::TempDir dir;
    const auto path = dir.path() / "a.rpy";
    ReplayDescription d = twoDrivers();
    d.practiceTable = LapTable{"QTPL", {{9, 5000, {90000, 170000 | (1u << 28)}}, {3, 6000, {}}}};
    d.unnamedChunk = RawChunk{"XTRA", 0, {1, 2, 3, 4, 5}};
    d.raceTable = LapTable{"BTPL", {{3, 12000, {100000}}}};
    {
        ReplayWriter w(path, d);
        writeFrames(w, 3);
        w.finish();
    }
    const auto r = rawreplay::Replay::load(path);
    ASSERT_EQ(r.chunks.size(), 4u);
    EXPECT_EQ(r.chunks[0].tag, "QTPL");
    EXPECT_EQ(r.chunks[0].offset, 308u + 2 * 152);
    EXPECT_EQ(r.chunks[0].size, 2u * 12 + 8 + 8 + 8);  // two entry headers, slot+base each, two stamps
    EXPECT_EQ(r.chunks[1].tag, "XTRA");
    EXPECT_EQ(r.chunks[1].size, 5u);
    EXPECT_EQ(r.chunks[2].tag, "BTPL");
    EXPECT_EQ(r.chunks[2].offset, r.chunks[1].offset + 12 + 5);
    EXPECT_EQ(r.chunks[3].tag, "PTPR");

    const auto practice = r.lapEntries(r.chunks[0]);
    ASSERT_EQ(practice.size(), 2u);
    EXPECT_EQ(practice[0].slot, 9u);
    EXPECT_EQ(practice[0].base, 5000u);
    EXPECT_EQ(practice[0].stamps, (std::vector<uint32_t>{90000, 170000 | (1u << 28)}));
    EXPECT_TRUE(practice[1].stamps.empty());
    const auto race = r.lapEntries(r.chunks[2]);
    ASSERT_EQ(race.size(), 1u);
    EXPECT_EQ(race[0].base, 12000u);
}

TEST(ReplayWriter, ItemsOccupyTheirLengthRoundedUpToFour) {
    testsupport::TempDir dir;
    const auto path = dir.path() / "a.rpy";
    {
        ReplayWriter w(path, twoDrivers());
        Frame f(7);
        f.addRawItem(4, 6, {0xEE, 0xEE});
        f.addRawItem(99, 9, {1, 2, 3, 4, 5, 6});  // payload longer than declared: cut to the item
        f.addRawItem(16, 8);
        f.addU32Item(14, 0xDEADBEEF);
        w.writeFrame(f);
        Frame g(8);
        w.writeFrame(g);  // a frame without items
        w.finish();
    }
    const auto r = rawreplay::Replay::load(path);
    ASSERT_EQ(r.frames.size(), 2u);
    const auto& f = r.frames[0];
    EXPECT_EQ(f.word, 7u);
    EXPECT_EQ(f.length, 8 + 8 + 12 + 8 + 8);
    ASSERT_EQ(f.items.size(), 4u);
    EXPECT_EQ(f.items[0].length, 6);
    EXPECT_EQ(f.items[1].offset - f.items[0].offset, 8u);
    EXPECT_EQ(f.items[1].type, 99);
    EXPECT_EQ(f.items[1].length, 9);
    EXPECT_EQ(f.items[2].offset - f.items[1].offset, 12u);
    EXPECT_EQ(r.bytes[f.items[1].offset + 4 + 4], 5);  // the 5 payload bytes of a 9-byte item
    EXPECT_EQ(r.bytes[f.items[1].offset + 4 + 5], 0);  // then padding
    EXPECT_EQ(u32(r.bytes, f.items[3].offset + 4), 0xDEADBEEFu);
    EXPECT_EQ(r.frames[1].length, 8);
    EXPECT_EQ(r.frames[1].previous, f.length);
    EXPECT_EQ(u16(r.bytes, 48), 8);
}

TEST(ReplayWriter, RecordedFramesCanBeGivenAndHeaderOnlyFilesHave296Bytes) {
    testsupport::TempDir dir;
    ReplayDescription d = twoDrivers();
    d.recordedFrames = 12345;
    {
        ReplayWriter w(dir.path() / "a.rpy", d);
        writeFrames(w, 2);
        w.finish();
    }
    EXPECT_EQ(u32(rawreplay::Replay::load(dir.path() / "a.rpy").bytes, 40), 12345u);

    writeHeaderOnly(dir.path() / "h.rpy", d);
    EXPECT_EQ(std::filesystem::file_size(dir.path() / "h.rpy"), 296u);
    writeHeaderOnly(dir.path() / "hd.rpy", d, true);
    const auto hd = testsupport::readFileBytes(dir.path() / "hd.rpy");
    ASSERT_EQ(hd.size(), 296u + 12 + 2 * 152);
    EXPECT_EQ(u32(std::vector<uint8_t>(hd.begin(), hd.end()), 8), hd.size() - 12);
}
