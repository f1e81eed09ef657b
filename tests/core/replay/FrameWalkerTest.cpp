#include <gtest/gtest.h>

#include <vector>

#include "core/replay/BufferedFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/FrameWalker.h"
#include "samplekit/ReplayWriter.h"
#include "support/SmallReplay.h"
#include "support/TempDir.h"

using movrane::BufferedFile;
using movrane::FrameWalker;
using movrane::WalkStatus;
using testsupport::TempDir;

namespace {

struct Walked {
    std::vector<uint16_t> types;
    std::vector<uint64_t> offsets;
    WalkStatus status = WalkStatus::Ok;
    int frames = 0;
};

// Writes one replay whose frames hold the given extra items, lets `damage` change its bytes
// (given the stream chunk's offset), and walks it forward.
Walked walkWith(const std::function<void(samplekit::Frame&, int)>& extra, int seconds = 1,
                const std::function<void(std::vector<unsigned char>&, std::size_t)>& damage = {}) {
    TempDir dir;
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(1);
    const uint64_t stream = testsupport::writeStampedReplay(dir.file("r.rpy"), d, {{0, 1000, seconds}}, extra);
    if (damage) {
        auto bytes = testsupport::readFileBytes(dir.file("r.rpy"));
        damage(bytes, static_cast<std::size_t>(stream));
        testsupport::writeFileBytes(dir.file("r.rpy"), bytes);
    }
    BufferedFile file;
    EXPECT_TRUE(file.open(dir.file("r.rpy")));
    FrameWalker walker(file, stream);
    Walked w;
    while (walker.nextFrame()) {
        ++w.frames;
        while (walker.nextItem()) {
            w.types.push_back(walker.item().type);
            w.offsets.push_back(walker.item().offset - walker.frame().offset);
        }
        if (walker.failed()) break;
    }
    w.status = walker.status();
    return w;
}

}  // namespace

TEST(FrameWalker, ItemsOccupyTheirLengthRoundedUpToFourBytes) {
    const Walked w = walkWith([](samplekit::Frame& f, int n) {
        if (n != 1) return;
        f.addRawItem(4, 6);   // occupies 8
        f.addRawItem(6, 8);   // occupies 8
        f.addRawItem(8, 9);   // occupies 12
        f.addRawItem(16, 4);  // header only
    });
    EXPECT_EQ(w.status, WalkStatus::End);
    EXPECT_EQ(w.frames, 36);
    ASSERT_GE(w.types.size(), 5u);
    EXPECT_EQ(std::vector<uint16_t>(w.types.begin(), w.types.begin() + 5), (std::vector<uint16_t>{4, 6, 8, 16, 13}));
    EXPECT_EQ(std::vector<uint64_t>(w.offsets.begin(), w.offsets.begin() + 5), (std::vector<uint64_t>{8, 16, 24, 36, 40}));
    // Forbidden types and impossible lengths stop the walk.
    for (uint16_t type : {0, 5, 7, 17, 200}) {
        const Walked w = walkWith([type](samplekit::Frame& f, int n) {
            if (n == 3) f.addRawItem(type, 8);
        });
        EXPECT_EQ(w.status, WalkStatus::ForbiddenItemType) << type;
        EXPECT_EQ(w.frames, 3) << type;
    }
    // Impossible item lengths end the walk instead of looping.
    for (uint16_t length : {0, 2}) {
        const Walked w = walkWith([length](samplekit::Frame& f, int n) {
            if (n == 2) f.addRawItem(4, length);
        });
        EXPECT_EQ(w.status, WalkStatus::BadLength) << length;
        EXPECT_EQ(w.frames, 2) << length;
    }
    // A frame shorter than its header ends the walk.
    for (uint16_t length : {0, 4, 7}) {
        const Walked w = walkWith({}, 1, [length](std::vector<unsigned char>& bytes, std::size_t stream) {
            const std::size_t second = stream + 12 + (bytes[stream + 12] | (bytes[stream + 13] << 8));
            bytes[second] = static_cast<unsigned char>(length);
            bytes[second + 1] = 0;
        });
        EXPECT_EQ(w.status, WalkStatus::BadLength) << length;
        EXPECT_EQ(w.frames, 1) << length;
    }
    // The walk goes backward by the previous lengths.
    TempDir dir;
    samplekit::ReplayDescription d;
    d.drivers = testsupport::namedDrivers(1);
    testsupport::writeStampedReplay(dir.file("r.rpy"), d, {{0, 1000, 2}}, [](samplekit::Frame& f, int n) {
        for (int i = 0; i < n % 3; ++i) f.addU32Item(11, static_cast<uint32_t>(n));
    });
    movrane::Drivers drivers;
    ASSERT_EQ(drivers.load(dir.file("r.rpy")), 0);
    BufferedFile file;
    ASSERT_TRUE(file.open(dir.file("r.rpy")));
    FrameWalker forward(file, drivers.streamOffset());
    std::vector<uint64_t> offsets;
    while (forward.nextFrame()) offsets.push_back(forward.frame().offset);
    ASSERT_EQ(offsets.size(), 72u);

    FrameWalker backward(file, drivers.streamOffset());
    ASSERT_TRUE(backward.enterFrame(file.size() - drivers.lastFrameLength()));
    std::vector<uint64_t> back{backward.frame().offset};
    while (backward.previousFrame()) back.push_back(backward.frame().offset);
    EXPECT_EQ(backward.status(), WalkStatus::End);
    EXPECT_EQ(std::vector<uint64_t>(back.rbegin(), back.rend()), offsets);
    // Buffered reads are all or nothing.
    std::vector<unsigned char> data(1000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7);
    testsupport::writeFileBytes(dir.file("f"), data);
    BufferedFile buffered(64);
    ASSERT_TRUE(buffered.open(dir.file("f")));
    EXPECT_EQ(buffered.size(), 1000u);
    uint8_t buffer[200] = {};
    EXPECT_FALSE(buffered.readAt(900, buffer, 101));
    EXPECT_FALSE(buffered.readAt(~0ull - 4, buffer, 8)) << "no overflow in the range check";
    // Forward, backward and larger-than-window reads agree with the buffered.
    for (uint64_t offset : {0ull, 500ull, 100ull, 990ull, 3ull, 700ull}) {
        ASSERT_TRUE(buffered.readAt(offset, buffer, 10)) << offset;
        for (int i = 0; i < 10; ++i) EXPECT_EQ(buffer[i], data[offset + i]) << offset;
    }
    ASSERT_TRUE(buffered.readAt(800, buffer, 200));
    EXPECT_EQ(buffer[199], data[999]);
}

