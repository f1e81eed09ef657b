#include <gtest/gtest.h>

#include <filesystem>

#include "support/LibraryFixture.h"
#include "core/library/ReplayCDDatabaseCreator.h"
#include "core/library/ReplayDatabase.h"
#include "core/platform/Files.h"
#include "support/ScriptedUi.h"

using namespace movrane;
using testsupport::FakeDrives;
using testsupport::LibraryFixture;
using testsupport::ScriptedUi;
namespace fs = std::filesystem;

namespace {

// A summary in which every carried value differs from its default.
ReplaySummary everyValueSet() {
    const DriverPart d{.firstName = "Bob", .lastName = "Other", .nationalityCode = "GBR", .ai = true,
                       .formulaClass = 3, .carMake = 5, .slot = 7, .carNumber = 12, .nationalityIndex = 9,
                       .laps = {SessionLaps{2, {1000, 83456 | (1u << 28), 90000}, {0, 0, 1}},
                                SessionLaps{1, {500, 84000}, {0, 1}}}};
    ReplaySummary r;
    r.header = {2, 123456, 7200, 88, "Ann", "Example", "harbour", "cars67", 99999, 1, -1, 12, 156};
    r.fileDate = "2002 Dec 07";
    r.lastFrameCounter = 4321;
    r.raceSessionId = 3;
    r.practicePresent = r.racePresent = true;
    r.streamLength = 777;
    r.playerSlot = 1;
    r.drivers = {d, d};
    r.drivers[1].laps[RACE] = {-1, {}, {}};
    return r;
}

void expectSameReplay(const ReplaySummary& a, const ReplaySummary& b) {
    EXPECT_EQ(encodeDatabaseRecord("x", a), encodeDatabaseRecord("x", b));
}

std::string databaseOf(const std::vector<ReplaySummary>& records, uint8_t version = CDDB_VERSION) {
    std::string bytes = encodeDatabaseStart("DISC1 [iso9660]", static_cast<uint32_t>(records.size()), version);
    for (const ReplaySummary& r : records) bytes += encodeDatabaseRecord("races/a.rpy", r, version);
    return bytes;
}

// The replay name the creator is given; cancels when the list is used up.
class Names : public RpyDBFilename {
public:
    std::vector<std::string> answers;
    std::vector<std::string> proposals;
    std::optional<std::string> askName(const std::string& proposed) override {
        proposals.push_back(proposed);
        if (answers.empty()) return std::nullopt;
        std::string name = answers.front();
        answers.erase(answers.begin());
        return name;
    }
};

}  // namespace

TEST(ReplayDatabase, Version2RoundTripsEveryValue) {
    const ReplaySummary written = everyValueSet();
    const DatabaseContents db = decodeDatabase(databaseOf({written}), "disc");
    ASSERT_TRUE(db.magicOk);
    EXPECT_EQ(db.mediumLabel, "DISC1 [iso9660]");
    EXPECT_EQ(db.fileCount, 1u);
    ASSERT_EQ(db.records.size(), 1u);
    const ReplaySummary& read = db.records[0];
    expectSameReplay(read, written);
    EXPECT_EQ(read.header.sessionType, -1);
    EXPECT_EQ(read.drivers[0].laps[PRACTICE].words[1], 83456u | (1u << 28));
    EXPECT_TRUE(read.fromDatabase);
    EXPECT_EQ(read.databaseName, "disc");
    EXPECT_EQ(read.mediumPath, "races/a.rpy");
    EXPECT_EQ(read.mediumLabel, "DISC1 [iso9660]");
    // A truncated file ends its records where it is cut.
    const std::string whole = databaseOf({everyValueSet(), everyValueSet()});
    const std::size_t oneRecord = databaseOf({everyValueSet()}).size();
    for (const std::size_t length : {oneRecord, oneRecord + 1, whole.size() - 1})
        EXPECT_EQ(decodeDatabase(whole.substr(0, length), "d").records.size(), 1u) << length;
    EXPECT_FALSE(decodeDatabase(whole.substr(0, 5), "d").magicOk);
    // Version 1 has no formula byte nor the trailing header values.
    const ReplaySummary v1Written = everyValueSet();
    const std::string v1 = databaseOf({v1Written, v1Written}, 1);
    EXPECT_EQ(v1.size() + 2 * (16 + 2), databaseOf({v1Written, v1Written}).size());
    const DatabaseContents v1Db = decodeDatabase(v1, "old");
    ASSERT_EQ(v1Db.records.size(), 2u);
    EXPECT_EQ(v1Db.records[1].drivers[0].formulaClass, 0);
    EXPECT_EQ(v1Db.records[1].header.playerIndex, 0u);
    EXPECT_EQ(v1Db.records[1].drivers[0].laps[PRACTICE].words, v1Written.drivers[0].laps[PRACTICE].words);
    // The loader walks the files and stops at a wrong magic.
    testsupport::TempDir dir;
    fs::create_directories(dir.path() / "sub");
    writeFileAtomically(dir.file("a.rdb"), databaseOf({everyValueSet()}));
    writeFileAtomically(dir.file("sub/b.RDB"), databaseOf({everyValueSet(), everyValueSet()}));
    writeFileAtomically(dir.file("ignored.txt"), databaseOf({everyValueSet()}));
    ReplayDatabaseLoader loader;
    loader.open(dir.path().string());
    int records = 0;
    while (loader.next()) ++records;
    EXPECT_EQ(records, 3);

    writeFileAtomically(dir.file("a.rdb"), "NOTADB\0" + databaseOf({everyValueSet()}));
    loader.open(dir.path().string());
    EXPECT_FALSE(loader.next());
}

class CreatorTest : public ::testing::Test {
protected:
    CreatorTest() {
        fs::create_directories(medium.path() / "season" / "deep");
        library.addReplay("x.rpy", testsupport::playerRace("harbour", {83456}));
        fs::copy_file(library.replayPath("x.rpy"), medium.path() / "season" / "deep" / "one.RPY");
        fs::copy_file(library.replayPath("x.rpy"), medium.path() / "two.rpy");
        drives.drives = {{"/media/empty", ""}, {medium.path().string(), "DISC1 [iso9660]"}};
    }
    std::string databasePath(const std::string& name) const { return library.dir.file("orv/replay/MOVRN_CDDB/" + name); }

    LibraryFixture library;
    testsupport::TempDir medium;
    FakeDrives drives;
    ScriptedUi ui;
    Names names;
};

TEST_F(CreatorTest, WritesEveryReadableReplayWithItsPathOnTheMedium) {
    writeFileAtomically((medium.path() / "broken.rpy").string(), "YLPR");
    ReplayCDDatabaseCreator creator(library.orv(), drives, ui);
    EXPECT_EQ(creator.entries(), (std::vector<std::string>{"/media/empty [No Disk in Drive]",
                                                            medium.path().string() + " DISC1 [iso9660]"}));
    EXPECT_TRUE(creator.canCreate());
    names.answers = {"disc1"};
    ASSERT_EQ(creator.create(1, names), databasePath("disc1.rdb"));
    EXPECT_EQ(names.proposals, std::vector<std::string>{"DISC1 [iso9660]"});
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text.rfind("The following directory will be created", 0), 0u);
    EXPECT_EQ(ui.messages[1].text, (medium.path() / "broken.rpy").string() + "\r\nFile will not be included in the database.");
    EXPECT_EQ(ui.messages[1].caption, "Error reading replay file - is this a standard Orv replay?");
    EXPECT_EQ(ui.messages[2].text, "The replay CD contained 3 replays,\r\n2 were added to the database.");

    std::string bytes;
    ASSERT_TRUE(readWholeFile(databasePath("disc1.rdb"), bytes));
    const DatabaseContents db = decodeDatabase(bytes, "disc1");
    EXPECT_EQ(db.fileCount, 3u);
    ASSERT_EQ(db.records.size(), 2u);
    EXPECT_EQ(db.records[0].mediumPath, "season/deep/one.RPY");
    EXPECT_EQ(db.records[1].mediumPath, "two.rpy");
    EXPECT_EQ(db.records[1].drivers[0].laps[PRACTICE].words[1], 83456u);
}

TEST_F(CreatorTest, OverwriteNoAsksAgainAndCancelKeepsTheFile) {
    fs::create_directories(databasePath(""));
    writeFileAtomically(databasePath("taken.rdb"), "keep");
    ReplayCDDatabaseCreator creator(library.orv(), drives, ui);
    names.answers = {"taken", "taken"};
    ui.queueYesNoCancel(Ui::Answer::No);
    ui.queueYesNoCancel(Ui::Answer::Cancel);
    EXPECT_FALSE(creator.create(1, names));
    EXPECT_EQ(names.proposals, (std::vector<std::string>{"DISC1 [iso9660]", "taken"}));
    EXPECT_EQ(ui.questions.at(0).text, "File already exists, overwrite?");
    std::string kept;
    readWholeFile(databasePath("taken.rdb"), kept);
    EXPECT_EQ(kept, "keep");
}

TEST_F(CreatorTest, MediumWithoutReadableReplaysGivesTheFileHeaderOnly) {
    fs::remove_all(medium.path() / "season");
    writeFileAtomically((medium.path() / "two.rpy").string(), "garbage");
    ReplayCDDatabaseCreator creator(library.orv(), drives, ui);
    names.answers = {"../escape"};
    ASSERT_EQ(creator.create(1, names), databasePath(".._escape.rdb"));
    EXPECT_EQ(ui.messages.back().text, "The replay CD contained 1 replays,\r\n0 were added to the database.");
    std::string bytes;
    readWholeFile(databasePath(".._escape.rdb"), bytes);
    EXPECT_EQ(bytes, encodeDatabaseStart("DISC1 [iso9660]", 1));

    fs::remove(medium.path() / "two.rpy");
    for (const std::size_t drive : {1, 0}) {  // no replay on the medium, no medium in the drive
        ui.messages.clear();
        EXPECT_FALSE(creator.create(drive, names));
        EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"No replay files found on selected media, aborting..."});
    }
}

TEST_F(CreatorTest, ADatabaseThatCannotBeCreatedStopsBeforeAnyReplayIsRead) {
    writeFileAtomically((medium.path() / "broken.rpy").string(), "YLPR");
    fs::create_directories(databasePath(""));
    ReplayCDDatabaseCreator creator(library.orv(), drives, ui);
    names.answers = {"disc1"};
    const FailingWrite fullDisk(1);
    EXPECT_FALSE(creator.create(1, names));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{"Error creating database file, aborting..."});
    EXPECT_FALSE(fs::exists(databasePath("disc1.rdb")));
}
