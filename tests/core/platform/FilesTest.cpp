#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/platform/Files.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using movrane::FailingWrite;
using movrane::writeFileAtomically;
using testsupport::readFileText;

namespace {

unsigned modeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Every entry of a folder, so that a temporary file left behind shows.
std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct WriterCase {
    const char* name;
    enum class Target { NewFile, OldFile, LinkToOldFile, LinkToNothing, LinkLoop } target;
    int failingWrite;  // 0: every write succeeds
    bool written;
};

class Writer : public testing::TestWithParam<WriterCase> {};

}  // namespace

TEST_P(Writer, ReplacesWholeOrLeavesEverythingAsItWas) {
    const WriterCase& c = GetParam();
    testsupport::TempDir dir;
    const fs::path here = dir.path() / "here", there = dir.path() / "there";
    fs::create_directories(here);
    fs::create_directories(there);
    const fs::path path = here / "out.txt";
    fs::path file = path;  // what holds the contents once links are followed
    using Target = WriterCase::Target;
    if (c.target == Target::LinkToOldFile || c.target == Target::LinkToNothing) {
        file = there / "real.txt";
        fs::create_symlink("../there/real.txt", path);
    }
    if (c.target == Target::LinkLoop) fs::create_symlink("out.txt", path);
    const bool hadFile = c.target == Target::OldFile || c.target == Target::LinkToOldFile;
    if (hadFile) {
        testsupport::writeFileText(file, "old");
        fs::permissions(file, fs::perms(0640));
    }
    const auto before = std::make_pair(entries(here), entries(there));

    bool result = false;
    {
        const FailingWrite fault(c.failingWrite);
        result = writeFileAtomically(path.string(), std::string(100000, 'n'), 0600);
    }

    EXPECT_EQ(result, c.written);
    if (c.written) {
        EXPECT_EQ(readFileText(file), std::string(100000, 'n'));
        EXPECT_EQ(modeOf(file), hadFile ? 0640u : 0600u) << "an old file keeps its mode";
    } else if (hadFile) {
        EXPECT_EQ(readFileText(file), "old");
    } else {
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(file))) << "no empty or truncated file looks like a result";
    }
    if (c.target != Target::NewFile && c.target != Target::OldFile) {
        EXPECT_TRUE(fs::is_symlink(path));
    }
    if (!c.written) {
        EXPECT_EQ(std::make_pair(entries(here), entries(there)), before) << "nothing left behind";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, Writer,
    testing::Values(WriterCase{"NewFile", WriterCase::Target::NewFile, 0, true},
                    WriterCase{"OldFile", WriterCase::Target::OldFile, 0, true},
                    WriterCase{"NewFileDiskFull", WriterCase::Target::NewFile, 1, false},
                    WriterCase{"OldFileDiskFull", WriterCase::Target::OldFile, 1, false},
                    WriterCase{"LinkFollowed", WriterCase::Target::LinkToOldFile, 0, true},
                    WriterCase{"LinkToFileNotYetThere", WriterCase::Target::LinkToNothing, 0, true},
                    WriterCase{"LinkDiskFull", WriterCase::Target::LinkToOldFile, 1, false},
                    WriterCase{"LinkLoop", WriterCase::Target::LinkLoop, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Files, TheLongestFileNameIsReplacedToo) {
    testsupport::TempDir dir;
    const std::string path = dir.file(std::string(255, 'n'));
    EXPECT_TRUE(writeFileAtomically(path, "old"));
    EXPECT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(readFileText(path), "new");
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(writeFileAtomically("/dev/full", "bytes"));
    EXPECT_TRUE(fs::is_character_file("/dev/full")) << "the device node stays";
    EXPECT_TRUE(writeFileAtomically("/dev/null", "bytes"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // A named pipe is written through; a reader that leaves is a failure.
    testsupport::TempDir pipeDir;
    const std::string pipe = pipeDir.file("p");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string bytes(300000, 'p');  // more than a pipe holds
    std::string received;
    std::thread reader([&] { received = readFileText(pipe); });
    EXPECT_TRUE(writeFileAtomically(pipe, bytes));
    reader.join();
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(fs::is_fifo(pipe)) << "never renamed over";

    std::thread leaver([&] { std::ifstream(pipe).close(); });
    EXPECT_FALSE(writeFileAtomically(pipe, bytes)) << "the write fails; no signal ends the program";
    leaver.join();
    EXPECT_EQ(entries(pipeDir.path()), std::vector<std::string>{"p"});
    // A batch stops at the first failure and keeps what was written.
    testsupport::TempDir batchDir;
    movrane::FileBatch batch;
    EXPECT_TRUE(batch.write(batchDir.file("a"), "a"));
    {
        const FailingWrite fault(1);
        EXPECT_FALSE(batch.write(batchDir.file("b"), "b"));
    }
    EXPECT_FALSE(batch.write(batchDir.file("c"), "c"));
    EXPECT_EQ(batch.failedPath(), batchDir.file("b"));
    EXPECT_EQ(batch.writtenPaths(), std::vector<std::string>{batchDir.file("a")});
    EXPECT_EQ(entries(batchDir.path()), std::vector<std::string>{"a"});
}


TEST(Files, OnlyRegularFilesAreReadWhole) {
    testsupport::TempDir dir;
    testsupport::writeFileText(dir.file("file"), "bytes");
    fs::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);  // no writer: an open that waits would hang
    fs::create_symlink("file", dir.file("link"));
    fs::create_symlink("loop", dir.file("loop"));
    fs::create_symlink("/dev/zero", dir.file("endless"));
    std::ofstream(dir.file("huge")).close();
    fs::resize_file(dir.file("huge"), movrane::MAX_WHOLE_FILE_SIZE + 1);  // sparse: takes no room on the disk
    const std::pair<const char*, bool> cases[] = {{"file", true},     {"link", true},     {"folder", false},
                                                  {"pipe", false},    {"loop", false},    {"endless", false},
                                                  {"missing", false}, {"huge", false}};
    for (const auto& [name, readable] : cases) {
        std::string contents = "kept";
        EXPECT_EQ(movrane::readWholeFile(dir.file(name), contents), readable) << name;
        EXPECT_EQ(contents, readable ? "bytes" : "kept") << name;
    }
}
