#include <gtest/gtest.h>

#include "core/platform/RegistryText.h"

namespace {

using namespace movrane;

RegHive parsed(const std::string& text) {
    RegHive hive;
    std::string error;
    EXPECT_TRUE(parseRegistryText(text, hive, error)) << error;
    return hive;
}

TEST(RegistryText, WritesTheRegeditStyle) {
    RegHive hive;
    RegKey& key = hive.findOrAdd("Software\\Movrane\\Movrane\\Settings");
    key.values.push_back(RegValue::dword("MPH", 0));
    key.values.push_back(RegValue::dword("DefaultPlayerIndex", 0xFFFFFFFF));
    key.values.push_back(RegValue::string("OrvDirectory", "C:\\Orv \"1967\""));
    key.values.push_back(RegValue::binary("PB_times", std::string("\x01\xff", 2)));
    EXPECT_EQ(formatRegistryText(hive),
              "REGEDIT4\n\n[Software\\Movrane\\Movrane\\Settings]\n"
              "\"MPH\"=dword:00000000\n"
              "\"DefaultPlayerIndex\"=dword:ffffffff\n"
              "\"OrvDirectory\"=\"C:\\\\Orv \\\"1967\\\"\"\n"
              "\"PB_times\"=hex:01,ff\n");
    // Every kind of value round-trips.
    RegHive every;
    RegKey& everyKey = every.findOrAdd("Software\\X");
    std::string blob;
    for (int i = 0; i < 300; ++i) blob += static_cast<char>(i * 7);
    everyKey.values.push_back(RegValue::binary("Blob", blob));
    everyKey.values.push_back(RegValue::string("Lines", "a\r\nb\\c\xe9"));
    everyKey.values.push_back(RegValue::string("", "default value"));
    everyKey.values.push_back(RegValue{"Odd", 7, std::string("a\0b\0\0", 5)});
    const std::string text = formatRegistryText(every);
    const RegHive back = parsed(text);
    const RegKey* k = back.find("software\\x");
    ASSERT_NE(k, nullptr);
    ASSERT_EQ(k->values.size(), 4u);
    for (const RegValue& v : everyKey.values) {
        const RegValue* r = k->find(v.name);
        ASSERT_NE(r, nullptr) << v.name;
        EXPECT_EQ(r->type, v.type) << v.name;
        EXPECT_EQ(r->data, v.data) << v.name;
    }
    // CR LF line ends and comments are accepted.
    const RegHive crlf = parsed("REGEDIT4\r\n\r\n; hand edited\r\n[K]\r\n\"A\"=dword:0000000a\r\n\"B\"=hex:01,\\\r\n  02\r\n");
    const RegKey* crlfKey = crlf.find("k");
    ASSERT_NE(crlfKey, nullptr);
    EXPECT_EQ(crlfKey->find("a")->data, std::string("\x0a\0\0\0", 4));
    EXPECT_EQ(crlfKey->find("B")->data, std::string("\x01\x02", 2));
    // Wine's system.reg is read leniently.
    const RegHive wine = parseWineRegistryText(
        "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
        "[Software\\\\Sellory\\\\Setup\\\\Orv] 1612345678\n#time=1d7a1b2c3d4e5f6\n"
        "\"Directory\"=\"C:\\\\Sellory\\\\Orv\"\n\"Strange\"=something(9):xx\n"
        "\"Path\"=str(2):\"%ProgramFiles%\\\\Orv\"\n");
    const RegKey* orv = wine.find("Software\\Sellory\\Setup\\Orv");
    ASSERT_NE(orv, nullptr);
    EXPECT_EQ(orv->find("Directory")->data, std::string("C:\\Sellory\\Orv\0", 15));
    EXPECT_EQ(orv->find("Path")->type, REG_EXPAND_SZ);
    EXPECT_EQ(orv->find("Strange"), nullptr);
    // What is not a store file is refused.
    const char* bad[] = {
        "",
        "[K]\n\"A\"=dword:00000001\n",
        "REGEDIT4\n\"A\"=dword:00000001\n",
        "REGEDIT4\n[K]\n\"A\"=dword:1234567890\n",
        "REGEDIT4\n[K]\n\"A\"=\"unterminated\n",
        "REGEDIT4\n[K]\n\"A\"=hex:0g\n",
        "REGEDIT4\n[K]\nA=dword:00000001\n",
        "REGEDIT4\n[K\n",
    };
    for (const char* text : bad) {
        RegHive hive;
        hive.findOrAdd("Untouched");
        std::string error;
        EXPECT_FALSE(parseRegistryText(text, hive, error)) << text;
        EXPECT_FALSE(error.empty());
        EXPECT_NE(hive.find("Untouched"), nullptr) << "a failed parse must not change the hive";
    }
}

TEST(RegistryText, FilesOfThousandsOfKeysAndValues) {
    // Keys and values met again merge as before; such files used to take minutes.
    constexpr int COUNT = 20000;
    std::string store = "REGEDIT4\n", wine;
    for (int n = 0; n < COUNT; ++n) {
        const std::string key = "[Software\\K" + std::to_string(n) + "]\n";
        store += key + "\"v\"=dword:00000001\n\"V" + std::to_string(n) + "\"=\"x\"\n";
        wine += key + "\"v\"=\"a\"\n";
    }
    store += "[software\\k7]\n\"V\"=dword:00000002\n";
    const RegHive hive = parsed(store);
    ASSERT_EQ(hive.keys.size(), static_cast<std::size_t>(COUNT));
    const RegKey& seventh = hive.keys[7];
    EXPECT_EQ(std::tuple(seventh.values.size(), seventh.values[0].data, seventh.values[1].name),
              std::tuple(2u, std::string("\x02\0\0\0", 4), std::string("V7")));
    EXPECT_EQ(parseWineRegistryText(wine + "[Software\\K1]\n\"v\"=\"b\"\n").keys[1].values.size(), 2u)
        << "a key met again in system.reg keeps both values; the first one counts";
}

}  // namespace
