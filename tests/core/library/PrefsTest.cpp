#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "core/library/Prefs.h"
#include "core/platform/CRegistry.h"
#include "support/ConfigSandbox.h"

namespace {

using namespace movrane;
using testsupport::ConfigSandbox;
using testsupport::readFileText;

class PrefsTest : public ::testing::Test {
protected:
    ConfigSandbox sandbox;

    RegistryStore store() const { return RegistryStore(StoreLocations{sandbox.configDir(), sandbox.winePrefix()}); }
};

TEST_F(PrefsTest, FreshStoreCreatesTheKeyAndGivesEveryDefault) {
    const Prefs& prefs = Prefs::get();
    EXPECT_EQ(std::tuple(prefs.speedUnit(), prefs.qualityReportOff(), prefs.retireInRaceReport(),
                         prefs.offTheTrackInRaceReport(), prefs.bmpSizeInPixel(), prefs.defaultPlayerIndex(),
                         prefs.exclusionMessages()),
              std::tuple(0u, 0u, 0u, 0u, 768u, -1, 0u));
    EXPECT_EQ(std::tuple(prefs.orvDirectory(), prefs.altRpyPath(), prefs.recordsPath()), std::tuple("", "", ""));
    EXPECT_FALSE(prefs.programDirectory().empty()) << "the folder of the running program";
    EXPECT_EQ(readFileText(sandbox.userStoreFile()), "REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n");
    EXPECT_EQ(&Prefs::get(), &prefs);
}

TEST_F(PrefsTest, SaveWritesEveryValueInItsOrderAndLoadReadsThemBack) {
    Prefs& prefs = Prefs::get();
    prefs.setSpeedUnit(1);
    prefs.setQualityReportOff(1);
    prefs.setBmpSizeInPixel(1024);
    prefs.setDefaultPlayerIndex(2);
    prefs.setOrvDirectory("/games/orv");
    prefs.setRecordsPath("/srv/records");
    ASSERT_TRUE(prefs.save());
    EXPECT_EQ(readFileText(sandbox.userStoreFile()),
              "REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n"
              "\"OrvDirectory\"=\"/games/orv\"\n"
              "\"DontShowQualReport\"=dword:00000001\n"
              "\"RetireInRaceReport\"=dword:00000000\n"
              "\"OffTheTrackInRaceReport\"=dword:00000000\n"
              "\"BMPSizeInPixel\"=dword:00000400\n"
              "\"MPH\"=dword:00000001\n"
              "\"AltRpyPath\"=\"\"\n"
              "\"RecordsPath\"=\"/srv/records\"\n"
              "\"DefaultPlayerIndex\"=dword:00000002\n"
              "\"VizUzivMsg\"=dword:00000000\n");

    Singleton<Prefs>::reset();
    const Prefs& again = Prefs::get();
    EXPECT_EQ(std::tuple(again.speedUnit(), again.qualityReportOff(), again.bmpSizeInPixel(), again.defaultPlayerIndex(),
                         again.orvDirectory(), again.recordsPath()),
              std::tuple(1u, 1u, 1024u, 2, "/games/orv", "/srv/records"));
}

TEST_F(PrefsTest, InstallationDirectoryFallsBackToTheSimulatorKey) {
    ASSERT_TRUE(store().write(RootKey::LocalMachine, SIMULATOR_KEY, RegValue::string("Directory", "/opt/orv")));
    EXPECT_EQ(Prefs::get().orvDirectory(), "/opt/orv");

    // A stored OrvDirectory wins over the simulator's key.
    Prefs::get().setOrvDirectory("/home/me/orv");
    Prefs::get().save();
    Singleton<Prefs>::reset();
    EXPECT_EQ(Prefs::get().orvDirectory(), "/home/me/orv");
}

TEST_F(PrefsTest, InstallationDirectoryFromAWinePrefixIsMappedIntoIt) {
    std::filesystem::create_directories(sandbox.winePrefix() + "/drive_c/Sellory/Orv");
    testsupport::writeFileText(sandbox.winePrefix() + "/system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Sellory\\\\Setup\\\\Orv] 1612345678\n"
              "\"Directory\"=\"C:\\\\SELLORY\\\\orv\"\n");
    EXPECT_EQ(Prefs::get().orvDirectory(), sandbox.winePrefix() + "/drive_c/Sellory/Orv");
    bool found = false;
    for (const auto& e : Prefs::get().entries()) {
        if (e.name != "OrvDirectory") continue;
        found = true;
        EXPECT_NE(e.origin.find("system.reg"), std::string::npos) << e.origin;
    }
    EXPECT_TRUE(found);
}

TEST_F(PrefsTest, StoredValuesThatCannotBeReadTakeTheirDefaults) {
    RegistryStore raw = store();
    ASSERT_TRUE(raw.write(RootKey::CurrentUser, SETTINGS_KEY, RegValue::string("AltRpyPath", std::string(200, 'a'))));
    ASSERT_TRUE(raw.write(RootKey::CurrentUser, SETTINGS_KEY, RegValue::string("BMPSizeInPixel", "too long")));
    ASSERT_TRUE(raw.write(RootKey::CurrentUser, SETTINGS_KEY, RegValue::dword("DefaultPlayerIndex", 3)));
    const Prefs& prefs = Prefs::get();
    EXPECT_EQ(prefs.altRpyPath(), std::string(200, 'a')) << "a folder is kept whatever its length";
    EXPECT_EQ(prefs.bmpSizeInPixel(), 768u);
    EXPECT_EQ(prefs.defaultPlayerIndex(), 3);
}

TEST_F(PrefsTest, UnreadableStoreGivesDefaultsAndANotice) {
    testsupport::writeFileText(sandbox.userStoreFile(), "[Settings]\nMPH=1\n");
    EXPECT_EQ(Prefs::get().bmpSizeInPixel(), 768u);
    EXPECT_EQ(takeStoreNotices().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(sandbox.userStoreFile()));
    // A replaced instance uses its own store.
    testsupport::TempDir other;
    CRegistry reg(RegistryStore(StoreLocations{other.path().string(), other.file("wine")}));
    ASSERT_TRUE(reg.createKey(RootKey::CurrentUser, SETTINGS_KEY));
    ASSERT_TRUE(reg.writeDword("BMPSizeInPixel", 512));
    Singleton<Prefs>::replace(std::make_unique<Prefs>(RegistryStore(StoreLocations{other.path().string(), ""})));
    EXPECT_EQ(Prefs::get().bmpSizeInPixel(), 512u);
}

TEST_F(PrefsTest, SettingByNameChecksTheTypeAndWritesOneValue) {
    Prefs& prefs = Prefs::get();
    std::string error;
    EXPECT_EQ(prefs.setAndSave("defaultplayerindex", "-1", error), Prefs::SetResult::Done);
    EXPECT_EQ(prefs.setAndSave("MPH", "1", error), Prefs::SetResult::Done);
    EXPECT_EQ(prefs.setAndSave("MPH", "-1", error), Prefs::SetResult::BadValue);
    EXPECT_EQ(prefs.setAndSave("BMPSizeInPixel", "12px", error), Prefs::SetResult::BadValue);
    EXPECT_EQ(prefs.setAndSave("DefaultPlayerIndex", "2147483648", error), Prefs::SetResult::BadValue);
    EXPECT_EQ(prefs.setAndSave("Colour", "red", error), Prefs::SetResult::UnknownName);
    EXPECT_EQ(prefs.speedUnit(), 1u);
    EXPECT_EQ(readFileText(sandbox.userStoreFile()),
              "REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n"
              "\"DefaultPlayerIndex\"=dword:ffffffff\n\"MPH\"=dword:00000001\n");
}

}  // namespace
