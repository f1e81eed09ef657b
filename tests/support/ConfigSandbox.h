#pragma once

#include <optional>
#include <string>

#include "support/TempDir.h"

namespace testsupport {

// Points the settings store and the Wine prefix at fresh folders for the lifetime of
// a test, so no test reads or writes the real ~/.config or ~/.wine, and starts the
// preferences afresh on both ends.
class ConfigSandbox {
public:
    ConfigSandbox();
    ~ConfigSandbox();
    ConfigSandbox(const ConfigSandbox&) = delete;
    ConfigSandbox& operator=(const ConfigSandbox&) = delete;

    std::string configDir() const { return dir_.file("config"); }
    std::string winePrefix() const { return dir_.file("wine"); }
    std::string userStoreFile() const { return dir_.file("config") + "/HKEY_CURRENT_USER.reg"; }
    std::string machineStoreFile() const { return dir_.file("config") + "/HKEY_LOCAL_MACHINE.reg"; }
    // "MOVRANE_CONFIG_DIR='...' WINEPREFIX='...' " for command lines.
    std::string environmentPrefix() const;

private:
    TempDir dir_;
    std::optional<std::string> oldConfig_;
    std::optional<std::string> oldWine_;
};

}  // namespace testsupport
