#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "core/platform/CRegistry.h"
#include "core/platform/Files.h"
#include "support/ConfigSandbox.h"
#include "support/TempDir.h"

namespace {

using namespace movrane;
using testsupport::ConfigSandbox;
using testsupport::readFileText;

const std::string KEY = "Software\\Movrane\\Movrane\\Settings";

class RegistryStoreTest : public ::testing::Test {
protected:
    ConfigSandbox sandbox;

    RegistryStore store() const { return RegistryStore(StoreLocations{sandbox.configDir(), sandbox.winePrefix()}); }
};

// A value as the program reads it; nullopt when the read fails.
std::optional<std::string> stringOf(CRegistry& reg, const char* name) {
    std::string value;
    return reg.readString(name, value) ? std::optional(value) : std::nullopt;
}
std::optional<uint32_t> dwordOf(CRegistry& reg, const char* name) {
    uint32_t value = 0;
    return reg.readDword(name, value) ? std::optional(value) : std::nullopt;
}

TEST_F(RegistryStoreTest, CreatedKeyIsAPrivateFileThatKeepsTypedValues) {
    EXPECT_EQ(StoreLocations::fromEnvironment().configDir, sandbox.configDir());
    EXPECT_EQ(StoreLocations::fromEnvironment().winePrefix, sandbox.winePrefix());
    {
        CRegistry reg(RegistryStore::fromEnvironment());
        EXPECT_FALSE(reg.openKey(RootKey::CurrentUser, KEY));
        EXPECT_EQ(reg.status(), REG_STATUS_NOT_FOUND);
        ASSERT_TRUE(reg.createKey(RootKey::CurrentUser, KEY));
        EXPECT_TRUE(reg.writeDword("BMPSizeInPixel", 1024));
        EXPECT_TRUE(reg.writeString("OrvDirectory", "/games/orv"));
        EXPECT_TRUE(reg.writeBinary("PB_times", std::string("\0\x01\x02", 3)));
        EXPECT_EQ(reg.lastType(), REG_BINARY);
        EXPECT_EQ(reg.lastSize(), 3u);
    }
    struct stat info {};
    ASSERT_EQ(::stat(sandbox.userStoreFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(readFileText(sandbox.userStoreFile()).find("\"BMPSizeInPixel\"=dword:00000400"), std::string::npos);

    CRegistry reg(store());
    ASSERT_TRUE(reg.openKey(RootKey::CurrentUser, "software\\movrane\\movrane\\SETTINGS"));
    std::string blob;
    EXPECT_EQ(dwordOf(reg, "bmpsizeinpixel"), 1024u);
    EXPECT_EQ(stringOf(reg, "OrvDirectory"), "/games/orv");
    EXPECT_EQ(reg.lastType(), REG_SZ);
    EXPECT_EQ(reg.lastSize(), 11u);
    EXPECT_TRUE(reg.readBinary("PB_times", blob));
    EXPECT_EQ(blob, std::string("\0\x01\x02", 3));
    EXPECT_TRUE(reg.valueExists("MPH") == false);
    EXPECT_TRUE(reg.deleteValue("OrvDirectory"));
    EXPECT_FALSE(stringOf(reg, "OrvDirectory"));
    EXPECT_FALSE(reg.deleteValue("OrvDirectory"));
}

TEST_F(RegistryStoreTest, ReadsFollowTheBufferRules) {
    CRegistry reg(store());
    ASSERT_TRUE(reg.createKey(RootKey::CurrentUser, KEY));
    const std::string fits(199, 'a');
    ASSERT_TRUE(reg.writeString("Fits", fits));
    EXPECT_EQ(stringOf(reg, "Fits"), fits);

    // A string too long for the read buffer cannot be stored: it would read as missing.
    EXPECT_FALSE(reg.writeString("Fits", fits + "b"));
    EXPECT_EQ(stringOf(reg, "Fits"), fits);

    // One written by hand is longer than the buffer and counts as missing.
    RegistryStore raw = store();
    ASSERT_TRUE(raw.write(RootKey::CurrentUser, KEY, RegValue::string("Long", std::string(200, 'x'))));
    EXPECT_FALSE(stringOf(reg, "Long"));
    EXPECT_EQ(reg.status(), REG_STATUS_MORE_DATA);

    // A 32-bit read ignores the type but not the size.
    ASSERT_TRUE(raw.write(RootKey::CurrentUser, KEY, RegValue::string("Short", "ab")));
    EXPECT_EQ(dwordOf(reg, "Short"), 0x006261u);
    EXPECT_FALSE(dwordOf(reg, "Fits"));

    // Binary values: REG_BINARY only, at most 4096 bytes either way.
    std::string blob;
    EXPECT_FALSE(reg.readBinary("Short", blob));
    EXPECT_TRUE(reg.writeBinary("Blob", std::string(4096, '\x5a')));
    EXPECT_TRUE(reg.readBinary("Blob", blob));
    EXPECT_EQ(blob.size(), 4096u);
    EXPECT_FALSE(reg.writeBinary("Blob", std::string(4097, '\x5a')));
    EXPECT_TRUE(reg.readBinary("Blob", blob));
    EXPECT_EQ(blob.size(), 4096u);
}

TEST_F(RegistryStoreTest, CallsWithoutAnOpenKeyFail) {
    CRegistry closed(store());
    EXPECT_FALSE(dwordOf(closed, "MPH"));
    EXPECT_EQ(closed.status(), REG_STATUS_INVALID_HANDLE);
    EXPECT_FALSE(closed.writeDword("MPH", 1));
    EXPECT_FALSE(std::filesystem::exists(sandbox.userStoreFile()));
    // A store that exists but cannot be read is never replaced.
    std::filesystem::create_directories(sandbox.userStoreFile() + "/inside");
    EXPECT_FALSE(closed.createKey(RootKey::CurrentUser, KEY));
    EXPECT_EQ(closed.status(), REG_STATUS_WRITE_FAULT);
    EXPECT_TRUE(std::filesystem::is_directory(sandbox.userStoreFile() + "/inside"));
}

TEST_F(RegistryStoreTest, UnreadableStoreIsSetAsideReportedOnceAndReplaced) {
    const std::string garbage = "this is not a settings file\n\"MPH\"=dword:00000001\n";
    testsupport::writeFileText(sandbox.userStoreFile(), garbage);

    CRegistry reg(store());
    EXPECT_FALSE(reg.openKey(RootKey::CurrentUser, KEY));
    const auto notices = takeStoreNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(sandbox.userStoreFile()), std::string::npos);

    std::string aside;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.configDir())) {
        if (entry.path().filename().string().rfind("HKEY_CURRENT_USER.reg.unreadable-", 0) == 0)
            aside = entry.path().string();
    }
    ASSERT_FALSE(aside.empty());
    EXPECT_EQ(readFileText(aside), garbage);

    ASSERT_TRUE(reg.createKey(RootKey::CurrentUser, KEY));
    EXPECT_TRUE(reg.writeDword("MPH", 1));
    EXPECT_TRUE(takeStoreNotices().empty());
    EXPECT_EQ(dwordOf(reg, "MPH"), 1u);
}

TEST_F(RegistryStoreTest, CrashBeforeTheRenameLeavesTheOldStoreWhole) {
    {
        CRegistry reg(store());
        ASSERT_TRUE(reg.createKey(RootKey::CurrentUser, KEY));
        ASSERT_TRUE(reg.writeString("OrvDirectory", "/old/orv"));
    }
    const std::string before = readFileText(sandbox.userStoreFile());

    // A writer that dies after writing its temporary file and before renaming it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile file(sandbox.userStoreFile(), 0600);
        file.write("REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n\"OrvDirectory\"=\"/new/o");
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));

    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.configDir()))
        leftovers += entry.path().filename().string().find(".tmp-") != std::string::npos;
    EXPECT_EQ(leftovers, 1);
    EXPECT_EQ(readFileText(sandbox.userStoreFile()), before);

    CRegistry reg(store());
    ASSERT_TRUE(reg.openKey(RootKey::CurrentUser, KEY));
    EXPECT_EQ(stringOf(reg, "OrvDirectory"), "/old/orv");
    EXPECT_TRUE(reg.writeString("OrvDirectory", "/new/orv"));
    EXPECT_EQ(stringOf(reg, "OrvDirectory"), "/new/orv");
    EXPECT_TRUE(takeStoreNotices().empty());
}

TEST_F(RegistryStoreTest, MachineKeyFallsBackToTheWinePrefixWithoutTouchingIt) {
    const std::string systemReg =
        "WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Sellory\\\\Setup\\\\Orv] 1612345678\n"
        "\"Directory\"=\"C:\\\\Sellory\\\\Orv\"\n";
    testsupport::writeFileText(sandbox.winePrefix() + "/system.reg", systemReg);

    CRegistry reg(store());
    ASSERT_TRUE(reg.openKey(RootKey::LocalMachine, "Software\\Sellory\\Setup\\Orv"));
    EXPECT_EQ(stringOf(reg, "Directory"), "C:\\Sellory\\Orv");
    EXPECT_EQ(reg.lastSource(), sandbox.winePrefix() + "/system.reg");

    // The program's own machine file comes first.
    RegistryStore own = store();
    ASSERT_TRUE(own.write(RootKey::LocalMachine, "Software\\Sellory\\Setup\\Orv", RegValue::string("Directory", "/orv")));
    EXPECT_EQ(stringOf(reg, "Directory"), "/orv");
    EXPECT_EQ(readFileText(sandbox.winePrefix() + "/system.reg"), systemReg);
}

// Dotfile managers keep the settings file elsewhere and link it into the folder.
TEST_F(RegistryStoreTest, StoreBehindALinkIsChangedWhereItLives) {
    testsupport::TempDir kept;
    const std::string real = kept.file("real.reg");
    testsupport::writeFileText(real, "REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n\"MPH\"=dword:00000001\n");
    std::filesystem::create_directories(sandbox.configDir());
    std::filesystem::create_symlink(real, sandbox.userStoreFile());
    CRegistry reg(store());
    ASSERT_TRUE(reg.openKey(RootKey::CurrentUser, KEY));
    ASSERT_TRUE(reg.writeDword("MPH", 0));
    EXPECT_TRUE(std::filesystem::is_symlink(sandbox.userStoreFile()));
    EXPECT_NE(readFileText(real).find("\"MPH\"=dword:00000000"), std::string::npos) << readFileText(real);
}

}  // namespace
