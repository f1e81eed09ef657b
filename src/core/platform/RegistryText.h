#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movrane {

// Value types as the registry numbers them.
enum RegType : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

// One value: its name (empty for the key's default value), its type and its raw bytes.
// A string's bytes include the terminating zero, as the registry stores them.
struct RegValue {
    std::string name;
    uint32_t type = REG_NONE;
    std::string data;

    static RegValue dword(std::string name, uint32_t value);
    static RegValue string(std::string name, std::string_view text);
    static RegValue binary(std::string name, std::string bytes);
};

struct RegKey {
    std::string path;  // backslash-separated, below the root
    std::vector<RegValue> values;

    const RegValue* find(std::string_view name) const;
    RegValue* find(std::string_view name);
};

// All keys of one root, in file order. Key paths and value names match without regard
// to case, as in the registry.
struct RegHive {
    std::vector<RegKey> keys;

    const RegKey* find(std::string_view path) const;
    RegKey* find(std::string_view path);
    RegKey& findOrAdd(std::string_view path);
};

// The program's own store files: "REGEDIT4", then "[key]" sections with lines such as
// "MPH"=dword:00000000, "OrvDirectory"="..." and "PB_times"=hex:01,02,... . Parsing is
// strict: anything else makes the whole file unreadable and `error` tells the line.
bool parseRegistryText(std::string_view text, RegHive& hive, std::string& error);
std::string formatRegistryText(const RegHive& hive);

// A Wine prefix's "system.reg" (keys relative to the machine root, backslashes doubled
// in key names, time stamps and '#' lines). Read leniently: lines that are not
// understood are skipped, because the file belongs to Wine and is never rewritten.
RegHive parseWineRegistryText(std::string_view text);

}  // namespace movrane
