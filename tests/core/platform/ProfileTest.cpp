#include <gtest/gtest.h>

#include "core/platform/Profile.h"
#include "support/TempDir.h"

namespace {

using movrane::Profile;
using testsupport::readFileText;
using testsupport::TempDir;

TEST(Profile, ReadsValuesLikeTheProfileFunctions) {
    TempDir dir;
    const std::string path = dir.file("a.ini");
    testsupport::writeFileText(path, "top=ignored\n[Season]\nnumEvents = 11 \nname=\"  Quoted  \"\nempty=\n; numEvents=3\n"
                    "[Event1]\ntrackDirectory=HarbourPark\n[season]\nnumEvents=99\n");
    const Profile ini(path);
    EXPECT_EQ(ini.getString("SEASON", "NUMEVENTS", "x", 10), "11");
    EXPECT_EQ(ini.getString("Season", "name", "x", 100), "  Quoted  ");
    EXPECT_EQ(ini.getString("Season", "empty", "x", 100), "");
    EXPECT_EQ(ini.getString("Season", "missing", "default", 100), "default");
    EXPECT_EQ(ini.getString("Nope", "numEvents", "default", 5), "defa");
    EXPECT_EQ(ini.getString("Event1", "trackDirectory", "", 10), "HarbourPa");
    EXPECT_EQ(ini.getString("", "top", "none", 10), "none");
    EXPECT_EQ(ini.getInt("Season", "numEvents", -1), 11);
    EXPECT_EQ(ini.getInt("Season", "name", -1), 0);
    EXPECT_EQ(ini.getInt("Season", "missing", -1), -1);
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"Season", "Event1"}));
    EXPECT_EQ(Profile(dir.file("none.ini")).getString("A", "b", "dflt", 50), "dflt");
    // Every kind of line end, mixed too, and files saved with a byte order mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[A]\r\nb=1\r\n[C]\r\nd=2")) utf16 += std::string{c, '\0'};
    for (const std::string& text : std::vector<std::string>{"[A]\r\nb=1\r\n[C]\r\nd=2", "[A]\nb=1\n[C]\nd=2\n",
                                                         "[A]\rb=1\r[C]\rd=2\r", "[A]\rb=1\n[C]\r\nd=2",
                                                         "\xEF\xBB\xBF[A]\nb=1\n[C]\nd=2", utf16}) {
        testsupport::writeFileText(path, text);
        EXPECT_EQ(std::tuple(ini.getInt("A", "b", 0), ini.getInt("C", "d", 0), ini.sectionNames().size()),
                  std::tuple(1, 2, 2u))
            << text;
    }
    // Decimal rules.
    const std::pair<const char*, int> cases[] = {{"  42abc", 42}, {"-7", -7}, {"+8", 8}, {"abc", 0}, {"", 0},
                                                 {"99999999999999999999", 2147483647},
                                                 {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(movrane::decimalToInt(text), value) << text;
}

TEST(Profile, WriteKeepsForeignLinesAndUsesCrLf) {
    TempDir dir;
    const std::string path = dir.file("67season.ini");
    testsupport::writeFileText(path, "; the season\n[Season]\nnumEvents=2\nFoo=bar ; keep me\n\n[Event1]\nname=One\n");
    Profile ini(path);
    EXPECT_TRUE(ini.writeString("season", "NUMEVENTS", "3"));
    EXPECT_TRUE(ini.writeString("Season", "added", "x"));
    EXPECT_TRUE(ini.writeString("Event2", "name", "Two"));
    EXPECT_EQ(readFileText(path),
              "; the season\r\n[Season]\r\nnumEvents=3\r\nFoo=bar ; keep me\r\nadded=x\r\n\r\n"
              "[Event1]\r\nname=One\r\n[Event2]\r\nname=Two\r\n");
    EXPECT_EQ(ini.getString("Season", "Foo", "", 100), "bar ; keep me");

    EXPECT_TRUE(ini.deleteKey("SEASON", "added"));
    EXPECT_TRUE(ini.deleteSection("event1"));
    EXPECT_TRUE(ini.deleteSection("NotThere"));
    EXPECT_EQ(readFileText(path), "; the season\r\n[Season]\r\nnumEvents=3\r\nFoo=bar ; keep me\r\n\r\n"
                                  "[Event2]\r\nname=Two\r\n");
    // A write creates the file but not its folder, and refuses text that would break the file.
    TempDir fresh;
    Profile nowhere(fresh.file("missing/a.ini"));
    EXPECT_FALSE(nowhere.writeString("A", "b", "c"));
    Profile created(fresh.file("a.ini"));
    ASSERT_TRUE(created.writeString("A", "b", "c"));
    EXPECT_FALSE(created.writeString("A", "b", "two\r\nlines"));
    EXPECT_FALSE(created.writeString("A]x", "b", "c"));
    EXPECT_FALSE(created.writeString("A", "b=c", "d"));
    EXPECT_FALSE(created.writeString("A", " ", "d"));
    EXPECT_EQ(readFileText(fresh.file("a.ini")), "[A]\r\nb=c\r\n");
}

}  // namespace
