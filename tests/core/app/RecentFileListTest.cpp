#include <gtest/gtest.h>

#include "core/app/RecentFileList.h"
#include "core/platform/Files.h"
#include "support/ConfigSandbox.h"
#include "support/TempDir.h"

using movrane::RecentFileList;

TEST(RecentFileList, NewestFirstWithoutDoublesAndAtMostSeven) {
    testsupport::ConfigSandbox sandbox;
    RecentFileList list;
    for (int i = 1; i <= 9; ++i) list.add("/r/" + std::to_string(i) + ".rpy");
    list.add("/r/5.rpy");
    const std::vector<std::string> expected = {"/r/5.rpy", "/r/9.rpy", "/r/8.rpy", "/r/7.rpy",
                                               "/r/6.rpy", "/r/4.rpy", "/r/3.rpy"};
    EXPECT_EQ(list.files(), expected);
    EXPECT_EQ(RecentFileList().files(), expected);  // kept in the settings store
}

TEST(RecentFileList, StoredAsFileEntriesAndShrinkingLeavesNoOldEntry) {
    testsupport::ConfigSandbox sandbox;
    {
        RecentFileList list;
        list.add("/r/a.rpy");
        list.add("/r/b.rpy");
        list.remove("/r/b.rpy");
        list.add("");
    }
    const std::string store = testsupport::readFileText(sandbox.userStoreFile());
    EXPECT_NE(store.find("[Software\\Movrane\\Movrane\\Recent File List]"), std::string::npos);
    EXPECT_NE(store.find("\"File1\"=\"/r/a.rpy\""), std::string::npos);
    EXPECT_EQ(store.find("\"File2\""), std::string::npos);
    EXPECT_EQ(RecentFileList().files(), std::vector<std::string>{"/r/a.rpy"});
}

TEST(RecentFileList, LongPathsAreKeptAndAFailedSaveNeitherShiftsNorDoubles) {
    testsupport::ConfigSandbox sandbox;
    const std::string longPath = "/r/" + std::string(300, 'l') + ".rpy";
    {
        RecentFileList list;
        list.add("/r/a.rpy");
        list.add("/r/b.rpy");
        list.add(longPath);
    }
    const std::vector<std::string> kept = {longPath, "/r/b.rpy", "/r/a.rpy"};
    EXPECT_EQ(RecentFileList().files(), kept);
    {
        const movrane::FailingWrite fullDisk(1);
        RecentFileList().add("/r/c.rpy");
    }
    EXPECT_EQ(RecentFileList().files(), kept) << "a list that cannot be saved stays as it was";
}
